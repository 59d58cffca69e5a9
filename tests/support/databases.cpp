#include "support/databases.h"

#include "data/connection_string.h"
#include "data/schema_text.h"

namespace velmora::test {

Databases::Databases(Engine engine, const std::string& timestamp, const std::string& pgSource) : m_clock(timestamp) {
    m_business = std::make_unique<ScratchDatabase>(engine, true, pgSource);
    if (!m_business->available()) return;
    m_configPath = m_dir.file("usrcnfg.accdb");
    DbError error;
    auto config = CreateSqliteDatabase(m_configPath, error);
    if (!config || !config->execute(std::string(ConfigSchemaSql()), error))
        throw std::runtime_error("cannot create the configuration database: " + error.description);
    m_configConnectionString = ConfigConnectionString(1, m_configPath + ";");
    m_access = openAnother("Velmora", "sato");
}

std::unique_ptr<DataAccess> Databases::openAnother(const std::string& programId, const std::string& userId) const {
    auto access = std::make_unique<DataAccess>(m_clock.source());
    access->identity() = {programId, "001", "00012", userId, "PC-EIGYO01"};
    if (!access->OpenConfigConnection(m_configConnectionString) ||
        !access->OpenDataConnection(m_business->connectionString()))
        throw std::runtime_error("cannot open the test databases");
    return access;
}

static long long count(DataAccess& access, bool config, const std::string& tableAndWhere) {
    std::unique_ptr<Recordset> rs;
    std::string sql = "SELECT COUNT(*) AS n FROM " + tableAndWhere;
    bool found = config ? access.OpenConfigRecordset(rs, sql) : access.OpenDataRecordset(rs, sql);
    return found ? rs->integer("n") : -1;
}

long long Databases::countConfig(const std::string& tableAndWhere) { return count(*m_access, true, tableAndWhere); }
long long Databases::countBusiness(const std::string& tableAndWhere) {
    return count(*m_access, false, tableAndWhere);
}

}  // namespace velmora::test
