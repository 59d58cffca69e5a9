#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_env.h"

namespace velmora::test {

// The values of one row as text, in the order of the columns; nullopt is Null.
using RowValues = std::vector<std::optional<std::string>>;

// One "INSERT INTO table (a, b) VALUES ('x', NULL)" per row, columns given
// as "a, b", each value quoted with its apostrophes doubled, as both engines
// read it.
std::vector<std::string> InsertSql(const std::string& table, const std::string& columns,
                                   const std::vector<RowValues>& rows);

// The statements that make the engine refuse `when` (INSERT or DELETE) on
// `table`, for every row or only those matching `condition` on the row
// written (NEW) or deleted (OLD); and those that allow it again.
std::vector<std::string> RefuseWritesSql(Engine engine, const std::string& table, const std::string& when,
                                         const std::string& condition = "");
std::vector<std::string> AllowWritesSql(Engine engine, const std::string& table);

// The stand-in programs' call log in a program folder, one entry per start:
// the program's name and its argument (or what it did instead), whole.
using StandInCall = std::pair<std::string, std::string>;
std::vector<StandInCall> StandInCalls(const std::filesystem::path& programFolder);

// A name for a database on the test PostgreSQL server that a test has made
// (an installation), dropped at the end. available() is false without a server.
class ServerDatabaseName {
  public:
    explicit ServerDatabaseName(const std::string& stem);
    ~ServerDatabaseName();
    ServerDatabaseName(const ServerDatabaseName&) = delete;
    ServerDatabaseName& operator=(const ServerDatabaseName&) = delete;

    bool available() const { return !m_source.empty(); }
    const std::string& source() const { return m_source; }
    const std::string& name() const { return m_name; }

  private:
    std::string m_source;
    std::string m_name;
};

}  // namespace velmora::test
