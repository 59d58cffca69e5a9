#include "admin/installation_copy.h"

#include <algorithm>
#include <system_error>

#include "admin/installation.h"
#include "data/connection.h"
#include "data/connection_string.h"
#include "platform/chosen_installation.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileProvider = "Microsoft.ACE.OLEDB.12.0";

// The ways a path inside the source may have been written: as given, and
// with links resolved.
struct Relocation {
    std::vector<std::string> from;
    std::string to;

    // The value with its source prefix replaced, or empty when it lies outside.
    std::string Apply(const std::string& value) const {
        for (const std::string& prefix : from) {
            if (value == prefix) return to;
            if (value.size() > prefix.size() && value.compare(0, prefix.size(), prefix) == 0 &&
                value[prefix.size()] == '/')
                return to + value.substr(prefix.size());
        }
        return {};
    }
};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::unique_ptr<Connection> OpenFile(const fs::path& file, std::string& problem) {
    DbError error;
    auto db = OpenConnection(FileConnectionString(kFileProvider, "", "", file.string()), error);
    if (!db) problem = "cannot open " + file.string() + ": " + error.description;
    return db;
}

// Rewrites the path-valued columns of a table (folder and file settings, and
// the data source of a file database) whose value lies inside the source.
bool RewriteTable(Connection& db, const fs::path& file, const std::string& table, const Relocation& relocation,
                  CopyOutcome& outcome) {
    DbError error;
    auto rs = db.query("SELECT * FROM " + table, error);
    if (!rs) return true;  // a table this database does not have
    std::vector<std::pair<std::string, std::pair<std::string, std::string>>> changes;  // column, old → new
    for (; !rs->eof(); rs->moveNext()) {
        for (size_t i = 0; i < rs->columnCount(); ++i) {
            const std::string& column = rs->columnName(i);
            if (!EndsWith(column, "フォルダ") && !EndsWith(column, "ファイル") && column != "データソース名") continue;
            if (column == "データソース名" && rs->text("db") != "A") continue;
            const std::string value = rs->text(column);
            const std::string moved = relocation.Apply(value);
            if (!moved.empty()) changes.push_back({column, {value, moved}});
        }
    }
    rs.reset();
    for (const auto& [column, change] : changes) {
        auto update = db.prepare("UPDATE " + table + " SET " + column + " = ? WHERE " + column + " = ?", error);
        if (!update || !update->execute({change.second, change.first}, error)) {
            outcome.message = "cannot update " + table + "." + column + " in " + file.string() + ": " + error.description;
            return false;
        }
        outcome.rewritten.push_back(file.string() + ": " + table + "." + column);
    }
    return true;
}

// The business database file the definition of a configuration database names
// (after its rewriting), or empty for a server.
fs::path BusinessFile(Connection& db) {
    DbError error;
    auto rs = db.query("SELECT * FROM データベース定義 WHERE 情報種類 = 'GNR'", error);
    if (!rs || rs->eof() || rs->text("db") != "A") return {};
    return fs::path(rs->text("データソース名"));
}

bool Repoint(const fs::path& target, const Relocation& relocation, CopyOutcome& outcome) {
    std::vector<fs::path> configs;
    InstallationPaths paths(target);
    for (const char* name : {"usrcnfg.accdb", "usrcnfg.mdb"})
        if (fs::is_regular_file(paths.conf / name)) configs.push_back(paths.conf / name);
    // Per-user copies of the configuration (installation kind 1).
    std::error_code ec;
    if (fs::is_directory(paths.users, ec)) {
        for (const fs::directory_entry& user : fs::directory_iterator(paths.users, ec))
            for (const char* name : {"usrcnfg.accdb", "usrcnfg.mdb"})
                if (fs::is_regular_file(user.path() / "conf" / name, ec)) configs.push_back(user.path() / "conf" / name);
    }
    std::vector<fs::path> businessFiles;
    for (const fs::path& config : configs) {
        auto db = OpenFile(config, outcome.message);
        if (!db) return false;
        for (const char* table : {"データベース定義", "動作環境定義"})
            if (!RewriteTable(*db, config, table, relocation, outcome)) return false;
        fs::path business = BusinessFile(*db);
        const std::string inside = relocation.to + "/";
        if (business.empty() || business.string().compare(0, inside.size(), inside) != 0) {
            outcome.sharedBusinessData = true;
        } else if (std::find(businessFiles.begin(), businessFiles.end(), business) == businessFiles.end()) {
            businessFiles.push_back(business);
        }
    }
    // The company's folders, in a business file that now belongs to the copy.
    for (const fs::path& business : businessFiles) {
        if (!fs::is_regular_file(business, ec)) continue;
        auto db = OpenFile(business, outcome.message);
        if (!db) return false;
        for (const char* table : {"Mユーザ", "M事業所", "M他業務連携"})
            if (!RewriteTable(*db, business, table, relocation, outcome)) return false;
    }
    return true;
}

