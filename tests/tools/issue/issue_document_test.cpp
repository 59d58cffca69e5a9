#include <gtest/gtest.h>

#include <iterator>
#include <optional>

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

// Figures as "1000|-2.5", several of them compared as one value.
std::string Figures(std::initializer_list<Currency> figures) {
    std::string out;
    for (Currency figure : figures) out += (out.empty() ? "" : "|") + figure.format("0.####");
    return out;
}

// A summary row as "category: rate|without tax|tax|with tax" (0 in force, 2 previous, 1 not taxable; "-" no
// rate).
std::string RowText(const TaxSummaryRow& row) {
    return std::to_string(row.category) + ": " + (row.rate ? Figures({*row.rate}) : "-") + "|" +
           Figures({row.withoutTax, row.tax, row.withTax});
}

// One row per rate: the rate in force, the previous one, not taxable; each
// with what its lines come to without tax, their tax and both, adding up to
// the quotation's totals to the yen (a quotation taxed per quotation with the
// correction, tax added, is read back from the issued PDF).
TEST(TaxSummary, RowsPerRateAddUpToTheTotalsToTheYen) {
    struct Case {
        const char* name;
        Customer customer;
        const char* totals;  // without tax, tax, with tax
        std::vector<Typed> lines;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"per line, rounding up, tax included on some lines",
         {kTaxAdded, kTaxPerLine, 9, 0},
         "3279|265|3544",
         {{1, "1001"},
          {1, "1001", "0", kTaxable, kTaxIncluded},
          {1, "777", "0", kTaxablePreviousRate, kTaxIncluded},
          {1, "500", "0", kNotTaxable}},
         {"0: 10|2002|202|2204", "2: 8|777|63|840", "1: -|500|0|500"}},
        {"tax included customer, per quotation with correction",
         {kTaxIncluded, kTaxPerDocument, 5, 1},
         "4015|383|4398",
         {{1, "1100", "0", kTaxable, 0, 3},
          {1, "333", "0", kTaxablePreviousRate, 0, 2},
          {kLineSubtotal},
          {1, "12", "0", kNotTaxable, 0, 4},
          {kLineSubtotal},
          {kLineMiddleTotal}},
         {"0: 10|3300|330|3630", "2: 8|667|53|720", "1: -|48|0|48"}},
        {"only lines that are not taxable",
         {kTaxAdded, kTaxPerDocument, 0, 1},
         "800|0|800",
         {{1, "800", "0", kNotTaxable}},
         {"1: -|800|0|800"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PricedQuotation q(c.customer, c.lines);
        const QuotationHeader& h = q.quotation.header;
        EXPECT_EQ(Figures({h.税抜見積金額合計, h.見積消費税合計, h.税込見積金額合計}), c.totals);
        std::vector<std::string> rows;
        for (const TaxSummaryRow& row : q.document().taxes) rows.push_back(RowText(row));
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(TaxSummary, TextsNameEachRateAndShowTheStoredFigures) {
    PricedQuotation q({kTaxAdded, kTaxPerDocument, 0, 1}, {{1, "1000", "0", kTaxable, 0, 2},
                                                           {1, "500", "0", kTaxablePreviousRate},
                                                           {1, "300", "0", kNotTaxable}});
    IssueDocument d = q.document();
    std::vector<std::string> rows;
    for (const TaxRowTexts& row : TaxRows(d)) rows.push_back(row.caption + "|" + row.withoutTax + "|" + row.tax);
    EXPECT_EQ(rows, (std::vector<std::string>{"10%対象|2,000|200", "8%対象（旧税率）|500|40", "非課税|300|0"}));
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
        EXPECT_EQ((std::vector<size_t>{TotalRows(d).size(), d.taxes.size(), static_cast<size_t>(d.tail.totalRows),
                                       static_cast<size_t>(d.tail.taxRows)}),
                  (std::vector<size_t>{c.totalRows, c.taxRows, c.totalRows, c.taxRows}));
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
    // Both sides without tax; a subtotal's margin is that of the lines it sums.
    const long long expected[] = {800, 750, 1550, -100, -100, 1450, 30, 1480};
    ASSERT_EQ(d.margins.size(), std::size(expected));
    for (size_t i = 0; i < d.margins.size(); ++i) EXPECT_EQ(d.margins[i], Units(expected[i])) << "line " << i;
}

TEST(FormTexts, LinesShowTheirStoredFiguresInTheScreensFormats) {
    // Names, amounts and subtotal captions are read back from the issued PDF.
    PricedQuotation q({}, {{1, "1234.5", "1000", kTaxable, 0, 1234}, {1, "0"}});
    q.quotation.lines[0].見積単位 = "個";
    q.quotation.lines[1].商品名 = "※送料は別途ご相談";
    q.quotation.lines[1].見積数量 = Currency();
    q.quotation.lines[1].仕入数量 = Currency();
    for (bool purchase : {false, true}) {
        SCOPED_TRACE(purchase ? "purchase view" : "customer view");
        IssueDocument d = q.document(purchase);
        const size_t columns = (purchase ? PurchaseColumns() : CustomerColumns()).size();
        std::vector<std::string> ordinary = LineCells(d, 0), text = LineCells(d, 1);
        ASSERT_EQ(ordinary.size(), columns);
        ASSERT_EQ(text.size(), columns);
        EXPECT_EQ(ordinary[0], "1");
        EXPECT_NE(std::find(ordinary.begin(), ordinary.end(), "1,234.00"), ordinary.end())
            << "quantity, two decimals";
        if (!purchase) {
            EXPECT_EQ(ordinary[4], "1,234.50");
        }
        // A line of text alone shows no figures.
        EXPECT_EQ(text[1], "※送料は別途ご相談");
        for (size_t c = 2; c < columns; ++c) EXPECT_EQ(text[c], "") << c;
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
