#include "support/statements.h"

#include <fstream>

#include "data/postgres/postgres_connection.h"

namespace velmora::test {

namespace {

std::string quoted(const std::string& value) {
    std::string text = "'";
    for (char c : value) text += c == '\'' ? std::string("''") : std::string(1, c);
    return text + "'";
}

}  // namespace

std::vector<std::string> InsertSql(const std::string& table, const std::string& columns,
                                   const std::vector<RowValues>& rows) {
    std::vector<std::string> statements;
    for (const RowValues& row : rows) {
        std::string texts;
        for (const auto& value : row)
            texts += (texts.empty() ? "" : ", ") + (value ? quoted(*value) : "NULL");
        statements.push_back("INSERT INTO " + table + " (" + columns + ") VALUES (" + texts + ")");
    }
    return statements;
}

std::vector<std::string> RefuseWritesSql(Engine engine, const std::string& table, const std::string& when,
                                         const std::string& condition) {
    const std::string row = when == "DELETE" ? "OLD" : "NEW";
    if (engine == Engine::SQLite)
        return {"CREATE TRIGGER refuse BEFORE " + when + " ON " + table +
                (condition.empty() ? "" : " WHEN " + row + "." + condition) +
                " BEGIN SELECT RAISE(ABORT, 'refused'); END"};
    const std::string raise = "RAISE EXCEPTION 'refused';";
    return {
        "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN " +
            (condition.empty() ? raise : "IF " + row + "." + condition + " THEN " + raise + " END IF;") +
            " RETURN " + row + "; END $$ LANGUAGE plpgsql",
        "CREATE TRIGGER refuse BEFORE " + when + " ON " + table + " FOR EACH ROW EXECUTE FUNCTION refuse()"};
}

std::vector<std::string> AllowWritesSql(Engine engine, const std::string& table) {
    if (engine == Engine::SQLite) return {"DROP TRIGGER refuse"};
    return {"DROP TRIGGER refuse ON " + table, "DROP FUNCTION refuse()"};
}

std::vector<StandInCall> StandInCalls(const std::filesystem::path& programFolder) {
    std::ifstream log(programFolder / "standin-calls.log");
    std::vector<StandInCall> calls;
    // Each line: the time, the program and what it was started with, by tabs.
    for (std::string line; std::getline(log, line);) {
        const size_t program = line.find('\t') + 1, argument = line.find('\t', program) + 1;
        calls.emplace_back(line.substr(program, argument - program - 1), line.substr(argument));
    }
    return calls;
}

ServerDatabaseName::ServerDatabaseName(const std::string& stem)
    : m_source(PostgresDataSource()), m_name(UniqueName(stem)) {}

ServerDatabaseName::~ServerDatabaseName() {
    if (m_source.empty()) return;
    DbError ignored;
    DropPostgresDatabase(m_source, m_name, "postgres", "", ignored);
}

}  // namespace velmora::test
