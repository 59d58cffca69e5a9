#pragma once

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace velmora {

// One running program: the computer, the boot it runs in, its process id
// and the process's start time (so a reused process id is not mistaken for
// it).
struct DraftInstance {
    std::string host;
    std::string boot;
    long pid = 0;
    std::string started;

    // This process.
    static DraftInstance Current();
    std::string key() const;
    // Still running: the same computer and boot, and a process of that id
    // that started at the same time. A program of another computer counts
    // as running (its folder of drafts may be shared, its process cannot be
    // checked from here).
    bool running() const;
    friend bool operator==(const DraftInstance&, const DraftInstance&) = default;
};

// Whose unsaved quotation a draft holds.
struct DraftOwner {
    std::string installation;  // the installation's root folder
    std::string office;
    std::string staff;
    friend bool operator==(const DraftOwner&, const DraftOwner&) = default;
};

struct DraftRow {
    DraftInstance instance;
    DraftOwner owner;
    std::string savedAt;   // "yyyy/mm/dd hh:mm:ss", local time
    std::string number;    // the quotation's number, for the question at start
    std::string customer;  // its customer's name
    std::string payload;   // the screen as it was (DraftContent encoded)
};

// The drafts of unsaved quotations of one computer user: an SQLite file in
// the user's state folder, one row per running program, each written in one
// transaction so that an interrupted write leaves the previous draft whole.
// Never the business database: the suite's other programs do not see it.
class DraftStore {
public:
    // $XDG_STATE_HOME/velmora/drafts.db, else ~/.local/state/velmora/drafts.db.
    static std::string DefaultPath();

    // Opens (and makes) the store; folders are made private to the user.
    explicit DraftStore(std::string path);
    ~DraftStore();
    DraftStore(const DraftStore&) = delete;
    DraftStore& operator=(const DraftStore&) = delete;

    bool usable() const { return m_db != nullptr; }
    const std::string& path() const { return m_path; }
    // What went wrong last ("" after a success).
    const std::string& error() const { return m_error; }

    // Replaces the instance's draft.
    bool Put(const DraftRow& row);
    bool Remove(const DraftInstance& instance);
    std::optional<DraftRow> Get(const DraftInstance& instance);
    // Drafts of the owner whose programs are no longer running, newest first.
    std::vector<DraftRow> Orphans(const DraftOwner& owner);
    // Makes an orphan the draft of `to`; false when another program took it
    // first (or it is gone).
    bool Claim(const DraftInstance& from, const DraftInstance& to);

private:
    bool exec(const char* sql);
    bool fail();

    std::string m_path;
    sqlite3* m_db = nullptr;
    std::string m_error;
};

}  // namespace velmora
