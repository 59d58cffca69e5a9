#include "quotation/document_scope.h"

#include "data/data_access.h"
#include "pricing/pricing_changes.h"
#include "pricing/totals.h"

namespace velmora {

DocumentScope::DocumentScope(DataAccess& access_, Quotation& quotation_, const QuotationContext& context_,
                             DocumentPrompts& prompts_)
    : access(access_),
      quotation(quotation_),
      context(context_),
      prompts(prompts_),
      numbering(
          access_, context_.company, [&prompts_](const std::string& text) { prompts_.ShowMessage(text); },
          [&access_] { return FormatDate(access_.Now()); }) {}

void DocumentScope::RecomputeTotals() { ComputeTotals(rules(), quotation.header, quotation.linesInUse()); }

bool DocumentScope::ReloadRates() {
    const bool known = rates.known();
    if (!rates.Load(access)) return known;
    if (!known && quotation.LastLine >= 0)
        QuotationPricing(context.company, rates).TaxBasisChanged(quotation.header, quotation.linesInUse());
    return true;
}

}  // namespace velmora
