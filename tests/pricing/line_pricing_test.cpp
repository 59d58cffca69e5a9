#include "pricing/line_pricing.h"

#include <gtest/gtest.h>

#include "pricing/pricing_changes.h"
#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;
using test::Figures;

// Quantity × price rounded as the company rounds, on both sides; a typed
// amount stays while either figure is zero.
TEST(LinePricing, AmountsRoundSymmetricallyOrKeepTheTypedAmount) {
    struct Case {
        const char* name;
        const char *quantity, *price;
        std::int16_t method;
        const char *before, *amount;
    };
    const Case cases[] = {
        {"thirds round up to a thousand", "3", "333.3333", 5, "0", "1000"},
        {"negative half rounds away from zero", "-2.5", "1", 5, "0", "-3"},
        {"positive half rounds away from zero", "2.5", "1", 5, "0", "3"},
        {"method 0 truncates", "3", "333.3333", 0, "0", "999"},
        {"negative truncates toward zero", "-3", "333.3333", 0, "0", "-999"},
        {"zero quantity keeps the typed amount", "0", "500", 5, "12345", "12345"},
        {"zero price keeps the typed amount", "4", "0", 5, "12345", "12345"},
        {"both set overwrite the typed amount", "4", "500", 5, "12345", "2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PricingFixture f;
        f.company.売上金額丸め方法 = f.company.仕入金額丸め方法 = c.method;
        PricedLine line;
        line.見積数量 = line.仕入数量 = C(c.quantity);
        line.見積単価 = line.仕入単価 = C(c.price);
        line.見積金額 = line.仕入金額 = C(c.before);
        ASSERT_TRUE(SellingAmount(f.rules(), line));
        ASSERT_TRUE(PurchaseAmount(f.rules(), line));
        EXPECT_EQ(Figures({line.見積金額, line.仕入金額}), std::string(c.amount) + "|" + c.amount);
    }
}

TEST(LinePricing, SellingUnitPriceOfOrdinaryLinesFromListPriceRateOrSellingPrice) {
    struct Case {
        const char* name;
        const char *listPrice, *rate, *sellingPrice;
        std::int16_t kind, category;
        const char *before, *price;
        const char* product = "P001";
        std::int16_t lineKind = kLineOrdinary;
    };
    const Case cases[] = {
        {"list price at the rate", "1000", "85", "900", 1, 0, "0", "850"},
        {"rate with decimals", "1234", "33.33", "0", 1, 0, "0", "411.2922"},
        {"rate zero takes the selling price", "1000", "0", "900", 1, 0, "0", "900"},
        {"no list price takes the selling price", "0", "85", "900", 1, 0, "0", "900"},
        {"no prices keep the typed price", "0", "0", "0", 1, 0, "777", "777"},
        {"tax included adds the tax", "0", "0", "900", 2, 0, "0", "990"},
        {"tax included at the previous rate", "0", "0", "900", 2, 2, "0", "972"},
        {"tax included but not taxable", "0", "0", "900", 2, 1, "0", "900"},
        {"no product keeps the typed price", "0", "0", "900", 1, 0, "1", "1", ""},
        {"a subtotal line keeps the typed price", "0", "0", "900", 1, 0, "1", "1", "P001", kLineSubtotal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PricingFixture f;
        f.header.定価掛率 = C(c.rate);
        PricedLine line;
        line.商品コード = c.product;
        line.行区分 = c.lineKind;
        line.商品税抜販売定価 = C(c.listPrice);
        line.商品税抜販売単価 = C(c.sellingPrice);
        line.売上消費税区分 = c.kind;
        line.売上課税区分 = c.category;
        line.見積単価 = C(c.before);
        ASSERT_TRUE(SellingUnitPriceFromProduct(f.rules(), f.header, line));
        EXPECT_EQ(line.見積単価, C(c.price));
    }
}

TEST(LinePricing, PurchaseUnitPriceByCategoryAndKind) {
    struct Case {
        const char* name;
        std::int16_t category, kind;
        const char* price;
    };
    const Case cases[] = {
        {"taxable, included", 0, 2, "550"},       {"taxable, added", 0, 1, "500"},
        {"not taxable", 1, 2, "500"},             {"previous rate, included", 2, 2, "540"},
        {"previous rate, added", 2, 1, "500"},    {"unknown category", 7, 1, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PricingFixture f;
        PricedLine line;
        line.行区分 = kLineSubtotal;  // taken whatever the line kind
        line.商品税抜仕入単価 = C("500");
        line.商品税込仕入単価 = C("550");
        line.仕入課税区分 = c.category;
        line.仕入消費税区分 = c.kind;
        line.仕入単価 = C("1");
        line.仕入先消費税丸め方法 = 0;
        ASSERT_TRUE(PurchaseUnitPriceFromProduct(f.rules(), f.header, line));
        EXPECT_EQ(line.仕入単価, C(c.price));
    }
}

// A typed unit price carries the product's price snapshot along on both sides.
TEST(LinePricing, TypedUnitPriceSnapshotFollowsOnBothSides) {
    struct Case {
        const char* name;
        std::int16_t category, kind;
        const char *withTax, *withoutTax;
    };
    const Case cases[] = {
        {"not taxable", 1, 2, "1100", "1100"},           {"tax included", 0, 2, "1100", "1000"},
        {"tax added", 0, 1, "1210", "1100"},             {"previous rate, included", 2, 2, "1100", "1019"},
        {"previous rate, added", 2, 1, "1188", "1100"},  {"unknown category unchanged", 5, 1, "1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::PricingFixture f;
        PricedLine line;
        line.売上課税区分 = line.仕入課税区分 = c.category;
        line.売上消費税区分 = line.仕入消費税区分 = c.kind;
        line.商品税込販売単価 = line.商品税込仕入単価 = C("1");
        line.商品税抜販売単価 = line.商品税抜仕入単価 = C("1");
        line.見積単価 = line.仕入単価 = C("1100");
        ASSERT_TRUE(FollowTypedSellingUnitPrice(f.rules(), f.header, line));
        ASSERT_TRUE(FollowTypedPurchaseUnitPrice(f.rules(), f.header, line));
        const std::string snapshot = std::string(c.withTax) + "|" + c.withoutTax;
        EXPECT_EQ(Figures({line.商品税込販売単価, line.商品税抜販売単価}), snapshot);
        EXPECT_EQ(Figures({line.商品税込仕入単価, line.商品税抜仕入単価}), snapshot);
    }
}

// A line priced in the other tax kind takes the customer's: added prices gain
// their tax, included ones lose it, a typed amount without a quantity converts
// itself and stays typed (one with a quantity is worked out again and loses
// the mark); lines in the kind already, not taxable or fixed by the product stay.
TEST(ConvertToCustomerTaxKind, ConvertsOnlyLinesTheCustomersKindDecides) {
    struct Case {
        const char* what;
        std::int16_t customerKind, lineKind, category, productKind;
        const char *quantity, *price, *amount;
        const char *priceAfter, *amountAfter;
        bool changed, typedAfter;
    };
    const Case cases[] = {
        {"added gains the tax", kTaxIncluded, kTaxAdded, 0, 0, "3", "1000", "3000", "1100", "3300", true, false},
        {"included loses it, lump sum", kTaxAdded, kTaxIncluded, 0, 0, "0", "1100", "2200", "1000", "2000", true,
         true},
        {"already in the kind", kTaxIncluded, kTaxIncluded, 0, 0, "0", "1100", "0", "1100", "0", false, true},
        {"not taxable", kTaxIncluded, kTaxAdded, kNotTaxable, 0, "0", "1000", "0", "1000", "0", true, true},
        {"fixed by the product", kTaxIncluded, kTaxAdded, 0, kTaxAdded, "0", "1000", "0", "1000", "0", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::PricingFixture f;
        f.company.売上金額丸め方法 = 0;
        f.header.得意先消費税区分 = c.customerKind;
        PricedLine line;
        line.売上消費税区分 = c.lineKind;
        line.売上課税区分 = c.category;
        line.商品売上消費税区分 = c.productKind;
        line.見積数量 = C(c.quantity);
        line.見積単価 = C(c.price);
        line.見積金額 = C(c.amount);
        line.sellingAmountTyped = true;
        ASSERT_TRUE(ConvertToCustomerTaxKind(f.rules(), f.header, line));
        EXPECT_EQ(Figures({line.見積単価, line.見積金額}), std::string(c.priceAfter) + "|" + c.amountAfter);
        EXPECT_EQ(line.changed, c.changed);
        EXPECT_EQ(line.sellingAmountTyped, c.typedAfter);
    }
    // The purchase side converts with the selling side.
    test::PricingFixture f;
    PricedLine line;
    line.売上消費税区分 = line.仕入消費税区分 = kTaxIncluded;
    line.仕入単価 = C("550");
    line.仕入数量 = C("2");
    ASSERT_TRUE(ConvertToCustomerTaxKind(f.rules(), f.header, line));
    EXPECT_EQ(Figures({line.仕入単価, line.仕入金額}), "500|1000");
}

class PricingChanges : public testing::Test {
protected:
    void SetUp() override {
        f.company.売上金額丸め方法 = 0;
        f.company.仕入金額丸め方法 = 0;
        PricedLine& line = f.ordinary(Currency());
        line.商品コード = "P001";
        line.商品税抜販売単価 = C("1000");
        line.商品税抜仕入単価 = C("600");
    }
    PricedLine& line() { return f.lines[0]; }
    // The line's unit price, amount and tax on the selling and on the purchase side.
    std::string selling() { return Figures({line().見積単価, line().見積金額, line().見積消費税}); }
    std::string purchase() { return Figures({line().仕入単価, line().仕入金額, line().仕入消費税}); }
    test::PricingFixture f;
    QuotationPricing pricing{f.company, f.rates};  // reads the settings as the test changes them
};

TEST_F(PricingChanges, ProductEnteredPricesTheLineInFull) {
    line().見積数量 = line().仕入数量 = C("2");
    EXPECT_EQ(pricing.ProductEntered(f.header, f.view(), 0), PricingOutcome::Recomputed);
    EXPECT_EQ(selling(), "1000|2000|200");
    EXPECT_EQ(purchase(), "600|1200|120");
    EXPECT_EQ(f.header.税込見積金額合計, C("2200"));
}

TEST_F(PricingChanges, QuantityOverwritesTypedPurchaseQuantity) {
    pricing.ProductEntered(f.header, f.view(), 0);
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::仕入数量, C("7")), PricingOutcome::Recomputed);
    EXPECT_EQ(line().仕入金額, C("4200"));
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::見積数量, C("3")), PricingOutcome::Recomputed);
    EXPECT_EQ(Figures({line().仕入数量, line().仕入金額, line().見積金額, f.header.仕入金額合計}), "3|1800|3000|1800");
}

TEST_F(PricingChanges, TypingTheSameValueRecomputesNothing) {
    line().見積数量 = C("2");
    line().見積単価 = C("1000");
    line().見積金額 = C("1");  // a figure a recomputation would replace
    for (LineFigure figure : {LineFigure::見積数量, LineFigure::見積単価}) {
        Currency same = figure == LineFigure::見積数量 ? C("2") : C("1000");
        EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, figure, same), PricingOutcome::Unchanged);
    }
    EXPECT_EQ(line().見積金額, C("1"));
    EXPECT_EQ(pricing.EnterCountFlag(f.header, f.view(), 0, 1), PricingOutcome::Unchanged);
    EXPECT_EQ(pricing.EnterLineKind(f.header, f.view(), 0, kLineOrdinary), PricingOutcome::Unchanged);
    EXPECT_EQ(pricing.EnterListPriceRate(f.header, f.view(), Currency()), PricingOutcome::Unchanged);
    EXPECT_EQ(f.header.見積金額合計, Currency());
}

