#include "issue/form_texts.h"

#include "data/sql_text.h"
#include "issue/issue_document.h"
#include "pricing/numeric_formats.h"
#include "pricing/tax.h"

namespace velmora {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000

std::string amountText(Currency amount) {
    return amount.format(DisplayFormat(0));
}

std::string figureText(Currency value, int decimals) {
    return value.format(DisplayFormat(decimals));
}

std::string trimmed(const std::string& text) {
    return TrimBlanks(text);
}

// A line that only carries text: no quantity, price or amount on either side.
bool textOnly(const QuotationLine& line) {
    return line.見積数量.isZero() && line.見積単価.isZero() && line.見積金額.isZero() &&
           line.仕入数量.isZero() && line.仕入単価.isZero() && line.仕入金額.isZero();
}

std::string percentText(Currency rate) {
    std::string text = rate.format("##0.00");
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text + "%";
}

std::string marginText(const IssueDocument& document, std::size_t index) {
    if (index >= document.margins.size() || !document.margins[index]) return {};
    return amountText(*document.margins[index]);
}

// The margin as a percentage of the selling amount without tax, one decimal.
std::string marginRateText(Currency margin, Currency selling) {
    if (selling.isZero()) return "－";
    std::optional<Currency> rate = Currency::Multiply(margin, Units(100));
    if (rate) rate = Currency::Divide(*rate, selling);
    return rate ? rate->format("##0.0") + "%" : "－";
}

std::vector<std::string> customerCells(const IssueDocument& document, const QuotationLine& line,
                                       std::size_t index) {
    const CompanySettings& c = document.letterhead->company;
    std::vector<std::string> cells(6);
    cells[0] = std::to_string(index + 1);
    if (line.行区分 == kLineOrdinary) {
        cells[1] = line.商品名;
        cells[3] = line.見積単位;
        if (!textOnly(line)) {
            cells[2] = figureText(line.見積数量, c.売上数量少数以下桁数);
            cells[4] = figureText(line.見積単価, c.売上単価少数以下桁数);
            cells[5] = amountText(line.見積金額);
        }
    } else {
        cells[1] = SubtotalCaption(line.商品名);
        cells[5] = amountText(line.見積金額);
    }
    return cells;
}

std::vector<std::string> purchaseCells(const IssueDocument& document, const QuotationLine& line,
                                       std::size_t index) {
    const CompanySettings& c = document.letterhead->company;
    std::vector<std::string> cells(9);
    cells[0] = std::to_string(index + 1);
    if (line.行区分 == kLineOrdinary) {
        cells[1] = line.商品名;
        cells[2] = line.仕入先名称A;
        cells[4] = line.仕入単位;
        if (!textOnly(line)) {
            cells[3] = figureText(line.仕入数量, c.仕入数量少数以下桁数);
            cells[5] = figureText(line.仕入単価, c.仕入単価少数以下桁数);
            cells[6] = amountText(line.仕入金額);
            cells[7] = amountText(line.見積金額);
            cells[8] = marginText(document, index);
        }
    } else {
        cells[1] = SubtotalCaption(line.商品名);
        cells[6] = amountText(line.仕入金額);
        cells[7] = amountText(line.見積金額);
        cells[8] = marginText(document, index);
    }
    return cells;
}

}  // namespace

std::string FormTitle(bool purchaseView) {
    return purchaseView ? "見積書（仕入情報）" : "御見積書";
}

std::string FormDate(const std::string& date) {
    if (date.size() != 8 || date.find_first_not_of("0123456789") != std::string::npos) return date;
    return date.substr(0, 4) + "年" + date.substr(4, 2) + "月" + date.substr(6, 2) + "日";
}

std::string PageNumberText(int page, int pages) {
    return std::to_string(page) + " / " + std::to_string(pages);
}

std::vector<std::string> CustomerLines(const QuotationHeader& header) {
    std::vector<std::string> lines;
    for (const std::string* name : {&header.得意先名称A, &header.得意先名称B})
        if (!trimmed(*name).empty()) lines.push_back(trimmed(*name));
    const std::string contact = trimmed(header.御担当者名);
    if (!contact.empty())
        lines.push_back(contact + " 様");
    else if (!lines.empty())
        lines.back() += " 御中";
    return lines;
}

