#include "admin/installation.h"

#include <system_error>

#include "admin/config_seed.h"
#include "admin/demo_context.h"
#include "admin/demo_quotations.h"
#include "admin/quotation_history.h"
#include "app/installation.h"
#include "app/session.h"
#include "admin/demo_data.h"
#include "data/connection_string.h"
#include "data/postgres/postgres_connection.h"
#include "data/schema_text.h"
#include "platform/cipher.h"

namespace velmora {

namespace fs = std::filesystem;

InstallationPaths::InstallationPaths(const fs::path& rootFolder)
    : root(rootFolder),
      programs(root / "prgbin"),
      conf(root / "conf"),
      configDatabase(conf / "usrcnfg.accdb"),
      cipherKey(conf / "cipher.key"),
      report(root / "report"),
      reportDatabase(report / "repdb.accdb"),
      reportFormDatabase(report / "repfrmdb.accdb"),
      manual(root / "manual"),
      users(root / "users"),
      data(root / "data"),
      businessDatabase(data / "salesdb.accdb"),
      documents(root / "documents"),
      images(report / "image"),
      textOutput(root / "output") {}

const std::vector<std::string>& InstalledProgramNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const MenuProgram& program : CarneloPrograms()) list.emplace_back(program.id);
        return list;
    }();
    return names;
}

bool RefreshPrograms(const fs::path& root, const fs::path& source, std::vector<std::string>& copied,
                     std::string& error) {
    InstallationPaths paths(root);
    std::error_code ec;
    // Only into an installation: a mistyped folder would otherwise get a
    // prgbin/ of programs that cannot run there.
    if (!fs::is_regular_file(paths.configDatabase, ec)) {
        error = root.string() + " is not an installation (no " + paths.configDatabase.string() + ")";
        return false;
    }
    fs::create_directories(paths.programs, ec);
    if (!fs::is_directory(paths.programs)) {
        error = "cannot create " + paths.programs.string();
        return false;
    }
    if (fs::equivalent(source, paths.programs, ec)) return true;
    for (const std::string& name : InstalledProgramNames()) {
        fs::path from = source / name;
        // The issuing program is built here under a name of its own.
        if (!fs::is_regular_file(from) && name == "Orvessa") from = source / "velmora-issue";
        // Siblings that are not built here are played by the stand-in.
        if (!fs::is_regular_file(from) && name != "Velmora") from = source / "velmora-standin";
        if (!fs::is_regular_file(from)) continue;
        // Copy beside the target and rename over it: a running program keeps its
        // old file and the next start takes the new one.
        fs::path target = paths.programs / name;
        fs::path partial = paths.programs / (name + ".new");
        bool done = fs::copy_file(from, partial, fs::copy_options::overwrite_existing, ec);
        if (done) {
            fs::permissions(partial, fs::status(from).permissions(), ec);
            done = !ec;
        }
        if (done) {
            fs::rename(partial, target, ec);
            done = !ec;
        }
        if (!done) {
            error = "cannot copy " + from.string() + " to " + target.string() + ": " + ec.message();
            fs::remove(partial, ec);
            return false;
        }
        copied.push_back(name);
    }
    return true;
}

namespace {

// Quotations stored in a new installation, so that its lists and history are
// not empty; they are dated every third day back from today.
constexpr int kDemoQuotations = 30;
// The years the quotation history of a large installation reaches back.
constexpr int kHistoryYears = 10;

void RemoveDatabaseFile(const fs::path& file) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(file.string() + suffix, ignored);
}

bool LoadSchema(Connection& db, std::string_view ddl, const std::string& what, std::string& error) {
    DbError failure;
    if (db.execute(std::string(ddl), failure)) return true;
    error = "cannot create the tables of the " + what + ": " + failure.description;
    return false;
}

// Whether the catalog exists and holds tables already.
bool PostgresHasTables(const PostgresTarget& target, bool& exists) {
    DbError error;
    auto db = OpenPostgres(target.dataSource, target.database, target.user, target.password, error);
    exists = db != nullptr;
    if (!db) return false;
    auto rs = db->query("SELECT COUNT(*) AS 件数 FROM information_schema.tables WHERE table_schema = 'public'", error);
    return rs && rs->integer("件数") > 0;
}

}  // namespace

