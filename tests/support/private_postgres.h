#pragma once

#include <string>

#include "support/test_env.h"

namespace velmora::test {

// A PostgreSQL server of the test's own, on a private socket folder, that
// the test may stop and start at will (the shared test server is used by
// other tests at the same time and must stay up). As root it runs as the
// postgres user, as the test script's server does.
class PrivatePostgres {
public:
    PrivatePostgres();
    ~PrivatePostgres();
    PrivatePostgres(const PrivatePostgres&) = delete;
    PrivatePostgres& operator=(const PrivatePostgres&) = delete;

    // Whether the server is up; when it never came up, problem() tells why.
    bool running() const { return m_running; }
    const std::string& problem() const { return m_problem; }
    // The Data Source for connection strings: "socket-folder:port".
    std::string dataSource() const;

    // Fast shutdown: every session is ended at once, as an administrator's
    // restart does. Both wait until the server is down or up.
    bool Stop();
    bool Start();

private:
    bool run(const std::string& command);

    TempDir m_dir;
    std::string m_bin;
    std::string m_as;
    std::string m_problem;
    bool m_running = false;
};

// Whether the tests that need PostgreSQL run here (the same rule as for the
// shared test server).
bool PostgresTestsWanted();

}  // namespace velmora::test
