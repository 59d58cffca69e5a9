#pragma once

#include <cstddef>
#include <cstdint>

#include "pricing/pricing_rules.h"

// What each change on the screen recomputes, in order. The screen stores
// nothing itself: it hands the typed value over and redraws what changed.
namespace velmora {

enum class PricingOutcome {
    Unchanged,   // the value equals the one held: nothing was recomputed
    Recomputed,  // the value was stored and its consequences recomputed
    OutOfRange,  // as Recomputed, but a figure that would leave the currency range kept its old value
};

// The figures of a line that can be typed.
enum class LineFigure { 見積数量, 見積単価, 見積金額, 見積消費税, 仕入数量, 仕入単価, 仕入金額, 仕入消費税 };

class QuotationPricing {
public:
    QuotationPricing(const CompanySettings& company, const TaxRateTable& rates) : m_rules{company, rates} {}
    const PricingRules& rules() const { return m_rules; }

    // A typed figure of line i. A quantity also becomes the purchase quantity;
    // a unit price carries the product snapshot with it.
    PricingOutcome EnterFigure(PricedHeader& header, const PricedLines& lines, std::size_t i, LineFigure figure,
                               Currency value) const;
    PricingOutcome EnterCountFlag(PricedHeader& header, const PricedLines& lines, std::size_t i,
                                  std::int16_t value) const;
    PricingOutcome EnterLineKind(PricedHeader& header, const PricedLines& lines, std::size_t i,
                                 std::int16_t value) const;
    // The product's snapshot has been filled into line i: price it in full.
    PricingOutcome ProductEntered(PricedHeader& header, const PricedLines& lines, std::size_t i) const;
    // A new 定価掛率; a rate of 0 is stored and recomputes nothing.
    PricingOutcome EnterListPriceRate(PricedHeader& header, const PricedLines& lines, Currency rate) const;
    // The quotation date, the tax date or the customer's tax settings changed
    // (the header holds the new values): every line's taxes again.
    PricingOutcome TaxBasisChanged(PricedHeader& header, const PricedLines& lines) const;
    // The customer master was read again after its registration program ran.
    PricingOutcome CustomerReread(PricedHeader& header, const PricedLines& lines) const;
    // Totals alone (after line commands, loading).
    PricingOutcome Totals(PricedHeader& header, const PricedLines& lines) const;

private:
    PricingRules m_rules;
};

}  // namespace velmora
