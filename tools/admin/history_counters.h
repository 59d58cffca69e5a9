#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace velmora {

class DataAccess;
struct CompanySettings;

// The quotation numbering's counters as a long run of saves written directly
// moves them. Each counter row (per base date when the scheme is dated, per
// office when the company numbers by office: the row Numbering takes from)
// is read once, counted on here, and written back at the end. A count starts
// past every number and history number already stored, whatever its row said.
class HistoryCounters {
public:
    HistoryCounters(DataAccess& access, const CompanySettings& company) : m_access(access), m_company(company) {}

    // Reads the sequence kind; false (with the reason) for a scheme without a
    // row or with typed numbers, which no run of saves can number.
    bool Load(std::string& error);

    // The next 営業見積No and 営業見積履歴No, eight digits.
    std::string TakeNumber(const std::string& office, const std::string& baseDate);
    std::string TakeHistoryNumber(const std::string& office, const std::string& baseDate);

    // Every counter row at the last values given, created when missing.
    bool WriteBack(std::string& error);

private:
    struct Counter {
        std::string table;
        std::string condition;  // " WHERE ..." naming the row
        std::string insert;     // creates the row when it is missing
        std::int64_t number = 0;
        std::int64_t history = 0;
    };
    Counter& counter(const std::string& office, const std::string& baseDate);

    DataAccess& m_access;
    const CompanySettings& m_company;
    std::int16_t m_sequenceKind = 0;
    std::map<std::pair<std::string, std::string>, Counter> m_counters;
};

}  // namespace velmora
