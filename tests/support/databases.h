#pragma once

#include <memory>
#include <string>

#include "data/clock.h"
#include "data/data_access.h"
#include "support/test_env.h"

namespace velmora::test {

// A clock the test moves by hand.
class ManualClock {
public:
    explicit ManualClock(const std::string& timestamp) : m_now(std::make_shared<TimePoint>(ParseTimestamp(timestamp))) {}
    ClockSource source() const {
        auto now = m_now;
        return [now] { return *now; };
    }
    void set(const std::string& timestamp) { *m_now = ParseTimestamp(timestamp); }
    void advance(std::chrono::seconds by) { *m_now += by; }

private:
    std::shared_ptr<TimePoint> m_now;
};

// A configuration database (SQLite, with the real schema) and a business
// database on the engine, both opened through the data-access operations.
class Databases {
public:
    Databases(Engine engine, const std::string& timestamp = "20261206 093015", const std::string& pgSource = "");
    bool available() const { return m_business && m_business->available(); }

    DataAccess& access() { return *m_access; }
    // A second program of the suite working on the same databases.
    std::unique_ptr<DataAccess> openAnother(const std::string& programId, const std::string& userId) const;
    const std::string& configPath() const { return m_configPath; }
    const std::string& configConnectionString() const { return m_configConnectionString; }
    const ScratchDatabase& business() const { return *m_business; }
    ManualClock& clock() { return m_clock; }
    const ManualClock& clock() const { return m_clock; }
    TempDir& dir() { return m_dir; }

    // Counts rows on either side, for assertions.
    long long countConfig(const std::string& tableAndWhere);
    long long countBusiness(const std::string& tableAndWhere);

private:
    TempDir m_dir;
    ManualClock m_clock;
    std::string m_configPath;
    std::string m_configConnectionString;
    std::unique_ptr<ScratchDatabase> m_business;
    std::unique_ptr<DataAccess> m_access;
};

}  // namespace velmora::test
