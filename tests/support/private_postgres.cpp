#include "support/private_postgres.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace velmora::test {

namespace {

// The newest installed server version's programs.
std::string serverBinaries() {
    std::error_code ec;
    int newest = -1;
    std::string found;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
        const std::string version = entry.path().filename().string();
        if (version.empty() || version.find_first_not_of("0123456789") != std::string::npos) continue;
        if (std::stoi(version) > newest && std::filesystem::exists(entry.path() / "bin" / "pg_ctl", ec)) {
            newest = std::stoi(version);
            found = (entry.path() / "bin").string();
        }
    }
    return found;
}

}  // namespace

bool PostgresTestsWanted() { return !PostgresDataSource().empty() || PostgresRequired(); }

PrivatePostgres::PrivatePostgres() : m_bin(serverBinaries()) {
    if (m_bin.empty()) {
        m_problem = "no PostgreSQL server binaries under /usr/lib/postgresql";
        return;
    }
    if (geteuid() == 0) {
        // The server refuses to run as root.
        std::filesystem::permissions(m_dir.path(), std::filesystem::perms::all);
        m_as = "runuser -u postgres -- ";
    }
    const std::string data = m_dir.file("data");
    if (!run(m_bin + "/initdb -D " + data + " -U postgres -A trust -E UTF8 --locale=C --no-sync >" +
             m_dir.file("initdb.log") + " 2>&1")) {
        m_problem = "initdb failed, see " + m_dir.file("initdb.log");
        return;
    }
    Start();
}

PrivatePostgres::~PrivatePostgres() {
    if (!m_bin.empty() && std::filesystem::exists(m_dir.file("data/postmaster.pid")))
        run(m_bin + "/pg_ctl -D " + m_dir.file("data") + " -m immediate -s -w stop >/dev/null 2>&1");
}

std::string PrivatePostgres::dataSource() const { return m_dir.path().string() + ":5432"; }

bool PrivatePostgres::run(const std::string& command) { return std::system((m_as + command).c_str()) == 0; }

bool PrivatePostgres::Stop() {
    if (!run(m_bin + "/pg_ctl -D " + m_dir.file("data") + " -m fast -s -w stop >/dev/null 2>&1")) return false;
    m_running = false;
    return true;
}

bool PrivatePostgres::Start() {
    bool started = run(m_bin + "/pg_ctl -D " + m_dir.file("data") + " -l " + m_dir.file("server.log") +
                       " -w -s -o \"-k " + m_dir.path().string() +
                       " -p 5432 -c listen_addresses='' -c fsync=off -c synchronous_commit=off\" start");
    if (!started) m_problem = "the server did not start, see " + m_dir.file("server.log");
    m_running = started;
    return started;
}

}  // namespace velmora::test
