#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/draft_store.h"
#include "screens/entry/draft_content.h"

namespace velmora {

struct EntryScreen;

// The question at start when a program ended without saving its quotation.
inline constexpr const char* kQuestionRestore = "前回終了時に登録されていない見積があります。復元しますか？";
inline constexpr const char* kNoticeRestored = "前回終了時の入力を復元しました。登録するまで見積は保存されていません。";

// Keeps a draft of the unsaved quotation while the screen holds changes, so
// that a crash, a kill or a power cut loses at most the last second of what
// was entered. The screen is copied on the GUI thread at a quiet moment
// after an action, at most about once a second; a thread of its own encodes
// and writes the copy, so typing never waits for the disk.
class DraftJournal {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    DraftJournal(EntryScreen& screen, std::string storePath, DraftOwner owner,
                 DraftInstance self = DraftInstance::Current(), Clock clock = std::chrono::steady_clock::now);
    ~DraftJournal();
    DraftJournal(const DraftJournal&) = delete;
    DraftJournal& operator=(const DraftJournal&) = delete;

    // Something was done on the screen: the draft follows it soon.
    void Noted();
    // The quotation was saved or deleted, or its changes discarded.
    void Discard();
    // The run ends: changes still pending are kept for the next start (an
    // end by logout or a termination signal); otherwise the draft goes.
    void Finish();
    // At start: offers the drafts of this installation, office and staff
    // member left by programs no longer running, newest first, until one is
    // restored; the ones discarded go, and the question put off leaves the
    // rest for the next start. True when one was restored.
    bool OfferRestore();
    // Waits until everything handed to the writer is on disk.
    void Flush();

    const DraftInstance& instance() const { return m_self; }
    const std::string& storePath() const { return m_path; }
    // What the GUI thread spent on the latest copy (the benchmark's figure).
    std::chrono::nanoseconds lastCopyTime() const { return m_copyTime; }

private:
    struct Writer;
    void due();
    void write();

    EntryScreen& m_s;
    std::string m_path;
    DraftOwner m_owner;
    DraftInstance m_self;
    Clock m_clock;
    std::unique_ptr<Writer> m_writer;
    std::shared_ptr<const DraftContent> m_last;  // what the store holds (or is about to)
    std::chrono::steady_clock::time_point m_lastWrite{};
    std::chrono::nanoseconds m_copyTime{0};
    bool m_armed = false;
    bool m_finished = false;
    bool m_failureShown = false;
};

// The question with what the draft holds: number, customer and time.
std::string RestoreQuestion(const DraftRow& row, bool loaded);

}  // namespace velmora