std::vector<std::string> LetterheadLines(const Letterhead& letterhead, const QuotationHeader& header) {
    std::vector<std::string> lines = {letterhead.company.名称};
    if (!letterhead.officeName.empty()) lines.push_back(letterhead.officeName);
    for (std::size_t i = 0; i < letterhead.address.size(); ++i)
        lines.push_back(i == 0 && !letterhead.postcode.empty()
                            ? "〒" + letterhead.postcode + " " + letterhead.address[i]
                            : letterhead.address[i]);
    std::string reach;
    if (!letterhead.phone.empty()) reach = "TEL " + letterhead.phone;
    if (!letterhead.fax.empty()) reach += (reach.empty() ? "" : "  ") + std::string("FAX ") + letterhead.fax;
    if (!reach.empty()) lines.push_back(reach);
    if (!letterhead.registrationNumber.empty()) lines.push_back("登録番号 " + letterhead.registrationNumber);
    if (!trimmed(header.担当者名).empty()) lines.push_back("担当 " + trimmed(header.担当者名));
    return lines;
}

std::vector<CaptionedText> ConditionRows(const QuotationHeader& header) {
    std::vector<CaptionedText> rows = {
        {"件名", header.タイトル},
        {"見積条件", header.見積条件},
        {"納期", header.見積納期},
        {"有効期限", header.見積期限},
    };
    std::string delivery = trimmed(header.納品先名称A);
    if (!trimmed(header.納品先名称B).empty())
        delivery += (delivery.empty() ? "" : " ") + trimmed(header.納品先名称B);
    if (!delivery.empty()) rows.push_back({"納入先", delivery});
    return rows;
}

std::optional<QuotedAmount> QuotedAmountOf(const IssueDocument& document) {
    if (!document.showsTotals()) return std::nullopt;
    const QuotationHeader& h = document.quotation.header;
    if (document.showsTax()) return QuotedAmount{"御見積金額", amountText(h.税込見積金額合計), "円（税込）"};
    return QuotedAmount{"御見積金額", amountText(h.税抜見積金額合計), "円（税抜）"};
}

std::vector<std::string> LineCells(const IssueDocument& document, std::size_t index) {
    const QuotationLine& line = document.quotation.lines[index];
    return document.purchaseView ? purchaseCells(document, line, index)
                                 : customerCells(document, line, index);
}

std::vector<CaptionedText> TotalRows(const IssueDocument& document) {
    std::vector<CaptionedText> rows;
    if (!document.showsTotals()) return rows;
    const QuotationHeader& h = document.quotation.header;
    rows.push_back({"合計金額（税抜）", amountText(h.税抜見積金額合計)});
    if (document.showsTax()) rows.push_back({"消費税額", amountText(h.見積消費税合計)});
    rows.push_back({"合計金額（税込）", amountText(h.税込見積金額合計)});
    if (document.purchaseView) {
        rows.push_back({"仕入金額（税抜）", amountText(h.税抜仕入金額合計)});
        std::optional<Currency> margin = Currency::Subtract(h.税抜見積金額合計, h.税抜仕入金額合計);
        rows.push_back({"粗利", margin ? amountText(*margin) : ""});
        rows.push_back({"粗利率", margin ? marginRateText(*margin, h.税抜見積金額合計) : "－"});
    }
    return rows;
}

TaxRowTexts TaxHeaderTexts() {
    return {"税率区分", "対象額（税抜）", "消費税額", "対象額（税込）"};
}

std::vector<TaxRowTexts> TaxRows(const IssueDocument& document) {
    std::vector<TaxRowTexts> rows;
    for (const TaxSummaryRow& row : document.taxes) {
        std::string caption;
        if (row.category == kNotTaxable)
            caption = "非課税";
        else if (row.category == kTaxablePreviousRate)
            caption = (row.rate ? percentText(*row.rate) : "") + "対象（旧税率）";
        else
            caption = (row.rate ? percentText(*row.rate) : "課税") + "対象";
        rows.push_back({caption, amountText(row.withoutTax), amountText(row.tax), amountText(row.withTax)});
    }
    return rows;
}

std::vector<std::string> RemarkLines(const QuotationHeader& header) {
    std::vector<std::string> lines;
    for (const std::string* remark : {&header.見積伝票備考A, &header.見積伝票備考B})
        if (!trimmed(*remark).empty()) lines.push_back(trimmed(*remark));
    return lines;
}

std::string SubtotalCaption(const std::string& productName) {
    std::string_view caption = productName;
    while (caption.starts_with(kIdeographicSpace) || caption.starts_with(' '))
        caption.remove_prefix(caption.starts_with(' ') ? 1 : kIdeographicSpace.size());
    return std::string(caption);
}

}  // namespace velmora
