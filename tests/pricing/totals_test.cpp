#include "pricing/totals.h"

#include <gtest/gtest.h>

#include "pricing/line_tax.h"
#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;
using test::Figures;

TEST(SubtotalLabel, TwentyFiveCharactersOfSpacesAndTheWord) {
    const std::string space = "\u3000";
    auto spaces = [&](int n) {
        std::string s;
        for (int k = 0; k < n; ++k) s += space;
        return s;
    };
    EXPECT_EQ(SubtotalLabel(kLineSubtotal), spaces(21) + "＊小計＊");
    EXPECT_EQ(SubtotalLabel(kLineMiddleTotal), spaces(19) + "＊＊中計＊＊");
    EXPECT_EQ(SubtotalLabel(kLineLargeTotal), spaces(17) + "＊＊＊大計＊＊＊");
    EXPECT_EQ(SubtotalLabel(kLineGrandTotal), spaces(15) + "＊＊＊＊合計＊＊＊＊");
    EXPECT_EQ(SubtotalLabel(kLineOrdinary), "");
}

class Totals : public testing::Test {
protected:
    test::PricingFixture f;
    bool totals() { return ComputeTotals(f.rules(), f.header, f.view()); }
    // The quotation amount of every line in order.
    std::string amounts() {
        std::string out;
        for (const PricedLine& line : f.lines) out += (out.empty() ? "" : "|") + Figures({line.見積金額});
        return out;
    }
    PricedLine& ordinary(const char* amount, const char* tax, const char* quantity = "1") {
        PricedLine& line = f.ordinary(C(amount), C(tax));
        line.見積数量 = C(quantity);
        line.仕入数量 = C(quantity);
        line.仕入金額 = C(amount);
        line.仕入消費税区分 = kTaxAdded;
        return line;
    }
};

TEST_F(Totals, SubtotalMiddleAndGrandTotalMix) {
    ordinary("100", "10");
    ordinary("200", "20");
    f.ofKind(kLineSubtotal);
    ordinary("300", "30");
    f.ofKind(kLineSubtotal);
    f.ofKind(kLineMiddleTotal);
    f.ofKind(kLineGrandTotal);
    ASSERT_TRUE(totals());
    // The 中計 sums both 小計 lines, the 合計 the ordinary lines.
    EXPECT_EQ(amounts(), "100|200|300|300|300|600|600");
    const PricedLine &sub = f.lines[2], &middle = f.lines[5], &grand = f.lines[6];
    EXPECT_EQ(Figures({sub.見積消費税, sub.見積数量, sub.仕入金額, middle.見積消費税, grand.仕入数量}),
              "30|2|300|60|3");
    const PricedHeader& h = f.header;
    EXPECT_EQ(Figures({h.見積金額合計, h.税抜見積金額合計, h.見積消費税合計, h.税込見積金額合計, h.見積数量合計,
                       h.仕入金額合計}),
              "600|600|60|660|3|600");
}

TEST_F(Totals, MiddleTotalWithoutSubtotalsSumsToZero) {
    ordinary("100", "10");
    f.ofKind(kLineSubtotal);
    f.ofKind(kLineMiddleTotal);
    ordinary("500", "50");
    PricedLine& second = f.ofKind(kLineMiddleTotal);
    second.見積金額 = C("999");
    ASSERT_TRUE(totals());
    EXPECT_EQ(amounts(), "100|100|100|500|0");
}

TEST_F(Totals, LinesThatDoNotCountAreLeftOutEverywhere) {
    ordinary("100", "10");
    PricedLine& excluded = ordinary("5000", "500");
    excluded.計区分 = 0;
    f.ofKind(kLineSubtotal);
    f.ofKind(kLineGrandTotal);
    ASSERT_TRUE(totals());
    EXPECT_EQ(amounts(), "100|5000|100|100");
    EXPECT_EQ(Figures({f.header.見積金額合計, f.header.仕入金額合計}), "100|100");
}

