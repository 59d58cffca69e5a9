#include "app/draft_store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/identity.h"

namespace velmora {

namespace {

std::string ReadFirstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Field 22 of /proc/<pid>/stat: the start time in clock ticks since boot.
// The process name before it may hold blanks and parentheses: the fields
// are counted from the last ')'.
std::string ProcessStartTime(long pid) {
    const std::string stat = ReadFirstLine("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        if (!(fields >> field)) return {};
    return field;
}

std::string BootId() { return ReadFirstLine("/proc/sys/kernel/random/boot_id"); }

// Makes every missing folder of `folder`, private to the user.
void MakeFolders(const std::string& folder) {
    for (std::size_t at = 1; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (!part.empty()) ::mkdir(part.c_str(), 0700);
    }
}

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS drafts ("
    " instance TEXT PRIMARY KEY, host TEXT NOT NULL, boot TEXT NOT NULL, pid INTEGER NOT NULL,"
    " started TEXT NOT NULL, installation TEXT NOT NULL, office TEXT NOT NULL, staff TEXT NOT NULL,"
    " saved_at TEXT NOT NULL, number TEXT NOT NULL, customer TEXT NOT NULL, payload BLOB NOT NULL)";

constexpr const char* kColumns =
    "host, boot, pid, started, installation, office, staff, saved_at, number, customer, payload";

// A prepared statement that is finalised however the function leaves.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    void bind(int at, const std::string& text) {
        sqlite3_bind_text(m_stmt, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bindBlob(int at, const std::string& bytes) {
        sqlite3_bind_blob(m_stmt, at, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    }
    void bind(int at, long value) { sqlite3_bind_int64(m_stmt, at, value); }
    int step() { return sqlite3_step(m_stmt); }
    std::string text(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
                     : std::string();
    }
    long number(int column) const { return static_cast<long>(sqlite3_column_int64(m_stmt, column)); }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

DraftRow ReadRow(const Statement& s) {
    DraftRow row;
    row.instance = {s.text(0), s.text(1), s.number(2), s.text(3)};
    row.owner = {s.text(4), s.text(5), s.text(6)};
    row.savedAt = s.text(7);
    row.number = s.text(8);
    row.customer = s.text(9);
    row.payload = s.text(10);
    return row;
}

}  // namespace

DraftInstance DraftInstance::Current() {
    const long pid = static_cast<long>(::getpid());
    return {ReadComputerName(), BootId(), pid, ProcessStartTime(pid)};
}

std::string DraftInstance::key() const { return host + "/" + boot + "/" + std::to_string(pid) + "/" + started; }

bool DraftInstance::running() const {
    if (host != ReadComputerName()) return true;
    if (boot != BootId()) return false;
    const std::string now = ProcessStartTime(pid);
    return !now.empty() && now == started;
}

std::string DraftStore::DefaultPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // A relative XDG path is not a folder to trust: it is passed over for the default.
    const std::string folder =
        state && state[0] == '/' ? std::string(state) : HomeFolder() + "/.local/state";
    return folder + "/velmora/drafts.db";
}

DraftStore::DraftStore(std::string path) : m_path(std::move(path)) {
    const auto slash = m_path.rfind('/');
    if (slash != std::string::npos && slash > 0) MakeFolders(m_path.substr(0, slash));
    const mode_t old = ::umask(077);
    const int rc = sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                                   nullptr);
    ::umask(old);
    if (rc != SQLITE_OK) {
        fail();
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    // Two windows of the same user write to the one file.
    sqlite3_busy_timeout(m_db, 5000);
    if (!exec("PRAGMA synchronous=FULL") || !exec(kSchema)) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

DraftStore::~DraftStore() { sqlite3_close(m_db); }

bool DraftStore::fail() {
    m_error = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    if (m_error.empty()) m_error = "unknown error";
    return false;
}

bool DraftStore::exec(const char* sql) {
    if (!m_db) return false;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return fail();
    m_error.clear();
    return true;
}

bool DraftStore::Put(const DraftRow& row) {
    if (!m_db) return false;
    const std::string sql = std::string("INSERT OR REPLACE INTO drafts (instance, ") + kColumns +
                            ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?)";
    Statement s(m_db, sql.c_str());
    if (!s) return fail();
    s.bind(1, row.instance.key());
    s.bind(2, row.instance.host);
    s.bind(3, row.instance.boot);
    s.bind(4, row.instance.pid);
    s.bind(5, row.instance.started);
    s.bind(6, row.owner.installation);
    s.bind(7, row.owner.office);
    s.bind(8, row.owner.staff);
    s.bind(9, row.savedAt);
    s.bind(10, row.number);
    s.bind(11, row.customer);
    s.bindBlob(12, row.payload);
    // One statement is one transaction: the old row stays until the new one is whole.
    if (s.step() != SQLITE_DONE) return fail();
    m_error.clear();
    return true;
}

bool DraftStore::Remove(const DraftInstance& instance) {
    if (!m_db) return false;
    Statement s(m_db, "DELETE FROM drafts WHERE instance = ?");
    if (!s) return fail();
    s.bind(1, instance.key());
    if (s.step() != SQLITE_DONE) return fail();
    m_error.clear();
    return true;
}

std::optional<DraftRow> DraftStore::Get(const DraftInstance& instance) {
    if (!m_db) return std::nullopt;
    const std::string sql = std::string("SELECT ") + kColumns + " FROM drafts WHERE instance = ?";
    Statement s(m_db, sql.c_str());
    if (!s) return fail(), std::nullopt;
    s.bind(1, instance.key());
    if (s.step() != SQLITE_ROW) return std::nullopt;
    return ReadRow(s);
}

std::vector<DraftRow> DraftStore::Orphans(const DraftOwner& owner) {
    std::vector<DraftRow> rows;
    if (!m_db) return rows;
    const std::string sql = std::string("SELECT ") + kColumns +
                            " FROM drafts WHERE installation = ? AND office = ? AND staff = ?"
                            " ORDER BY saved_at DESC";
    Statement s(m_db, sql.c_str());
    if (!s) return fail(), rows;
    s.bind(1, owner.installation);
    s.bind(2, owner.office);
    s.bind(3, owner.staff);
    while (s.step() == SQLITE_ROW) {
        DraftRow row = ReadRow(s);
        if (!row.instance.running()) rows.push_back(std::move(row));
    }
    return rows;
}

bool DraftStore::Claim(const DraftInstance& from, const DraftInstance& to) {
    if (!m_db || !exec("BEGIN IMMEDIATE")) return false;
    bool claimed = false;
    {
        Statement drop(m_db, "DELETE FROM drafts WHERE instance = ?");
        Statement take(m_db, "UPDATE drafts SET instance = ?, host = ?, boot = ?, pid = ?, started = ? "
                             "WHERE instance = ?");
        if (drop && take) {
            drop.bind(1, to.key());
            take.bind(1, to.key());
            take.bind(2, to.host);
            take.bind(3, to.boot);
            take.bind(4, to.pid);
            take.bind(5, to.started);
            take.bind(6, from.key());
            claimed = drop.step() == SQLITE_DONE && take.step() == SQLITE_DONE && sqlite3_changes(m_db) == 1;
        }
    }
    if (!claimed) {
        fail();
        exec("ROLLBACK");
        return false;
    }
    return exec("COMMIT");
}

}  // namespace velmora
