#include <gtest/gtest.h>

#include <map>

#include "issue/form_texts.h"
#include "issue/issue_document.h"
#include "pricing/pricing_changes.h"
#include "pricing/tax.h"

namespace velmora {
namespace {

// A line as typed: product price and tax settings, quantity; or a subtotal of a kind.
struct Typed {
    std::int16_t kind = kLineOrdinary;
    const char* price = "0";
    const char* cost = "0";
    std::int16_t category = kTaxable;  // the product's 売上課税区分
    std::int16_t taxKind = 0;          // the product's 売上消費税区分; 0 the customer's
    int quantity = 1;
};

struct Customer {
    std::int16_t taxKind = kTaxAdded;
    std::int16_t unit = kTaxPerDocument;
    std::int16_t rounding = 0;
    std::int16_t correction = 0;
};

class PricedQuotation {
  public:
    PricedQuotation(const Customer& customer, const std::vector<Typed>& typed,
                    const char* date = "20261201") {
        company.売上数量少数以下桁数 = 2;
        company.売上単価少数以下桁数 = 2;
        company.仕入数量少数以下桁数 = 2;
        company.仕入単価少数以下桁数 = 2;
        rates.Assign({{"19970401", Units(5)}, {"20140401", Units(8)}, {"20191001", Units(10)}});
        letterhead.company = company;
        QuotationHeader& h = quotation.header;
        h.営業見積日付 = date;
        h.得意先消費税区分 = customer.taxKind;
        h.得意先消費税算出区分 = customer.unit;
        h.得意先消費税丸め方法 = customer.rounding;
        h.得意先消費税端数調整区分 = customer.correction;
        quotation.lines.resize(typed.size());
        QuotationPricing pricing(company, rates);
        PricedLines lines(quotation.lines.data(), quotation.lines.size());
        for (size_t i = 0; i < typed.size(); ++i) {
            QuotationLine& line = quotation.lines[i];
            const Typed& t = typed[i];
            if (t.kind != kLineOrdinary) {
                line.行区分 = kLineUnset;
                pricing.EnterLineKind(h, lines, i, t.kind);
                continue;
            }
            line.商品コード = "P" + std::to_string(i);
            line.商品名 = "品目" + std::to_string(i + 1);
            line.商品売上課税区分 = t.category;
            line.商品売上消費税区分 = t.taxKind;
            line.商品仕入課税区分 = kTaxable;
            line.商品仕入消費税区分 = kTaxAdded;
            line.商品税抜販売単価 = *Currency::Parse(t.price);
            line.商品税抜仕入単価 = *Currency::Parse(t.cost);
            line.商品税込仕入単価 = *Currency::Parse(t.cost);
            pricing.ProductEntered(h, lines, i);
            pricing.EnterFigure(h, lines, i, LineFigure::見積数量, Units(t.quantity));
        }
        pricing.Totals(h, lines);
    }
    IssueDocument document(bool purchaseView = false) const {
        return PrepareDocument(letterhead, quotation, rates, purchaseView);
    }

