#include "pricing/tax_rates.h"

#include <algorithm>
#include <memory>

#include "data/data_access.h"

namespace velmora {

bool TaxRateTable::Load(DataAccess& access) {
    std::unique_ptr<Recordset> rs;
    std::vector<TaxRate> rates;
    access.OpenDataRecordset(rs, "SELECT G消費税.* FROM G消費税 ORDER BY G消費税.施行日");
    bool read = rs && rs->isOpen() && rs->columnCount() > 0;
    for (; read && !rs->eof(); rs->moveNext()) {
        TaxRate rate;
        rate.施行日 = rs->text("施行日");
        if (auto value = rs->scaled4("消費税率")) rate.消費税率 = Currency::FromScaled(*value);
        rates.push_back(std::move(rate));
    }
    if (rs) rs->close();
    if (read) Assign(std::move(rates));
    return read;
}

void TaxRateTable::Assign(std::vector<TaxRate> rates) {
    std::stable_sort(rates.begin(), rates.end(),
                     [](const TaxRate& a, const TaxRate& b) { return a.施行日 < b.施行日; });
    m_rates = std::move(rates);
    m_known = true;
}

std::optional<Currency> TaxRateTable::RateOn(std::string_view date, bool previous) const {
    // First row whose effective date is after the date; the one before is in force.
    auto after = std::upper_bound(m_rates.begin(), m_rates.end(), date,
                                  [](std::string_view d, const TaxRate& r) { return d < r.施行日; });
    size_t inForce = static_cast<size_t>(after - m_rates.begin());
    size_t wanted = previous ? 2 : 1;
    if (inForce < wanted) return std::nullopt;
    return m_rates[inForce - wanted].消費税率;
}

}  // namespace velmora
