#include "pricing/line_pricing.h"

#include "pricing/wide_arithmetic.h"

namespace velmora {

namespace {

bool amountOf(Currency quantity, Currency price, std::int16_t method, Currency& amount) {
    if (quantity.isZero() || price.isZero()) return true;
    std::optional<Currency> product = Currency::Multiply(quantity, price);
    if (!product) return false;
    std::optional<Currency> rounded = RoundAtPosition(*product, method, 0);
    if (!rounded) return false;
    amount = *rounded;
    return true;
}

// price + tax to add, or price - tax contained; nothing when out of range.
std::optional<Currency> withTax(const PricingRules& rules, const PricedHeader& header, Currency value,
                                std::int16_t kind, TaxRounding rounding, std::int16_t category) {
    std::optional<Currency> tax =
        ComputeTax(rules.rates, value, kind, rounding, header.TaxDate(), PreviousRateFlag(category));
    if (!tax) return std::nullopt;
    return kind == kTaxIncluded ? Currency::Subtract(value, *tax) : Currency::Add(value, *tax);
}

// The snapshot table of a typed unit price v, for either side.
bool followTyped(const PricingRules& rules, const PricedHeader& header, Currency v, std::int16_t category,
                 std::int16_t kind, TaxRounding rounding, Currency& withTaxPrice, Currency& withoutTaxPrice) {
    if (category == kNotTaxable) {
        withTaxPrice = v;
        withoutTaxPrice = v;
        return true;
    }
    if (category != kTaxable && category != kTaxablePreviousRate) return true;
    std::int16_t taxKind = kind == kTaxIncluded ? kTaxIncluded : kTaxAdded;
    std::optional<Currency> other = withTax(rules, header, v, taxKind, rounding, category);
    if (!other) return false;
    if (kind == kTaxIncluded) {
        withTaxPrice = v;
        withoutTaxPrice = *other;
    } else {
        withTaxPrice = *other;
        withoutTaxPrice = v;
    }
    return true;
}

bool productFixesKind(const PricedHeader& header, std::int16_t productCategory, std::int16_t productKind) {
    return productKind != 0 && productCategory != kNotTaxable && header.得意先消費税算出区分 != kNoTax;
}

// One side of the conversion to the customer's tax kind.
bool convertSide(const PricingRules& rules, const PricedHeader& header, PricedLine& line, Currency& price,
                 Currency& amount, bool& amountTyped, Currency quantity, std::int16_t category, std::int16_t kind,
                 TaxRounding rounding, std::int16_t amountMethod, bool productFixes) {
    if (price.isZero() || header.得意先消費税区分 == kind || productFixes) return true;
    line.changed = true;
    if (category != kTaxable && category != kTaxablePreviousRate) return true;
    if (kind != kTaxAdded && kind != kTaxIncluded) return true;
    // Tax added becomes tax included (the tax goes on top) and the other way round.
    std::optional<Currency> newPrice = withTax(rules, header, price, kind, rounding, category);
    if (!newPrice) return false;
    Currency newAmount = amount;
    if (!quantity.isZero() && !newPrice->isZero()) {
        if (!amountOf(quantity, *newPrice, amountMethod, newAmount)) return false;
    } else {
        std::optional<Currency> converted = withTax(rules, header, amount, kind, rounding, category);
        if (!converted) return false;
        newAmount = *converted;
    }
    // An amount worked out from quantity and price is no typed amount any
    // more; a typed lump sum converted keeps its mark.
    if (!quantity.isZero() && !newPrice->isZero()) amountTyped = false;
    price = *newPrice;
    amount = newAmount;
    return true;
}

}  // namespace

bool SellingAmount(const PricingRules& rules, PricedLine& line) {
    if (!amountOf(line.見積数量, line.見積単価, rules.company.売上金額丸め方法, line.見積金額)) return false;
    if (!line.見積数量.isZero() && !line.見積単価.isZero()) line.sellingAmountTyped = false;
    return true;
}

bool PurchaseAmount(const PricingRules& rules, PricedLine& line) {
    if (!amountOf(line.仕入数量, line.仕入単価, rules.company.仕入金額丸め方法, line.仕入金額)) return false;
    if (!line.仕入数量.isZero() && !line.仕入単価.isZero()) line.purchaseAmountTyped = false;
    return true;
}

bool SellingUnitPriceFromProduct(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    if (line.行区分 != kLineOrdinary || line.商品コード.empty()) return true;
    Currency base;
    if (!line.商品税抜販売定価.isZero() && !header.定価掛率.isZero()) {
        Wide scaled = RoundedQuotient(Wide(line.商品税抜販売定価.scaled()) * header.定価掛率.scaled(), 100 * kWideScale);
        std::optional<Currency> narrowed = NarrowScaled(scaled);
        if (!narrowed) return false;
        base = *narrowed;
    } else if (!line.商品税抜販売単価.isZero()) {
        base = line.商品税抜販売単価;
    } else {
        return true;
    }
    if (line.売上消費税区分 == kTaxIncluded &&
        (line.売上課税区分 == kTaxable || line.売上課税区分 == kTaxablePreviousRate)) {
        std::optional<Currency> price =
            withTax(rules, header, base, kTaxAdded, CustomerRounding(header), line.売上課税区分);
        if (!price) return false;
        base = *price;
    }
    line.見積単価 = base;
    return true;
}

bool PurchaseUnitPriceFromProduct(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    Currency price;
    switch (line.仕入課税区分) {
        case kTaxable:
            price = line.仕入消費税区分 == kTaxIncluded ? line.商品税込仕入単価 : line.商品税抜仕入単価;
            break;
        case kNotTaxable: price = line.商品税抜仕入単価; break;
        case kTaxablePreviousRate:
            if (line.仕入消費税区分 == kTaxIncluded) {
                std::optional<Currency> withPrevious = withTax(rules, header, line.商品税抜仕入単価, kTaxAdded,
                                                               SupplierRounding(line), kTaxablePreviousRate);
                if (!withPrevious) return false;
                price = *withPrevious;
            } else {
                price = line.商品税抜仕入単価;
            }
            break;
        default: break;
    }
    line.仕入単価 = price;
    return true;
}

bool FollowTypedSellingUnitPrice(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    return followTyped(rules, header, line.見積単価, line.売上課税区分, line.売上消費税区分, CustomerRounding(header),
                       line.商品税込販売単価, line.商品税抜販売単価);
}

bool FollowTypedPurchaseUnitPrice(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    return followTyped(rules, header, line.仕入単価, line.仕入課税区分, line.仕入消費税区分, SupplierRounding(line),
                       line.商品税込仕入単価, line.商品税抜仕入単価);
}

bool ConvertToCustomerTaxKind(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    bool selling = convertSide(rules, header, line, line.見積単価, line.見積金額, line.sellingAmountTyped, line.見積数量, line.売上課税区分,
                               line.売上消費税区分, CustomerRounding(header), rules.company.売上金額丸め方法,
                               productFixesKind(header, line.商品売上課税区分, line.商品売上消費税区分));
    bool purchase = convertSide(rules, header, line, line.仕入単価, line.仕入金額, line.purchaseAmountTyped, line.仕入数量, line.仕入課税区分,
                                line.仕入消費税区分, SupplierRounding(line), rules.company.仕入金額丸め方法,
                                productFixesKind(header, line.商品仕入課税区分, line.商品仕入消費税区分));
    return selling && purchase;
}

}  // namespace velmora
