#pragma once

#include "pricing/pricing_rules.h"

// The figures of one line. Each operation returns false when a figure would
// leave the currency range; that figure then stays as it was.
namespace velmora {

// 見積数量 x 見積単価 rounded to whole yen by 売上金額丸め方法, symmetric about
// zero. With a quantity or price of 0 the amount (perhaps typed) is kept.
bool SellingAmount(const PricingRules& rules, PricedLine& line);
bool PurchaseAmount(const PricingRules& rules, PricedLine& line);

// 見積単価 of an ordinary line with a product code: the list price at the
// quotation's 定価掛率, else the product's selling price (nothing when both
// are 0), with tax added for a line whose tax is included.
bool SellingUnitPriceFromProduct(const PricingRules& rules, const PricedHeader& header, PricedLine& line);
// 仕入単価 from the product's purchase prices by the line's purchase category
// and kind, for every line.
bool PurchaseUnitPriceFromProduct(const PricingRules& rules, const PricedHeader& header, PricedLine& line);

// After a unit price was typed: the product snapshot follows it, so that a
// later repricing starts from the typed price.
bool FollowTypedSellingUnitPrice(const PricingRules& rules, const PricedHeader& header, PricedLine& line);
bool FollowTypedPurchaseUnitPrice(const PricingRules& rules, const PricedHeader& header, PricedLine& line);

// After the customer's tax kind changed: prices and amounts of the taxable
// sides move between tax added and tax included. A side whose kind the
// product fixes keeps its figures: its categories give it the product's kind
// again, and a converted price would no longer match that kind.
bool ConvertToCustomerTaxKind(const PricingRules& rules, const PricedHeader& header, PricedLine& line);

}  // namespace velmora
