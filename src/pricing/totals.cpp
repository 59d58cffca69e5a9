#include "pricing/totals.h"

#include <array>
#include <vector>

#include "pricing/line_tax.h"

namespace velmora {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

bool counts(const PricedLine& line) { return line.行区分 == kLineOrdinary && line.計区分 == 1; }

// The line kind a subtotal adds up, and the kind from which on its walk stops.
struct SubtotalWalk {
    std::int16_t adds;
    std::int16_t stopsAt;  // 0: never stops
};

std::optional<SubtotalWalk> walkOf(std::int16_t kind) {
    switch (kind) {
        case kLineSubtotal: return SubtotalWalk{kLineOrdinary, kLineSubtotal};
        case kLineMiddleTotal: return SubtotalWalk{kLineSubtotal, kLineMiddleTotal};
        case kLineLargeTotal: return SubtotalWalk{kLineMiddleTotal, kLineLargeTotal};
        case kLineGrandTotal: return SubtotalWalk{kLineOrdinary, 0};
        default: return std::nullopt;
    }
}

struct SixFigures {
    std::array<Currency, 6> values;
    static constexpr std::array<Currency PricedLine::*, 6> kMembers = {
        &PricedLine::見積数量, &PricedLine::見積金額, &PricedLine::見積消費税,
        &PricedLine::仕入数量, &PricedLine::仕入金額, &PricedLine::仕入消費税};

    static SixFigures Of(const PricedLine& line) {
        SixFigures f;
        for (size_t k = 0; k < kMembers.size(); ++k) f.values[k] = line.*kMembers[k];
        return f;
    }
    bool add(const PricedLine& line) {
        for (size_t k = 0; k < kMembers.size(); ++k)
            if (!values[k].add(line.*kMembers[k])) return false;
        return true;
    }
    // Sums are worked out, never typed.
    void storeIn(PricedLine& line) const {
        for (size_t k = 0; k < kMembers.size(); ++k) line.*kMembers[k] = values[k];
        line.sellingAmountTyped = line.sellingTaxTyped = line.purchaseAmountTyped = line.purchaseTaxTyped = false;
    }
};

bool addTo(Currency& total, Currency value) { return total.add(value); }

// One side of one counted line into the totals and tax bases.
bool addSide(Currency quantity, Currency amount, Currency tax, std::int16_t category, std::int16_t kind,
             Currency& quantityTotal, Currency& amountTotal, Currency& withoutTaxTotal, Currency& taxTotal,
             Currency& withTaxTotal, TaxBaseSums& sums) {
    bool ok = addTo(quantityTotal, quantity) && addTo(amountTotal, amount);
    if (kind == kTaxAdded) {
        std::optional<Currency> gross = Currency::Add(amount, tax);
        ok = ok && gross && addTo(withoutTaxTotal, amount) && addTo(withTaxTotal, *gross);
    } else if (kind == kTaxIncluded) {
        std::optional<Currency> net = Currency::Subtract(amount, tax);
        ok = ok && net && addTo(withoutTaxTotal, *net) && addTo(withTaxTotal, amount);
    }
    ok = ok && addTo(taxTotal, tax);
    Currency* base = nullptr;
    if (category == kNotTaxable) {
        base = &sums.notTaxable;
    } else if (category == kTaxable) {
        base = kind == kTaxAdded ? &sums.addedAtRate : kind == kTaxIncluded ? &sums.includedAtRate : nullptr;
    } else if (category == kTaxablePreviousRate) {
        base = kind == kTaxAdded ? &sums.addedAtPreviousRate
                                 : kind == kTaxIncluded ? &sums.includedAtPreviousRate : nullptr;
    }
    return ok && (base == nullptr || addTo(*base, amount));
}

std::optional<Currency> documentTax(const PricingRules& rules, const PricedHeader& header) {
    if (header.得意先消費税算出区分 == kTaxPerLine) return header.見積消費税合計;
    const TaxBaseSums& s = header.sellingSums;
    struct Part {
        Currency base;
        std::int16_t kind;
        std::int16_t previous;
    };
    const std::array<Part, 4> parts = {Part{s.includedAtPreviousRate, kTaxIncluded, 1},
                                       Part{s.includedAtRate, kTaxIncluded, 0},
                                       Part{s.addedAtPreviousRate, kTaxAdded, 1}, Part{s.addedAtRate, kTaxAdded, 0}};
    Currency sum;
    for (const Part& part : parts) {
        std::optional<Currency> tax =
            ComputeTax(rules.rates, part.base, part.kind, CustomerRounding(header), header.TaxDate(), part.previous);
        if (!tax || !sum.add(*tax)) return std::nullopt;
    }
    return sum;
}

}  // namespace

std::string SubtotalLabel(std::int16_t lineKind) {
    int spaces = 0;
    std::string_view word;
    switch (lineKind) {
        case kLineSubtotal: spaces = 21, word = "＊小計＊"; break;
        case kLineMiddleTotal: spaces = 19, word = "＊＊中計＊＊"; break;
        case kLineLargeTotal: spaces = 17, word = "＊＊＊大計＊＊＊"; break;
        case kLineGrandTotal: spaces = 15, word = "＊＊＊＊合計＊＊＊＊"; break;
        default: return {};
    }
    std::string label;
    for (int k = 0; k < spaces; ++k) label += kIdeographicSpace;
    label += word;
    return label;
}

bool SetLineKind(const PricedHeader& header, const PricedLines& lines, std::size_t i) {
    PricedLine& line = lines[i];
    if (line.行区分 == kLineOrdinary) {
        line.計区分 = 1;
        return true;
    }
    if (line.行区分 < kLineSubtotal || line.行区分 > kLineGrandTotal) return true;
    line.計区分 = 0;
    line.商品名 = SubtotalLabel(line.行区分);
    SetTaxCategories(header, line);
    // A level can only have lines to sum below the first few rows.
    std::size_t firstIndex = line.行区分 == kLineMiddleTotal ? 2 : line.行区分 == kLineLargeTotal ? 3 : 1;
    if (i >= firstIndex) return Subtotal(lines, i);
    return true;
}

