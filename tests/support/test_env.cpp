#include "support/test_env.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "data/connection_string.h"
#include "data/postgres/postgres_connection.h"
#include "data/schema_text.h"

namespace velmora::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test.XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made == nullptr) throw std::runtime_error("cannot create a temporary folder");
    m_path = made;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string EngineName(const testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

std::string PostgresDataSource() {
    const char* value = std::getenv("VELMORA_TEST_PG");
    return value ? value : "";
}

bool PostgresRequired() {
    const char* value = std::getenv("VELMORA_REQUIRE_PG");
    return value && std::string(value) == "1";
}

std::string BinaryFolder() {
    const char* value = std::getenv("VELMORA_BIN_DIR");
    return value && *value ? value : VELMORA_BUILD_BIN_DIR;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (m_old)
        setenv(m_name, m_old->c_str(), 1);
    else
        unsetenv(m_name);
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string UniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
    std::random_device rd;
    return stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" + std::to_string(rd() % 100000);
}

ScratchDatabase::ScratchDatabase(Engine engine, bool withSchema, const std::string& pgSource)
    : m_engine(engine), m_pgSource(pgSource.empty() ? PostgresDataSource() : pgSource) {
    DbError error;
    if (engine == Engine::SQLite) {
        m_dir = std::make_unique<TempDir>();
        m_name = m_dir->file("business.sqlite");
        if (!CreateSqliteDatabase(m_name, error)) throw std::runtime_error(error.description);
        m_connectionString = FileConnectionString("Microsoft.ACE.OLEDB.12.0", "", "", m_name);
        m_available = true;
    } else {
        const std::string& source = m_pgSource;
        if (source.empty()) return;
        m_name = UniqueName("velmora_test");
        if (!CreatePostgresDatabase(source, m_name, "postgres", "", error))
            throw std::runtime_error("cannot create test database: " + error.description);
        m_connectionString = ServerConnectionString("SQLOLEDB", "postgres", "", source, m_name);
        m_available = true;
    }
    if (withSchema) {
        auto connection = connect();
        if (!connection || !connection->execute(std::string(BusinessSchemaSql()), error))
            throw std::runtime_error("cannot load the business schema: " + error.description);
    }
}

ScratchDatabase::~ScratchDatabase() {
    if (m_engine == Engine::PostgreSQL && m_available) {
        DbError ignored;
        DropPostgresDatabase(m_pgSource, m_name, "postgres", "", ignored);
    }
}

std::unique_ptr<Connection> ScratchDatabase::connect() const {
    DbError error;
    auto connection = OpenConnection(m_connectionString, error);
    if (!connection) ADD_FAILURE() << "cannot open " << m_connectionString << ": " << error.description;
    return connection;
}

}  // namespace velmora::test
