#include "pricing/tax.h"

#include <gtest/gtest.h>

#include "pricing/line_tax.h"
#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;

struct TaxCase {
    const char* name;
    const char* amount;
    std::int16_t kind;
    std::int16_t method;
    std::int16_t position;
    const char* date;
    std::int16_t previous;
    const char* tax;
};

class ComputeTaxCases : public testing::TestWithParam<TaxCase> {};

TEST_P(ComputeTaxCases, GivesTheExactTax) {
    const TaxCase& c = GetParam();
    TaxRateTable rates = test::JapaneseRates();
    std::optional<Currency> tax = ComputeTax(rates, C(c.amount), c.kind, {c.method, c.position}, c.date, c.previous);
    ASSERT_TRUE(tax.has_value());
    EXPECT_EQ(*tax, C(c.tax));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputeTaxCases,
    testing::Values(TaxCase{"AddedTruncates", "1234", 1, 0, 0, "20240401", 0, "123"},
                    TaxCase{"AddedMethod5StaysBelowHalf", "1234", 1, 5, 0, "20240401", 0, "123"},
                    TaxCase{"AddedMethod5RoundsHalfUp", "1235", 1, 5, 0, "20240401", 0, "124"},
                    TaxCase{"IncludedTax", "1100", 2, 0, 0, "20240401", 0, "100"},
                    TaxCase{"IncludedRepeatingQuotient", "1000", 2, 9, 0, "20240401", 0, "91"},
                    TaxCase{"Method9RaisesEveryTenthAtTens", "12310", 1, 9, 1, "20240401", 0, "1240"},
                    TaxCase{"Method9BelowOneTenthStays", "12300", 1, 9, 1, "20240401", 0, "1230"},
                    TaxCase{"HundredsPosition", "123456", 1, 5, 2, "20240401", 0, "12300"},
                    TaxCase{"NegativeMirrorsPositive", "-1235", 1, 5, 0, "20240401", 0, "-124"},
                    TaxCase{"NegativeTruncatesTowardZero", "-1234", 1, 0, 0, "20240401", 0, "-123"},
                    TaxCase{"NegativeMethod9", "-12310", 1, 9, 1, "20240401", 0, "-1240"},
                    TaxCase{"NegativeIncluded", "-1100", 2, 0, 0, "20240401", 0, "-100"},
                    TaxCase{"RateInForceOnItsFirstDay", "1000", 1, 0, 0, "20191001", 0, "100"},
                    TaxCase{"DayBeforeAChange", "1000", 1, 0, 0, "20190930", 0, "80"},
                    TaxCase{"PreviousRate", "1000", 1, 0, 0, "20240401", 1, "80"},
                    TaxCase{"PreviousRateIncluded", "1080", 2, 0, 0, "20240401", 1, "80"},
                    TaxCase{"BeforeTheFirstRate", "1000", 1, 0, 0, "19890331", 0, "0"},
                    TaxCase{"PreviousBeforeTheSecondRate", "1000", 1, 0, 0, "19970331", 1, "0"},
                    TaxCase{"UnknownKind", "1000", 3, 0, 0, "20240401", 0, "0"},
                    TaxCase{"NegativePositionIsWholeYen", "1235", 1, 5, -1, "20240401", 0, "124"},
                    TaxCase{"FractionalAmount", "0.5", 1, 9, 0, "20240401", 0, "0"}),
    [](const testing::TestParamInfo<TaxCase>& info) { return std::string(info.param.name); });

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

struct CategoryCase {
    const char* name;
    std::int16_t calculationUnit;
    std::int16_t customerKind;
    std::int16_t productCategory;
    std::int16_t productKind;
    std::int16_t category;
    std::int16_t kind;
};

class LineTaxCategories : public testing::TestWithParam<CategoryCase> {};

TEST_P(LineTaxCategories, FollowProductAndCustomerOnBothSides) {
    const CategoryCase& c = GetParam();
    PricedHeader header;
    header.得意先消費税算出区分 = c.calculationUnit;
    header.得意先消費税区分 = c.customerKind;
    PricedLine line;
    line.商品売上課税区分 = line.商品仕入課税区分 = c.productCategory;
    line.商品売上消費税区分 = line.商品仕入消費税区分 = c.productKind;
    line.売上課税区分 = line.仕入課税区分 = 9;
    SetTaxCategories(header, line);
    EXPECT_EQ(line.売上課税区分, c.category);
    EXPECT_EQ(line.売上消費税区分, c.kind);
    EXPECT_EQ(line.仕入課税区分, c.category);
    EXPECT_EQ(line.仕入消費税区分, c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineTaxCategories,
    testing::Values(CategoryCase{"ProductKindWins", 1, 2, 0, 1, 0, 1},
                    CategoryCase{"ProductKindZeroTakesCustomers", 2, 2, 0, 0, 0, 2},
                    CategoryCase{"PreviousRateCategoryKept", 1, 1, 2, 0, 2, 1},
                    CategoryCase{"ProductNotTaxable", 1, 2, 1, 2, 1, 1},
                    CategoryCase{"CustomerWithoutTaxMakesEveryLineUntaxed", 0, 2, 0, 2, 1, 1},
                    CategoryCase{"CustomerWithoutTaxPreviousRateToo", 0, 2, 2, 0, 1, 1}),
    [](const testing::TestParamInfo<CategoryCase>& info) { return std::string(info.param.name); });

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
