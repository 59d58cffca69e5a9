#pragma once

#include "pricing/company_settings.h"
#include "pricing/priced_quotation.h"
#include "pricing/tax.h"
#include "pricing/tax_rates.h"

namespace velmora {

// What every pricing operation reads besides the quotation: the company's
// rounding settings and the rate table.
struct PricingRules {
    const CompanySettings& company;
    const TaxRateTable& rates;
};

inline TaxRounding CustomerRounding(const PricedHeader& header) {
    return {header.得意先消費税丸め方法, header.得意先消費税丸め桁位置};
}

inline TaxRounding SupplierRounding(const PricedLine& line) {
    return {line.仕入先消費税丸め方法, line.仕入先消費税丸め桁位置};
}

// Previous-rate flag of ComputeTax for a tax category.
inline std::int16_t PreviousRateFlag(std::int16_t category) { return category == kTaxablePreviousRate ? 1 : 0; }

}  // namespace velmora
