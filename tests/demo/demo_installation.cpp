#include "demo/demo_installation.h"

#include "admin/installation.h"
#include "app/installation.h"

namespace velmora::test {

DemoInstallation::DemoInstallation(Engine engine, const std::string& stem) {
    InitOptions options;
    options.root = m_dir.path() / "velmora";
    CalendarDate::Parse("20261206", options.today);
    options.programSource = BinaryFolder();
    if (engine == Engine::PostgreSQL) {
        if (!m_catalog.emplace(stem).available()) return;
        options.postgres = PostgresTarget{m_catalog->source(), m_catalog->name(), "postgres", ""};
    }
    InitResult result = InitInstallation(options);
    if (!result.ok) throw std::runtime_error("demo installation failed: " + result.message);
    m_root = options.root.string() + "/";
    m_available = true;
}

ProgramEnvironment DemoInstallation::environment(const std::string& commandLine, bool systemClock) const {
    ProgramEnvironment env;
    env.programFolder = m_root + "prgbin";
    env.commandLine = commandLine;
    env.userName = "yamada";
    env.computerName = "PC-SALES01";
    const TimePoint now = ParseTimestamp("20261206 100000");
    env.clock = systemClock ? ClockSource(SystemNow)
                            : ClockSource([now, offset = m_clockOffset] { return now + *offset; });
    return env;
}

std::unique_ptr<DataAccess> DemoInstallation::open() const {
    auto access = std::make_unique<DataAccess>();
    DatabaseDefinition definition;
    std::string problem;
    if (!OpenInstallationDatabases(*access, m_root, definition, problem))
        throw std::runtime_error("cannot open the demo installation: " + problem);
    return access;
}

void DemoInstallation::business(const std::string& sql) const {
    auto access = open();
    if (!access->ExecuteData(sql)) throw std::runtime_error("business statement failed: " + sql);
    access->CloseConnections();
}

std::string DemoInstallation::value(const std::string& sql) const {
    auto access = open();
    std::unique_ptr<Recordset> rs;
    std::string result;
    if (access->OpenDataRecordset(rs, sql) && !rs->eof()) result = rs->text(size_t{0});
    if (rs) rs->close();
    access->CloseConnections();
    return result;
}

long long DemoInstallation::count(const std::string& tableAndWhere) const {
    return std::stoll("0" + value("SELECT COUNT(*) AS 件数 FROM " + tableAndWhere));
}

}  // namespace velmora::test
