#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "data/connection.h"

namespace velmora::test {

// A folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

enum class Engine { SQLite, PostgreSQL };
std::string EngineName(const testing::TestParamInfo<Engine>& info);

// The test PostgreSQL server, as a Data Source ("socket-folder:port"), or empty
// when none runs. scripts/test starts one and requires its use.
std::string PostgresDataSource();
bool PostgresRequired();

// A fresh, empty business database on the engine, dropped at the end.
// available() is false (and the test should skip) only when PostgreSQL is
// asked for and no test server runs outside scripts/test.
class ScratchDatabase {
public:
    // pgSource: the server to use instead of the test server.
    explicit ScratchDatabase(Engine engine, bool withSchema = false, const std::string& pgSource = "");
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    bool available() const { return m_available; }
    Engine engine() const { return m_engine; }
    // In the suite's form: an SQLite file path or a server with a catalog.
    const std::string& connectionString() const { return m_connectionString; }
    std::unique_ptr<Connection> connect() const;
    const std::string& databaseName() const { return m_name; }

private:
    Engine m_engine;
    bool m_available = false;
    std::string m_connectionString;
    std::string m_name;
    std::string m_pgSource;
    std::unique_ptr<TempDir> m_dir;
};

// Sets an environment variable (nullopt: unsets it) while the object lives.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A file's whole content; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& file);

// The folder of the built programs (VELMORA_BIN_DIR overrides it).
std::string BinaryFolder();

// A unique name for a database or a file, from the running test and the process.
std::string UniqueName(const std::string& stem);

// Skips the test when the database cannot exist here; fails instead under scripts/test.
#define VELMORA_REQUIRE_DATABASE(db)                                                            \
    do {                                                                                          \
        if (!(db).available()) {                                                                  \
            if (::velmora::test::PostgresRequired()) FAIL() << "the test PostgreSQL server is not running"; \
            GTEST_SKIP() << "no test PostgreSQL server (VELMORA_TEST_PG); run scripts/test";    \
        }                                                                                         \
    } while (0)

}  // namespace velmora::test
