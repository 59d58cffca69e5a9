#include "pricing/pricing_changes.h"

#include "pricing/line_pricing.h"
#include "pricing/line_tax.h"
#include "pricing/totals.h"

namespace velmora {

namespace {

// Runs steps in order; one refused figure does not stop the others.
class Steps {
public:
    Steps& operator<<(bool ok) {
        m_ok = m_ok && ok;
        return *this;
    }
    PricingOutcome outcome() const { return m_ok ? PricingOutcome::Recomputed : PricingOutcome::OutOfRange; }

private:
    bool m_ok = true;
};

Currency PricedLine::* memberOf(LineFigure figure) {
    switch (figure) {
        case LineFigure::見積数量: return &PricedLine::見積数量;
        case LineFigure::見積単価: return &PricedLine::見積単価;
        case LineFigure::見積金額: return &PricedLine::見積金額;
        case LineFigure::見積消費税: return &PricedLine::見積消費税;
        case LineFigure::仕入数量: return &PricedLine::仕入数量;
        case LineFigure::仕入単価: return &PricedLine::仕入単価;
        case LineFigure::仕入金額: return &PricedLine::仕入金額;
        case LineFigure::仕入消費税: return &PricedLine::仕入消費税;
    }
    return &PricedLine::見積数量;
}

}  // namespace

PricingOutcome QuotationPricing::EnterFigure(PricedHeader& header, const PricedLines& lines, std::size_t i,
                                             LineFigure figure, Currency value) const {
    if (i >= lines.size()) return PricingOutcome::Unchanged;
    PricedLine& line = lines[i];
    Currency PricedLine::* member = memberOf(figure);
    if (line.*member == value) return PricingOutcome::Unchanged;
    line.*member = value;
    Steps steps;
    switch (figure) {
        case LineFigure::見積数量:
            line.仕入数量 = value;
            steps << SellingAmount(m_rules, line) << SellingLineTax(m_rules, header, line)
                  << PurchaseAmount(m_rules, line) << PurchaseLineTax(m_rules, header, line);
            break;
        case LineFigure::見積単価:
            line.changed = true;
            steps << FollowTypedSellingUnitPrice(m_rules, header, line) << SellingAmount(m_rules, line)
                  << SellingLineTax(m_rules, header, line);
            break;
        case LineFigure::見積金額:
            line.sellingAmountTyped = true;
            steps << SellingLineTax(m_rules, header, line);
            break;
        case LineFigure::仕入数量:
            steps << PurchaseAmount(m_rules, line) << PurchaseLineTax(m_rules, header, line);
            break;
        case LineFigure::仕入単価:
            line.changed = true;
            steps << FollowTypedPurchaseUnitPrice(m_rules, header, line) << PurchaseAmount(m_rules, line)
                  << PurchaseLineTax(m_rules, header, line);
            break;
        case LineFigure::仕入金額:
            line.purchaseAmountTyped = true;
            steps << PurchaseLineTax(m_rules, header, line);
            break;
        case LineFigure::見積消費税: line.sellingTaxTyped = true; break;
        case LineFigure::仕入消費税: line.purchaseTaxTyped = true; break;
    }
    steps << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::EnterCountFlag(PricedHeader& header, const PricedLines& lines, std::size_t i,
                                                std::int16_t value) const {
    if (i >= lines.size() || lines[i].計区分 == value) return PricingOutcome::Unchanged;
    lines[i].計区分 = value;
    return Totals(header, lines);
}

PricingOutcome QuotationPricing::EnterLineKind(PricedHeader& header, const PricedLines& lines, std::size_t i,
                                               std::int16_t value) const {
    if (i >= lines.size() || lines[i].行区分 == value) return PricingOutcome::Unchanged;
    lines[i].行区分 = value;
    Steps steps;
    steps << SetLineKind(header, lines, i) << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::ProductEntered(PricedHeader& header, const PricedLines& lines, std::size_t i) const {
    if (i >= lines.size()) return PricingOutcome::Unchanged;
    PricedLine& line = lines[i];
    SetTaxCategories(header, line);
    Steps steps;
    steps << SellingUnitPriceFromProduct(m_rules, header, line) << SellingAmount(m_rules, line)
          << SellingLineTax(m_rules, header, line) << PurchaseUnitPriceFromProduct(m_rules, header, line)
          << PurchaseAmount(m_rules, line) << PurchaseLineTax(m_rules, header, line)
          << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::EnterListPriceRate(PricedHeader& header, const PricedLines& lines,
                                                    Currency rate) const {
    if (header.定価掛率 == rate) return PricingOutcome::Unchanged;
    header.定価掛率 = rate;
    if (rate.isZero()) return PricingOutcome::Recomputed;
    Steps steps;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PricedLine& line = lines[i];
        steps << SellingUnitPriceFromProduct(m_rules, header, line) << SellingAmount(m_rules, line)
              << SellingLineTax(m_rules, header, line);
    }
    steps << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::TaxBasisChanged(PricedHeader& header, const PricedLines& lines) const {
    Steps steps;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PricedLine& line = lines[i];
        SetTaxCategories(header, line);
        steps << SellingLineTax(m_rules, header, line) << PurchaseLineTax(m_rules, header, line);
    }
    steps << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::CustomerReread(PricedHeader& header, const PricedLines& lines) const {
    Steps steps;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PricedLine& line = lines[i];
        steps << ConvertToCustomerTaxKind(m_rules, header, line);
        SetTaxCategories(header, line);
        steps << SellingLineTax(m_rules, header, line) << PurchaseLineTax(m_rules, header, line);
    }
    steps << ComputeTotals(m_rules, header, lines);
    return steps.outcome();
}

PricingOutcome QuotationPricing::Totals(PricedHeader& header, const PricedLines& lines) const {
    return ComputeTotals(m_rules, header, lines) ? PricingOutcome::Recomputed : PricingOutcome::OutOfRange;
}

}  // namespace velmora