bool Subtotal(const PricedLines& lines, std::size_t i) {
    std::optional<SubtotalWalk> walk = walkOf(lines[i].行区分);
    if (!walk) return true;
    SixFigures sums;
    for (std::size_t j = i; j-- > 0;) {
        const PricedLine& above = lines[j];
        if (walk->stopsAt != 0 && above.行区分 >= walk->stopsAt) break;
        bool adds = above.行区分 == walk->adds && (walk->adds != kLineOrdinary || above.計区分 == 1);
        if (adds && !sums.add(above)) return false;
    }
    sums.storeIn(lines[i]);
    return true;
}

bool ComputeTotals(const PricingRules& rules, PricedHeader& header, const PricedLines& lines) {
    PricedHeader result = header;
    result.見積数量合計 = result.見積金額合計 = result.税抜見積金額合計 = result.見積消費税合計 = result.税込見積金額合計 = Currency();
    result.仕入数量合計 = result.仕入金額合計 = result.税抜仕入金額合計 = result.仕入消費税合計 = result.税込仕入金額合計 = Currency();
    result.sellingSums = TaxBaseSums();
    result.purchaseSums = TaxBaseSums();
    result.DocTax = Currency();

    // Subtotal lines are written as the walk goes, so a 中計 sees fresh 小計
    // lines; their old figures come back if anything overflows.
    std::vector<std::pair<std::size_t, SixFigures>> previous;
    auto undo = [&] {
        for (const auto& [index, figures] : previous) figures.storeIn(lines[index]);
        return false;
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        PricedLine& line = lines[i];
        if (counts(line)) {
            bool ok = addSide(line.見積数量, line.見積金額, line.見積消費税, line.売上課税区分, line.売上消費税区分,
                              result.見積数量合計, result.見積金額合計, result.税抜見積金額合計, result.見積消費税合計,
                              result.税込見積金額合計, result.sellingSums) &&
                      addSide(line.仕入数量, line.仕入金額, line.仕入消費税, line.仕入課税区分, line.仕入消費税区分,
                              result.仕入数量合計, result.仕入金額合計, result.税抜仕入金額合計, result.仕入消費税合計,
                              result.税込仕入金額合計, result.purchaseSums);
            if (!ok) return undo();
        }
        if (line.行区分 > kLineOrdinary && walkOf(line.行区分)) {
            previous.emplace_back(i, SixFigures::Of(line));
            if (!Subtotal(lines, i)) return undo();
        }
    }

    std::optional<Currency> docTax = documentTax(rules, result);
    if (!docTax) return undo();
    result.DocTax = *docTax;

    // The correction writes a line's tax; keep it to restore on overflow.
    std::vector<std::pair<std::size_t, Currency>> taxes;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (counts(lines[i]) && !lines[i].見積金額.isZero()) {
            taxes.emplace_back(i, lines[i].見積消費税);
            break;
        }
    if (!CorrectDocumentTax(result, lines)) {
        for (const auto& [index, tax] : taxes) lines[index].見積消費税 = tax;
        return undo();
    }
    header = result;
    return true;
}

bool CorrectDocumentTax(PricedHeader& header, const PricedLines& lines) {
    if (header.得意先消費税端数調整区分 != 1 || header.DocTax == header.見積消費税合計) return true;
    bool anyAmount = false;
    for (std::size_t i = 0; i < lines.size() && !anyAmount; ++i) anyAmount = !lines[i].見積金額.isZero();
    if (!anyAmount) return true;
    std::optional<Currency> difference = Currency::Subtract(header.DocTax, header.見積消費税合計);
    if (!difference) return false;
    // Only a line that counts in the totals can carry the difference, or the
    // line taxes would no longer add up to the total.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PricedLine& line = lines[i];
        if (!counts(line) || line.見積金額.isZero()) continue;
        Currency tax = line.見積消費税;
        Currency withTax = header.税込見積金額合計;
        Currency withoutTax = header.税抜見積金額合計;
        if (!tax.add(*difference)) return false;
        if (line.売上消費税区分 == kTaxAdded && !withTax.add(*difference)) return false;
        if (line.売上消費税区分 == kTaxIncluded && !withoutTax.subtract(*difference)) return false;
        line.見積消費税 = tax;
        // The tax shown is no longer the one typed.
        line.sellingTaxTyped = false;
        header.税込見積金額合計 = withTax;
        header.税抜見積金額合計 = withoutTax;
        break;
    }
    header.見積消費税合計 = header.DocTax;
    return true;
}

ShownTotals TotalsToShow(const PricedHeader& header) {
    ShownTotals shown;
    if (header.合計表示区分 == 0) return shown;
    shown.見積数量合計 = header.見積数量合計;
    shown.税抜見積金額合計 = header.税抜見積金額合計;
    shown.税込見積金額合計 = header.税込見積金額合計;
    shown.仕入数量合計 = header.仕入数量合計;
    shown.税抜仕入金額合計 = header.税抜仕入金額合計;
    shown.税込仕入金額合計 = header.税込仕入金額合計;
    if (header.消費税表示区分 != 0) {
        shown.見積消費税合計 = header.見積消費税合計;
        shown.仕入消費税合計 = header.仕入消費税合計;
    }
    return shown;
}

Currency LineTaxToShow(const PricedHeader& header, Currency tax) { return header.消費税表示区分 == 0 ? Currency() : tax; }

}  // namespace velmora
