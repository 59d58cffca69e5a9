#include "pricing/line_tax.h"

namespace velmora {

namespace {

void setCategories(const PricedHeader& header, std::int16_t productCategory, std::int16_t productKind,
                   std::int16_t& category, std::int16_t& kind) {
    if (productCategory != kNotTaxable && header.得意先消費税算出区分 != kNoTax) {
        kind = productKind != 0 ? productKind : header.得意先消費税区分;
        category = productCategory;
    } else {
        kind = kTaxAdded;
        category = kNotTaxable;
    }
}

bool lineTax(const PricingRules& rules, const PricedHeader& header, Currency amount, std::int16_t category,
             std::int16_t kind, TaxRounding rounding, Currency& tax) {
    if (category != kTaxable && category != kTaxablePreviousRate) {
        tax = Currency();
        return true;
    }
    std::optional<Currency> computed =
        ComputeTax(rules.rates, amount, kind, rounding, header.TaxDate(), PreviousRateFlag(category));
    if (!computed) return false;
    tax = *computed;
    return true;
}

}  // namespace

void SetSellingTaxCategories(const PricedHeader& header, PricedLine& line) {
    setCategories(header, line.商品売上課税区分, line.商品売上消費税区分, line.売上課税区分, line.売上消費税区分);
}

void SetPurchaseTaxCategories(const PricedHeader& header, PricedLine& line) {
    setCategories(header, line.商品仕入課税区分, line.商品仕入消費税区分, line.仕入課税区分, line.仕入消費税区分);
}

void SetTaxCategories(const PricedHeader& header, PricedLine& line) {
    SetSellingTaxCategories(header, line);
    SetPurchaseTaxCategories(header, line);
}

bool SellingLineTax(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    SetSellingTaxCategories(header, line);
    if (!lineTax(rules, header, line.見積金額, line.売上課税区分, line.売上消費税区分, CustomerRounding(header),
                 line.見積消費税))
        return false;
    line.sellingTaxTyped = false;
    return true;
}

bool PurchaseLineTax(const PricingRules& rules, const PricedHeader& header, PricedLine& line) {
    SetPurchaseTaxCategories(header, line);
    if (!lineTax(rules, header, line.仕入金額, line.仕入課税区分, line.仕入消費税区分, SupplierRounding(line),
                 line.仕入消費税))
        return false;
    line.purchaseTaxTyped = false;
    return true;
}

}  // namespace velmora