TEST_F(Totals, SetLineKindRules) {
    ordinary("100", "10");
    ordinary("200", "20");
    PricedLine& large = f.ofKind(kLineLargeTotal);
    large.見積金額 = C("777");
    large.計区分 = 1;
    ASSERT_TRUE(SetLineKind(f.header, f.view(), 2));
    EXPECT_EQ(f.lines[2].見積金額, C("777"));  // too high up to have 中計 lines to sum
    EXPECT_EQ(f.lines[2].計区分, 0);
    EXPECT_EQ(f.lines[2].商品名, SubtotalLabel(kLineLargeTotal));
    EXPECT_EQ(f.lines[2].売上課税区分, kTaxable);
    f.lines[2].行区分 = kLineSubtotal;
    ASSERT_TRUE(SetLineKind(f.header, f.view(), 2));
    EXPECT_EQ(f.lines[2].見積金額, C("300"));
    f.lines[1].行区分 = kLineSubtotal;  // the second line has one to sum already
    ASSERT_TRUE(SetLineKind(f.header, f.view(), 1));
    EXPECT_EQ(f.lines[1].見積金額, C("100"));
    f.lines[2].行区分 = kLineOrdinary;
    ASSERT_TRUE(SetLineKind(f.header, f.view(), 2));
    EXPECT_EQ(f.lines[2].計区分, 1);
}

TEST_F(Totals, SubtotalOnTheFirstLineKeepsItsFiguresUntilTotals) {
    PricedLine& first = f.ofKind(kLineGrandTotal);
    first.見積金額 = C("50");
    ASSERT_TRUE(SetLineKind(f.header, f.view(), 0));
    EXPECT_EQ(f.lines[0].見積金額, C("50"));
    ASSERT_TRUE(totals());
    EXPECT_EQ(f.lines[0].見積金額, C("0"));
}

TEST_F(Totals, WorkingSumsByCategoryAndKind) {
    ordinary("100", "10");
    PricedLine& included = ordinary("220", "20");
    included.売上消費税区分 = kTaxIncluded;
    PricedLine& previous = ordinary("1000", "80");
    previous.売上課税区分 = kTaxablePreviousRate;
    PricedLine& previousIncluded = ordinary("1080", "80");
    previousIncluded.売上課税区分 = kTaxablePreviousRate;
    previousIncluded.売上消費税区分 = kTaxIncluded;
    PricedLine& untaxed = ordinary("40", "0");
    untaxed.売上課税区分 = kNotTaxable;
    untaxed.売上消費税区分 = kTaxIncluded;
    ASSERT_TRUE(totals());
    const TaxBaseSums& s = f.header.sellingSums;
    EXPECT_EQ(Figures({s.addedAtRate, s.includedAtRate, s.addedAtPreviousRate, s.includedAtPreviousRate, s.notTaxable}),
              "100|220|1000|1080|40");
    EXPECT_EQ(Figures({f.header.税抜見積金額合計, f.header.税込見積金額合計, f.header.purchaseSums.addedAtRate}),
              "2340|2530|2440");
}

