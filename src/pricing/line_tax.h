#pragma once

#include "pricing/pricing_rules.h"

namespace velmora {

// A line's tax kind and category on each side, from the product snapshot and
// the customer: a customer without tax, or a product that is not taxable,
// makes the side not taxable; a product kind of 0 takes the customer's kind.
void SetSellingTaxCategories(const PricedHeader& header, PricedLine& line);
void SetPurchaseTaxCategories(const PricedHeader& header, PricedLine& line);
void SetTaxCategories(const PricedHeader& header, PricedLine& line);

// Sets the side's categories, then its tax: 見積消費税 with the customer's
// rounding, 仕入消費税 with the supplier's, both on the quotation's tax date.
// False when the tax leaves the currency range; the tax stays as it was.
bool SellingLineTax(const PricingRules& rules, const PricedHeader& header, PricedLine& line);
bool PurchaseLineTax(const PricingRules& rules, const PricedHeader& header, PricedLine& line);

}  // namespace velmora
