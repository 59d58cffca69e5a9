#include "pricing/tax.h"

#include <gtest/gtest.h>

#include "pricing/line_tax.h"
#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;

TEST(ComputeTax, GivesTheExactTax) {
    struct Case {
        const char* name;
        const char* amount;
        std::int16_t kind, method, position;
        const char* date;
        std::int16_t previous;
        const char* tax;
    };
    const Case cases[] = {
        {"added truncates", "1234", 1, 0, 0, "20240401", 0, "123"},
        {"added method 5 stays below half", "1234", 1, 5, 0, "20240401", 0, "123"},
        {"added method 5 rounds half up", "1235", 1, 5, 0, "20240401", 0, "124"},
        {"included tax", "1100", 2, 0, 0, "20240401", 0, "100"},
        {"included repeating quotient", "1000", 2, 9, 0, "20240401", 0, "91"},
        {"method 9 raises every tenth at tens", "12310", 1, 9, 1, "20240401", 0, "1240"},
        {"method 9 below one tenth stays", "12300", 1, 9, 1, "20240401", 0, "1230"},
        {"hundreds position", "123456", 1, 5, 2, "20240401", 0, "12300"},
        {"negative mirrors positive", "-1235", 1, 5, 0, "20240401", 0, "-124"},
        {"negative truncates toward zero", "-1234", 1, 0, 0, "20240401", 0, "-123"},
        {"negative method 9", "-12310", 1, 9, 1, "20240401", 0, "-1240"},
        {"negative included", "-1100", 2, 0, 0, "20240401", 0, "-100"},
        {"rate in force on its first day", "1000", 1, 0, 0, "20191001", 0, "100"},
        {"day before a change", "1000", 1, 0, 0, "20190930", 0, "80"},
        {"previous rate", "1000", 1, 0, 0, "20240401", 1, "80"},
        {"previous rate included", "1080", 2, 0, 0, "20240401", 1, "80"},
        {"before the first rate", "1000", 1, 0, 0, "19890331", 0, "0"},
        {"previous before the second rate", "1000", 1, 0, 0, "19970331", 1, "0"},
        {"unknown kind", "1000", 3, 0, 0, "20240401", 0, "0"},
        {"negative position is whole yen", "1235", 1, 5, -1, "20240401", 0, "124"},
        {"fractional amount", "0.5", 1, 9, 0, "20240401", 0, "0"},
    };
    const TaxRateTable rates = test::JapaneseRates();
    for (const Case& c : cases) {
        EXPECT_EQ(ComputeTax(rates, C(c.amount), c.kind, {c.method, c.position}, c.date, c.previous), C(c.tax))
            << c.name;
    }
}

TEST(ComputeTax, EmptyRateTableGivesNoTax) {
    TaxRateTable none;
    EXPECT_EQ(*ComputeTax(none, C("1000"), 1, {}, "20240401", 0), Currency());
}

TEST(ComputeTax, ResultOutsideTheRangeIsRefused) {
    TaxRateTable rates;
    rates.Assign({{"20000101", Units(250)}});
    EXPECT_FALSE(ComputeTax(rates, Currency::Max(), 1, {}, "20240401", 0).has_value());
    EXPECT_TRUE(ComputeTax(rates, Currency::Min(), 2, {}, "20240401", 0).has_value());
}

// The line's tax category and kind follow the product and the customer, on both sides.
TEST(LineTax, CategoriesFollowProductAndCustomerOnBothSides) {
    struct Case {
        const char* name;
        std::int16_t calculationUnit, customerKind, productCategory, productKind, category, kind;
    };
    const Case cases[] = {
        {"product kind wins", 1, 2, 0, 1, 0, 1},
        {"product kind zero takes customers", 2, 2, 0, 0, 0, 2},
        {"previous rate category kept", 1, 1, 2, 0, 2, 1},
        {"product not taxable", 1, 2, 1, 2, 1, 1},
        {"customer without tax makes every line untaxed", 0, 2, 0, 2, 1, 1},
        {"customer without tax previous rate too", 0, 2, 2, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PricedHeader header;
        header.得意先消費税算出区分 = c.calculationUnit;
        header.得意先消費税区分 = c.customerKind;
        PricedLine line;
        line.商品売上課税区分 = line.商品仕入課税区分 = c.productCategory;
        line.商品売上消費税区分 = line.商品仕入消費税区分 = c.productKind;
        line.売上課税区分 = line.仕入課税区分 = 9;
        SetTaxCategories(header, line);
        EXPECT_EQ((std::vector<int>{line.売上課税区分, line.売上消費税区分, line.仕入課税区分, line.仕入消費税区分}),
                  (std::vector<int>{c.category, c.kind, c.category, c.kind}));
    }
}

TEST(LineTax, SellingSideUsesCustomerRoundingAndTaxDate) {
    test::PricingFixture f;
    f.header.得意先消費税丸め方法 = 5;
    f.header.見積納期日付 = "20190930";  // 8 percent still
    PricedLine line;
    line.見積金額 = C("1235");
    ASSERT_TRUE(SellingLineTax(f.rules(), f.header, line));
    EXPECT_EQ(line.売上消費税区分, kTaxAdded);
    EXPECT_EQ(line.見積消費税, C("99"));  // 98.8 + 0.5
}

TEST(LineTax, PurchaseSideUsesSupplierRounding) {
    test::PricingFixture f;
    f.header.得意先消費税丸め方法 = 0;
    PricedLine line;
    line.仕入金額 = C("1235");
    line.仕入先消費税丸め方法 = 9;
    ASSERT_TRUE(PurchaseLineTax(f.rules(), f.header, line));
    EXPECT_EQ(line.仕入消費税, C("124"));
}

TEST(LineTax, NotTaxableLineNeverGetsTaxWhateverItsKind) {
    test::PricingFixture f;
    f.header.得意先消費税区分 = kTaxIncluded;
    PricedLine line;
    line.商品売上課税区分 = kNotTaxable;
    line.商品売上消費税区分 = kTaxIncluded;
    line.見積金額 = C("1100");
    line.見積消費税 = C("100");
    ASSERT_TRUE(SellingLineTax(f.rules(), f.header, line));
    EXPECT_EQ(line.見積消費税, Currency());
}

TEST(LineTax, PreviousRateCategoryBeforeTheSecondRateGivesNoTax) {
    test::PricingFixture f;
    f.header.営業見積日付 = "19950101";
    PricedLine line;
    line.商品売上課税区分 = kTaxablePreviousRate;
    line.見積金額 = C("1000");
    ASSERT_TRUE(SellingLineTax(f.rules(), f.header, line));
    EXPECT_EQ(line.売上課税区分, kTaxablePreviousRate);
    EXPECT_EQ(line.見積消費税, Currency());
}

}  // namespace
}  // namespace velmora
