#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "pricing/currency.h"
#include "pricing/pricing_rules.h"

namespace velmora::test {

// "1,234.5" as a Currency; a test with an unreadable literal fails.
inline Currency C(std::string_view text) {
    std::optional<Currency> value = Currency::Parse(text);
    EXPECT_TRUE(value.has_value()) << "not a currency literal: " << text;
    return value.value_or(Currency());
}

// Figures as "1000|-2.5|0", to compare several of a line or a header as one value.
inline std::string Figures(std::initializer_list<Currency> figures) {
    std::string out;
    for (Currency figure : figures) {
        std::string text = figure.format("0.0000");
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
        out += (out.empty() ? "" : "|") + text;
    }
    return out;
}

// The consumption tax history of Japan.
inline TaxRateTable JapaneseRates() {
    TaxRateTable table;
    table.Assign({{"19890401", Units(3)}, {"19970401", Units(5)}, {"20140401", Units(8)}, {"20191001", Units(10)}});
    return table;
}

// A quotation of tax-added lines at today's rate, per-line tax, rounding down.
struct PricingFixture {
    CompanySettings company;
    TaxRateTable rates = JapaneseRates();
    PricedHeader header;
    std::vector<PricedLine> lines;

    PricingFixture() {
        header.営業見積日付 = "20240515";
        header.得意先消費税区分 = kTaxAdded;
        header.得意先消費税算出区分 = kTaxPerLine;
    }
    PricingRules rules() const { return {company, rates}; }
    PricedLines view() { return PricedLines(lines.data(), lines.size()); }

    PricedLine& ordinary(Currency amount, Currency tax = Currency()) {
        PricedLine line;
        line.見積金額 = amount;
        line.見積消費税 = tax;
        line.売上消費税区分 = kTaxAdded;
        lines.push_back(line);
        return lines.back();
    }
    PricedLine& ofKind(std::int16_t kind) {
        PricedLine line;
        line.行区分 = kind;
        line.計区分 = 0;
        lines.push_back(line);
        return lines.back();
    }
};

}  // namespace velmora::test
