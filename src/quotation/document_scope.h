#pragma once

#include "pricing/pricing_rules.h"
#include "pricing/tax_rates.h"
#include "quotation/document_host.h"
#include "quotation/numbering.h"
#include "quotation/quotation_context.h"
#include "quotation/quotation_model.h"

namespace velmora {

class DataAccess;

// What every document operation works on: the one quotation of the run, the
// business database, the session values and the screen's message boxes,
// with the numbering and the tax rates built on them. One per run.
struct DocumentScope {
    DocumentScope(DataAccess& access, Quotation& quotation, const QuotationContext& context, DocumentPrompts& prompts);
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;

    DataAccess& access;
    Quotation& quotation;
    const QuotationContext& context;
    DocumentPrompts& prompts;
    Numbering numbering;
    TaxRateTable rates;

    PricingRules rules() const { return {context.company, rates}; }
    // Every subtotal and header total again.
    void RecomputeTotals();
    // The tax rates read again (a load, a clear, a save); a failed read keeps
    // the rates read before. False when no rates are known. When rates come
    // after none were known, every line's taxes are worked out again.
    bool ReloadRates();
};

}  // namespace velmora