InitResult InitInstallation(const InitOptions& options) {
    InitResult result;
    std::error_code ec;
    InstallationPaths paths(fs::absolute(options.root, ec));
    const std::string tryReplace = "; run init again with --replace to build it anew";

    if (!options.replace) {
        for (const fs::path& existing : {paths.configDatabase, paths.businessDatabase}) {
            if (fs::exists(existing)) {
                result.message = paths.root.string() + " already holds an installation (" + existing.string() + ")" + tryReplace;
                return result;
            }
        }
    }
    bool catalogExists = false;
    if (options.postgres && PostgresHasTables(*options.postgres, catalogExists) && !options.replace) {
        result.message = "the PostgreSQL database " + options.postgres->database + " already holds tables" + tryReplace;
        return result;
    }

    for (const fs::path& file : {paths.configDatabase, paths.reportDatabase, paths.reportFormDatabase, paths.businessDatabase})
        RemoveDatabaseFile(file);
    fs::remove(paths.cipherKey, ec);
    for (const fs::path& folder : {paths.programs, paths.conf, paths.report, paths.manual, paths.users, paths.documents,
                                   paths.images, paths.textOutput}) {
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder)) {
            result.message = "cannot create the folder " + folder.string();
            return result;
        }
    }

    if (!Cipher::CreateKeyFile(paths.cipherKey.string())) {
        result.message = "cannot write the cipher key " + paths.cipherKey.string();
        return result;
    }
    std::optional<Cipher> cipher = Cipher::FromKeyFile(paths.cipherKey.string());

    DbError failure;
    for (const fs::path& file : {paths.reportDatabase, paths.reportFormDatabase}) {
        if (!CreateSqliteDatabase(file.string(), failure)) {
            result.message = "cannot create " + file.string() + ": " + failure.description;
            return result;
        }
    }

    // The business database: a file of its own, or a catalog on the server.
    DatabaseDefinition source;
    std::unique_ptr<Connection> business;
    if (options.postgres) {
        const PostgresTarget& pg = *options.postgres;
        if (catalogExists && !DropPostgresDatabase(pg.dataSource, pg.database, pg.user, pg.password, failure)) {
            result.message = "cannot drop the PostgreSQL database " + pg.database + ": " + failure.description;
            return result;
        }
        if (!CreatePostgresDatabase(pg.dataSource, pg.database, pg.user, pg.password, failure)) {
            result.message = "cannot create the PostgreSQL database " + pg.database + ": " + failure.description;
            return result;
        }
        business = OpenPostgres(pg.dataSource, pg.database, pg.user, pg.password, failure);
        source = {"S", "SQLOLEDB", "", pg.dataSource, pg.database, pg.user, pg.password};
    } else {
        fs::create_directories(paths.data, ec);
        business = CreateSqliteDatabase(paths.businessDatabase.string(), failure);
        source = {"A", "Microsoft.ACE.OLEDB.12.0", paths.businessDatabase.string(), "", "", "", ""};
    }
    if (!business) {
        result.message = "cannot open the business database: " + failure.description;
        return result;
    }
    DemoSettings demo;
    demo.today = options.today;
    demo.large = options.large;
    demo.documentFolder = paths.documents.string();
    demo.imageFolder = paths.images.string();
    demo.textFolder = paths.textOutput.string();
    demo.cipher = cipher ? &*cipher : nullptr;
    if (!LoadSchema(*business, BusinessSchemaSql(), "business database", result.message) ||
        !SeedBusinessDatabase(*business, demo, result.message))
        return result;
    business.reset();
    // The history ends before the demo's own quotations, which the program
    // then saves with the next numbers of the counters.
    if (options.historyQuotations > 0) {
        QuotationHistorySettings history;
        history.count = options.historyQuotations;
        const CalendarDate& today = options.today;
        history.firstDate = RollOver(today.year - kHistoryYears, today.month, today.day + 1).Text();
        history.lastDate = DaysBefore(today, kDemoQuotations * 3 + 1);
        if (options.progress)
            history.progress = [&](long long done, long long total) { options.progress("quotations", done, total); };
        if (!SeedQuotationHistory(DataConnectionString(source), history, result.message)) return result;
    }
    if (!SeedDemoQuotations(DataConnectionString(source), options.today, kDemoQuotations, result.message))
        return result;
    // Statistics for the planner after the bulk load; searches in a large
    // installation otherwise start with guesses. Over a million rows this
    // takes a while of its own.
    const bool tellStatistics = options.progress && (options.large || options.historyQuotations > 0);
    if (tellStatistics) options.progress("statistics", 0, 1);
    business = OpenConnection(DataConnectionString(source), failure);
    if (business) business->execute("ANALYZE", failure);
    business.reset();
    if (tellStatistics) options.progress("statistics", 1, 1);

    // The configuration database last: its presence marks a finished tree.
    auto config = CreateSqliteDatabase(paths.configDatabase.string(), failure);
    if (!config) {
        result.message = "cannot create " + paths.configDatabase.string() + ": " + failure.description;
        return result;
    }
    if (!LoadSchema(*config, ConfigSchemaSql(), "configuration database", result.message) ||
        !SeedConfigurationDatabase(*config, source, DemoStaffList(options.today), result.message))
        return result;
    config.reset();

    if (!options.programSource.empty() &&
        !RefreshPrograms(paths.root, options.programSource, result.programs, result.message))
        return result;
    result.ok = true;
    result.message = "installation ready in " + paths.root.string();
    return result;
}

}  // namespace velmora