    CompanySettings company;
    TaxRateTable rates;
    Letterhead letterhead;
    IssuedQuotation quotation;
};

Currency sum(const std::vector<TaxSummaryRow>& rows, Currency TaxSummaryRow::*member) {
    Currency total;
    for (const TaxSummaryRow& row : rows) total.add(row.*member);
    return total;
}

TEST(TaxSummary, RowsPerRateAddUpToTheTotalsToTheYen) {
    struct Case {
        const char* name;
        Customer customer;
        std::vector<Typed> lines;
    };
    const Case cases[] = {
        {"per quotation with correction, two rates",
         {kTaxAdded, kTaxPerDocument, 0, 1},
         {{1, "335"},
          {1, "335"},
          {1, "335", "0", kTaxablePreviousRate},
          {kLineSubtotal},
          {1, "1234.5", "0", kTaxable, 0, 3},
          {1, "99.99", "0", kTaxablePreviousRate, 0, 7},
          {kLineGrandTotal}}},
        {"per line, rounding up, tax included on some lines",
         {kTaxAdded, kTaxPerLine, 9, 0},
         {{1, "1001"},
          {1, "1001", "0", kTaxable, kTaxIncluded},
          {1, "777", "0", kTaxablePreviousRate, kTaxIncluded},
          {1, "500", "0", kNotTaxable}}},
        {"tax included customer, per quotation with correction",
         {kTaxIncluded, kTaxPerDocument, 5, 1},
         {{1, "1100", "0", kTaxable, 0, 3},
          {1, "333", "0", kTaxablePreviousRate, 0, 2},
          {kLineSubtotal},
          {1, "12", "0", kNotTaxable, 0, 4},
          {kLineSubtotal},
          {kLineMiddleTotal}}},
        {"only lines that are not taxable",
         {kTaxAdded, kTaxPerDocument, 0, 1},
         {{1, "800", "0", kNotTaxable}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PricedQuotation q(c.customer, c.lines);
        const QuotationHeader& h = q.quotation.header;
        ASSERT_FALSE(h.税抜見積金額合計.isZero());
        IssueDocument d = q.document();
        EXPECT_EQ(sum(d.taxes, &TaxSummaryRow::withoutTax), h.税抜見積金額合計);
        EXPECT_EQ(sum(d.taxes, &TaxSummaryRow::tax), h.見積消費税合計);
        EXPECT_EQ(sum(d.taxes, &TaxSummaryRow::withTax), h.税込見積金額合計);
        // Each rate's tax is the tax of its own lines.
        std::map<std::int16_t, Currency> lineTax;
        for (const QuotationLine& line : q.quotation.lines)
            if (line.行区分 == kLineOrdinary && line.計区分 == 1)
                lineTax[line.売上課税区分].add(line.見積消費税);
        ASSERT_EQ(d.taxes.size(), lineTax.size());
        for (const TaxSummaryRow& row : d.taxes) {
            EXPECT_EQ(row.tax, lineTax[row.category]) << row.category;
            EXPECT_EQ(row.withTax, *Currency::Add(row.withoutTax, row.tax));
            if (row.category == kTaxable) {
                EXPECT_EQ(row.rate, Units(10));
            }
            if (row.category == kTaxablePreviousRate) {
                EXPECT_EQ(row.rate, Units(8));
            }
            if (row.category == kNotTaxable) {
                EXPECT_FALSE(row.rate);
            }
        }
        for (size_t i = 1; i < d.taxes.size(); ++i)
            EXPECT_LT(d.taxes[i - 1].category == kNotTaxable ? 3 : d.taxes[i - 1].category,
                      d.taxes[i].category == kNotTaxable ? 3 : d.taxes[i].category)
                << "rate in force, previous rate, not taxable";
    }
}

TEST(TaxSummary, TextsNameEachRateAndShowTheStoredFigures) {
    PricedQuotation q({kTaxAdded, kTaxPerDocument, 0, 1}, {{1, "1000", "0", kTaxable, 0, 2},
                                                           {1, "500", "0", kTaxablePreviousRate},
                                                           {1, "300", "0", kNotTaxable}});
    IssueDocument d = q.document();
    const std::vector<TaxRowTexts> rows = TaxRows(d);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].caption, "10%対象");
    EXPECT_EQ(rows[1].caption, "8%対象（旧税率）");
    EXPECT_EQ(rows[2].caption, "非課税");
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].withoutTax, d.taxes[i].withoutTax.format("#,###,###,##0"));
        EXPECT_EQ(rows[i].tax, d.taxes[i].tax.format("#,###,###,##0"));
    }
    // Before the second rate came in there is no previous rate to name.
    PricedQuotation early({kTaxAdded, kTaxPerDocument, 0, 1}, {{1, "500", "0", kTaxablePreviousRate}},
                          "19960101");
    EXPECT_EQ(TaxRows(early.document()).front().caption, "対象（旧税率）");
}

TEST(TaxSummary, HiddenTaxesAndTotalsLeaveTheirPartsOut) {
    struct Case {
        std::int16_t totals, taxes;
        size_t totalRows, taxRows;
        bool quoted;
    };
    const Case cases[] = {{1, 1, 3, 1, true}, {1, 0, 2, 0, true}, {0, 1, 0, 0, false}, {0, 0, 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.totals) + "/" + std::to_string(c.taxes));
        PricedQuotation q({}, {{1, "1000"}});
        q.quotation.header.合計表示区分 = c.totals;
        q.quotation.header.消費税表示区分 = c.taxes;
        IssueDocument d = q.document();
        EXPECT_EQ(TotalRows(d).size(), c.totalRows);
        EXPECT_EQ(d.taxes.size(), c.taxRows);
        EXPECT_EQ(d.tail.totalRows, static_cast<int>(c.totalRows));
        EXPECT_EQ(d.tail.taxRows, static_cast<int>(c.taxRows));
        EXPECT_EQ(QuotedAmountOf(d).has_value(), c.quoted);
    }
}

TEST(PurchaseView, MarginsOfSubtotalsAreTheMarginsOfTheLinesTheySum) {
    PricedQuotation q({kTaxIncluded, kTaxPerLine, 0, 0}, {{1, "1100", "700", kTaxable, 0, 2},
                                                          {1, "550", "300", kTaxable, kTaxAdded, 3},
                                                          {kLineSubtotal},
                                                          {1, "2000", "2100", kTaxablePreviousRate, 0, 1},
                                                          {kLineSubtotal},
                                                          {kLineMiddleTotal},
                                                          {1, "10", "4", kNotTaxable, 0, 5},
                                                          {kLineGrandTotal}});
    IssueDocument d = q.document(true);
    const std::vector<QuotationLine>& lines = q.quotation.lines;
    ASSERT_EQ(d.margins.size(), lines.size());
    auto margin = [&](size_t i) { return d.margins[i].value(); };
    auto net = [](Currency amount, Currency tax, std::int16_t kind) {
        return kind == kTaxIncluded ? *Currency::Subtract(amount, tax) : amount;
    };
    for (size_t i : {0u, 1u, 3u, 6u})
        EXPECT_EQ(margin(i),
                  *Currency::Subtract(net(lines[i].見積金額, lines[i].見積消費税, lines[i].売上消費税区分),
                                      net(lines[i].仕入金額, lines[i].仕入消費税, lines[i].仕入消費税区分)))
            << "line " << i << ": both sides without tax";
    EXPECT_EQ(margin(2), *Currency::Add(margin(0), margin(1)));
    EXPECT_EQ(margin(4), margin(3));
    EXPECT_EQ(margin(5), *Currency::Add(margin(2), margin(4)));
    const QuotationHeader& h = q.quotation.header;
    EXPECT_EQ(margin(7), *Currency::Subtract(h.税抜見積金額合計, h.税抜仕入金額合計))
        << "the grand total's margin is the margin of the header totals";
    const std::vector<CaptionedText> totals = TotalRows(d);
    ASSERT_GE(totals.size(), 5u);
    EXPECT_EQ(totals[totals.size() - 2].caption, "粗利");
    EXPECT_EQ(totals[totals.size() - 2].text, margin(7).format("#,###,###,##0"));
}