TEST_F(PricingChanges, TypedUnitPriceMarksTheLineAndCarriesTheSnapshot) {
    line().見積数量 = C("2");
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::見積単価, C("1500")), PricingOutcome::Recomputed);
    EXPECT_TRUE(line().changed);
    EXPECT_EQ(Figures({line().商品税抜販売単価, line().商品税込販売単価}), "1500|1650");
    EXPECT_EQ(selling(), "1500|3000|300");
}

TEST_F(PricingChanges, TypedAmountAndTaxStayUntilARecomputation) {
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::見積金額, C("5000")), PricingOutcome::Recomputed);
    EXPECT_EQ(line().見積消費税, C("500"));
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::見積消費税, C("499")), PricingOutcome::Recomputed);
    EXPECT_EQ(Figures({line().見積消費税, f.header.見積消費税合計, f.header.税込見積金額合計}), "499|499|5499");
}

TEST_F(PricingChanges, ListPriceRateRepricesEveryLineButZeroOnlyStores) {
    line().商品税抜販売定価 = C("2000");
    line().見積数量 = C("1");
    line().見積単価 = C("5");
    EXPECT_EQ(pricing.EnterListPriceRate(f.header, f.view(), C("50")), PricingOutcome::Recomputed);
    EXPECT_EQ(line().見積単価, C("1000"));
    EXPECT_EQ(f.header.見積金額合計, C("1000"));
    line().見積単価 = C("5");
    EXPECT_EQ(pricing.EnterListPriceRate(f.header, f.view(), C("0")), PricingOutcome::Recomputed);
    EXPECT_EQ(f.header.定価掛率, C("0"));
    EXPECT_EQ(line().見積単価, C("5"));
}