// Three equal lines taxed per line, then the quotation's own tax and its
// correction on the first line; a second run corrects nothing more.
TEST(DocumentTax, PerQuotationAndTheCorrection) {
    struct Case {
        const char* name;
        std::int16_t unit, adjustment;
        const char *amount, *lineTax;
        // The quotation's tax, the first and second line's tax, the tax total and the total with tax.
        const char* totals;
    };
    const Case cases[] = {
        {"thirds of 333 need no correction", 2, 1, "333", "33", "99|33|33|99|1098"},
        {"thirds of 335 correct the first line", 2, 1, "335", "33", "100|34|33|100|1105"},
        {"without adjustment nothing moves", 2, 0, "335", "33", "100|33|33|99|1104"},
        {"per line the quotation's tax is the line sum", 1, 1, "335", "33", "99|33|33|99|1104"},
        {"a customer without tax", 0, 1, "335", "0", "0|0|0|0|1005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PricingFixture f;
        f.header.得意先消費税算出区分 = c.unit;
        f.header.得意先消費税端数調整区分 = c.adjustment;
        for (int k = 0; k < 3; ++k) {
            PricedLine& line = f.ordinary(C(c.amount));
            ASSERT_TRUE(SellingLineTax(f.rules(), f.header, line));
            EXPECT_EQ(line.見積消費税, C(c.lineTax));
        }
        for (int run = 0; run < 2; ++run) {
            ASSERT_TRUE(ComputeTotals(f.rules(), f.header, f.view()));
            EXPECT_EQ(Figures({f.header.DocTax, f.lines[0].見積消費税, f.lines[1].見積消費税, f.header.見積消費税合計,
                               f.header.税込見積金額合計}),
                      c.totals)
                << run;
        }
    }
}

TEST_F(Totals, CorrectionOnATaxIncludedLineLowersTheNetTotal) {
    f.header.得意先消費税算出区分 = kTaxPerDocument;
    f.header.得意先消費税端数調整区分 = 1;
    for (int k = 0; k < 3; ++k) {
        PricedLine& line = ordinary("335", "30");  // 335 * 10 / 110 = 30.45
        line.売上消費税区分 = kTaxIncluded;
    }
    ASSERT_TRUE(totals());
    // The quotation's tax is 1005 * 10 / 110 = 91.36.
    EXPECT_EQ(Figures({f.header.DocTax, f.lines[0].見積消費税, f.header.税抜見積金額合計, f.header.税込見積金額合計}),
              "91|31|914|1005");
}

TEST_F(Totals, FirstAmountOnASubtotalLineStillCorrectsAnOrdinaryLine) {
    f.header.得意先消費税端数調整区分 = 1;
    PricedLine& stale = f.ofKind(kLineLargeTotal);
    stale.見積金額 = C("500");
    ordinary("0", "0");
    PricedLine& excluded = ordinary("200", "20");
    excluded.計区分 = 0;
    ordinary("335", "33");
    f.header.DocTax = C("40");
    f.header.見積消費税合計 = C("33");
    ASSERT_TRUE(CorrectDocumentTax(f.header, f.view()));
    EXPECT_EQ(Figures({f.lines[0].見積消費税, f.lines[2].見積消費税, f.lines[3].見積消費税, f.header.見積消費税合計}),
              "0|20|40|40");
}

TEST_F(Totals, NoAmountAnywhereLeavesTheLineTaxTotal) {
    f.header.得意先消費税端数調整区分 = 1;
    ordinary("0", "3");
    f.header.DocTax = C("0");
    f.header.見積消費税合計 = C("3");
    ASSERT_TRUE(CorrectDocumentTax(f.header, f.view()));
    EXPECT_EQ(f.header.見積消費税合計, C("3"));
}

TEST_F(Totals, OverflowChangesNothing) {
    ordinary("100", "10");
    f.ofKind(kLineSubtotal);
    PricedLine& huge = ordinary("900000000000000", "0");
    huge.仕入金額 = C("0");
    ordinary("900000000000000", "0").仕入金額 = C("0");
    PricedLine& grand = f.ofKind(kLineGrandTotal);
    grand.見積金額 = C("42");
    f.header.見積金額合計 = C("7");
    EXPECT_FALSE(totals());
    EXPECT_EQ(f.header.見積金額合計, C("7"));
    // The 小計 was restored, not left half done.
    EXPECT_EQ(amounts(), "100|0|900000000000000|900000000000000|42");
}

TEST(TotalsDisplay, TotalsAndTaxesShownBySwitches) {
    PricedHeader header;
    header.見積数量合計 = Units(3);
    header.税抜見積金額合計 = Units(1000);
    header.税込見積金額合計 = Units(1100);
    header.見積消費税合計 = Units(100);
    header.仕入消費税合計 = Units(60);
    header.税込仕入金額合計 = Units(660);
    // The quantity, the quotation's tax, the purchase tax, the total with tax and the purchase total with tax.
    auto shown = [&] {
        const ShownTotals t = TotalsToShow(header);
        return Figures({t.見積数量合計, t.見積消費税合計, t.仕入消費税合計, t.税込見積金額合計, t.税込仕入金額合計});
    };
    EXPECT_EQ(shown(), "3|100|60|1100|660");
    header.消費税表示区分 = 0;
    EXPECT_EQ(shown(), "3|0|0|1100|660");
    EXPECT_EQ(LineTaxToShow(header, Units(5)), Currency());
    header.合計表示区分 = 0;
    header.消費税表示区分 = 1;
    EXPECT_EQ(shown(), "0|0|0|0|0");
    EXPECT_EQ(LineTaxToShow(header, Units(5)), Units(5));
}

}  // namespace
}  // namespace velmora