TEST(FormTexts, LinesShowTheirStoredFiguresInTheScreensFormats) {
    PricedQuotation q({}, {{1, "1234.5", "1000", kTaxable, 0, 1234}, {1, "0"}, {kLineSubtotal}});
    q.quotation.lines[0].見積単位 = "個";
    q.quotation.lines[1].商品名 = "※送料は別途ご相談";
    q.quotation.lines[1].見積数量 = Currency();
    q.quotation.lines[1].仕入数量 = Currency();
    for (bool purchase : {false, true}) {
        SCOPED_TRACE(purchase ? "purchase view" : "customer view");
        IssueDocument d = q.document(purchase);
        const size_t columns = (purchase ? PurchaseColumns() : CustomerColumns()).size();
        std::vector<std::string> ordinary = LineCells(d, 0), text = LineCells(d, 1),
                                 subtotal = LineCells(d, 2);
        ASSERT_EQ(ordinary.size(), columns);
        ASSERT_EQ(text.size(), columns);
        ASSERT_EQ(subtotal.size(), columns);
        EXPECT_EQ(ordinary[0], "1");
        EXPECT_EQ(ordinary[1], q.quotation.lines[0].商品名);
        const std::string amount = q.quotation.lines[0].見積金額.format("#,###,###,##0");
        EXPECT_NE(std::find(ordinary.begin(), ordinary.end(), amount), ordinary.end()) << amount;
        EXPECT_NE(std::find(ordinary.begin(), ordinary.end(), "1,234.00"), ordinary.end())
            << "quantity, two decimals";
        if (!purchase) {
            EXPECT_EQ(ordinary[4], "1,234.50");
        }
        // A line of text alone shows no figures.
        EXPECT_EQ(text[1], "※送料は別途ご相談");
        for (size_t c = 2; c < columns; ++c) EXPECT_EQ(text[c], "") << c;
        // The subtotal's caption without the spaces that right-align it on the screen.
        EXPECT_EQ(subtotal[1], "＊小計＊");
        EXPECT_NE(std::find(subtotal.begin(), subtotal.end(),
                            q.quotation.lines[2].見積金額.format("#,###,###,##0")),
                  subtotal.end());
    }
}

TEST(FormTexts, TheAddresseeIsGreetedByContactOrAsACompany) {
    struct Case {
        const char* nameA;
        const char* nameB;
        const char* contact;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"株式会社千代田製作所", "", "鈴木 大輔", {"株式会社千代田製作所", "鈴木 大輔 様"}},
        {"有限会社関東商事", "名古屋営業所", "", {"有限会社関東商事", "名古屋営業所 御中"}},
        {"  光洋物産株式会社  ", "  ", "  ", {"光洋物産株式会社 御中"}},
        {"", "", "", {}},
    };
    for (const Case& c : cases) {
        QuotationHeader h;
        h.得意先名称A = c.nameA;
        h.得意先名称B = c.nameB;
        h.御担当者名 = c.contact;
        EXPECT_EQ(CustomerLines(h), c.lines) << c.nameA;
    }
    EXPECT_EQ(FormDate("20261201"), "2026年12月01日");
    EXPECT_EQ(FormDate("2026"), "2026");
    EXPECT_EQ(PageNumberText(3, 25), "3 / 25");
}

TEST(FormTexts, TheLetterheadCarriesTheRegistrationNumberOfTheIssuer) {
    Letterhead l;
    l.company.名称 = "株式会社ミツワ商事";
    l.officeName = "東京支店";
    l.postcode = "105-0013";
    l.address = {"東京都港区浜松町一丁目", "12番3号"};
    l.phone = "03-5401-2260";
    l.registrationNumber = "T1010001098765";
    QuotationHeader h;
    h.担当者名 = "山田 健一";
    EXPECT_EQ(LetterheadLines(l, h),
              (std::vector<std::string>{"株式会社ミツワ商事", "東京支店", "〒105-0013 東京都港区浜松町一丁目",
                                        "12番3号", "TEL 03-5401-2260", "登録番号 T1010001098765",
                                        "担当 山田 健一"}));
}

}  // namespace
}  // namespace velmora