// Checks both ends; fills the relocation.
bool Prepare(const fs::path& source, const fs::path& target, Relocation& relocation, fs::path& from, fs::path& to,
             CopyOutcome& outcome) {
    std::error_code ec;
    from = fs::absolute(source, ec).lexically_normal();
    to = fs::absolute(target, ec).lexically_normal();
    if (from.filename().empty()) from = from.parent_path();
    if (to.filename().empty()) to = to.parent_path();
    if (!fs::is_regular_file(InstallationPaths(from).configDatabase, ec)) {
        outcome.message = from.string() + " is not an installation (no " +
                          InstallationPaths(from).configDatabase.string() + ")";
        return false;
    }
    if (fs::exists(to, ec) && !(fs::is_directory(to, ec) && fs::is_empty(to, ec))) {
        outcome.message = to.string() + " already exists; give a new folder";
        return false;
    }
    const fs::path canonicalFrom = fs::weakly_canonical(from, ec);
    const fs::path canonicalTo = fs::weakly_canonical(to, ec);
    const std::string fromText = canonicalFrom.string() + "/";
    if (canonicalTo == canonicalFrom || canonicalTo.string().compare(0, fromText.size(), fromText) == 0) {
        outcome.message = to.string() + " lies inside " + from.string();
        return false;
    }
    relocation.from = {from.string()};
    if (canonicalFrom != from) relocation.from.push_back(canonicalFrom.string());
    relocation.to = to.string();
    return true;
}

bool CopyTree(const fs::path& from, const fs::path& to, CopyOutcome& outcome) {
    std::error_code ec;
    fs::create_directories(to, ec);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        outcome.message = "cannot copy " + from.string() + " to " + to.string() + ": " + ec.message();
        fs::remove_all(to, ec);
        return false;
    }
    return true;
}

std::string Summary(const char* done, const fs::path& from, const fs::path& to, const CopyOutcome& outcome) {
    std::string text = std::string(done) + " " + from.string() + " to " + to.string();
    if (outcome.sharedBusinessData) text += "; the business database outside the installation stays shared";
    return text;
}

}  // namespace

CopyOutcome CopyInstallation(const fs::path& source, const fs::path& target) {
    CopyOutcome outcome;
    Relocation relocation;
    fs::path from, to;
    if (!Prepare(source, target, relocation, from, to, outcome) || !CopyTree(from, to, outcome)) return outcome;
    if (!Repoint(to, relocation, outcome)) {
        // A half-pointed copy would still write into the original: none is left.
        std::error_code ec;
        fs::remove_all(to, ec);
        return outcome;
    }
    outcome.ok = true;
    outcome.message = Summary("copied", from, to, outcome);
    return outcome;
}

CopyOutcome MoveInstallation(const fs::path& source, const fs::path& target) {
    CopyOutcome outcome;
    Relocation relocation;
    fs::path from, to;
    if (!Prepare(source, target, relocation, from, to, outcome)) return outcome;
    std::error_code ec;
    if (fs::is_directory(to, ec)) fs::remove(to, ec);  // the empty folder given
    fs::rename(from, to, ec);
    const bool renamed = !ec;
    if (!renamed && !CopyTree(from, to, outcome)) return outcome;
    if (!Repoint(to, relocation, outcome)) {
        if (renamed) {
            fs::rename(to, from, ec);
        } else {
            fs::remove_all(to, ec);
        }
        return outcome;
    }
    if (!renamed) fs::remove_all(from, ec);
    fs::path chosen = ReadChosenInstallation().lexically_normal();
    if (chosen.filename().empty()) chosen = chosen.parent_path();
    if (!chosen.empty() && relocation.Apply(chosen.string()) == to.string()) {
        std::string problem;
        WriteChosenInstallation(to, problem);
    }
    outcome.ok = true;
    outcome.message = Summary("moved", from, to, outcome);
    return outcome;
}

}  // namespace velmora
