#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pricing/currency.h"

namespace velmora {

class DataAccess;

struct TaxRate {
    std::string 施行日;  // effective date "yyyymmdd"
    Currency 消費税率;   // percent
};

// The rows of G消費税 held in memory: repricing a long quotation asks for the
// rate once per line and figure. Reloaded when a quotation is loaded or
// cleared, so a rate change made meanwhile reaches the next quotation.
class TaxRateTable {
public:
    // Reads every row. A failed read keeps the rates read before and returns
    // false; the data layer has logged the error.
    bool Load(DataAccess& access);
    void Assign(std::vector<TaxRate> rates);
    bool empty() const { return m_rates.empty(); }
    // Rates were read (or given) at least once: without them every tax
    // would come out 0, a figure that must never be stored.
    bool known() const { return m_known; }

    // The rate in force on the date (the latest 施行日 not after it), or with
    // previous the row before that one. Nothing when there is no such row.
    std::optional<Currency> RateOn(std::string_view date, bool previous) const;

private:
    std::vector<TaxRate> m_rates;  // ascending 施行日
    bool m_known = false;
};

}  // namespace velmora