TEST_F(PricingChanges, CustomerWithoutTaxUntaxesEveryLineOnBothSides) {
    line().見積数量 = line().仕入数量 = C("1");
    pricing.ProductEntered(f.header, f.view(), 0);
    ASSERT_EQ(line().見積消費税, C("100"));
    f.header.得意先消費税算出区分 = kNoTax;
    EXPECT_EQ(pricing.TaxBasisChanged(f.header, f.view()), PricingOutcome::Recomputed);
    EXPECT_EQ(line().売上課税区分, kNotTaxable);
    EXPECT_EQ(line().仕入課税区分, kNotTaxable);
    EXPECT_EQ(Figures({line().見積消費税, line().仕入消費税, f.header.見積消費税合計, f.header.sellingSums.notTaxable}),
              "0|0|0|1000");
}

TEST_F(PricingChanges, CustomerRereadConvertsThenTaxesAgain) {
    line().見積数量 = C("1");
    pricing.ProductEntered(f.header, f.view(), 0);
    f.header.得意先消費税区分 = kTaxIncluded;
    EXPECT_EQ(pricing.CustomerReread(f.header, f.view()), PricingOutcome::Recomputed);
    EXPECT_EQ(line().売上消費税区分, kTaxIncluded);
    EXPECT_EQ(selling(), "1100|1100|100");
    EXPECT_EQ(f.header.税抜見積金額合計, C("1000"));
    // A second reread finds the line in the customer's kind already.
    EXPECT_EQ(pricing.CustomerReread(f.header, f.view()), PricingOutcome::Recomputed);
    EXPECT_EQ(line().見積単価, C("1100"));
}

TEST_F(PricingChanges, OutOfRangeIsReportedAndTheAmountKept) {
    line().見積単価 = C("99999999999");
    line().見積金額 = C("7");
    EXPECT_EQ(pricing.EnterFigure(f.header, f.view(), 0, LineFigure::見積数量, C("99999999999")),
              PricingOutcome::OutOfRange);
    EXPECT_EQ(line().見積金額, C("7"));
    EXPECT_EQ(line().見積数量, C("99999999999"));
}

}  // namespace
}  // namespace velmora
