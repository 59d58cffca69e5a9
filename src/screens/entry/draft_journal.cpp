#include "screens/entry/draft_journal.h"

#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>

#include "screens/entry/detail_pages.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/line_undo.h"
#include "data/sql_text.h"

namespace velmora {

namespace {

constexpr auto kInterval = std::chrono::milliseconds(1000);

std::string LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

std::string CustomerOf(const QuotationHeader& h) {
    std::string name = TrimBlanks(h.得意先名称A);
    const std::string second = TrimBlanks(h.得意先名称B);
    if (!second.empty()) name += (name.empty() ? "" : " ") + second;
    return name.empty() ? h.得意先コード : name;
}

}  // namespace

// The thread that encodes and writes drafts. Only the latest request
// counts: a draft handed over while the previous one is still being written
// replaces any that waited.
struct DraftJournal::Writer {
    struct Job {
        std::shared_ptr<const DraftContent> content;  // null: remove the draft
        DraftOwner owner;
    };

    Writer(std::string path, DraftInstance self) : m_path(std::move(path)), m_self(std::move(self)) {
        m_thread = std::thread([this] { run(); });
    }
    ~Writer() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void post(Job job) {
        {
            std::lock_guard lock(m_mutex);
            m_job = std::move(job);
            m_pending = true;
        }
        m_wake.notify_all();
    }
    void flush() {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return !m_pending && !m_writing; });
    }
    std::string failure() {
        std::lock_guard lock(m_mutex);
        return m_failure;
    }

private:
    void run() {
        std::unique_ptr<DraftStore> store;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_pending || m_stop; });
            if (!m_pending) break;
            Job job = std::move(m_job);
            m_pending = false;
            m_writing = true;
            lock.unlock();
            if (!store || !store->usable()) store = std::make_unique<DraftStore>(m_path);
            std::string failure;
            if (job.content) {
                const DraftContent& d = *job.content;
                DraftRow row{m_self, job.owner, LocalTime(), d.header.営業見積No, CustomerOf(d.header),
                             EncodeDraft(d)};
                if (!store->Put(row)) failure = store->error();
            } else if (!store->Remove(m_self)) {
                failure = store->error();
            }
            lock.lock();
            m_failure = failure;
            m_writing = false;
            if (!m_pending) m_idle.notify_all();
        }
        m_writing = false;
        m_idle.notify_all();
    }

    std::string m_path;
    DraftInstance m_self;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_idle;
    Job m_job;
    bool m_pending = false, m_writing = false, m_stop = false;
    std::string m_failure;
    std::thread m_thread;
};

DraftJournal::DraftJournal(EntryScreen& screen, std::string storePath, DraftOwner owner, DraftInstance self,
                           Clock clock)
    : m_s(screen),
      m_path(std::move(storePath)),
      m_owner(std::move(owner)),
      m_self(std::move(self)),
      m_clock(std::move(clock)),
      m_writer(std::make_unique<Writer>(m_path, m_self)) {}

DraftJournal::~DraftJournal() { Finish(); }

void DraftJournal::Noted() {
    if (m_armed || m_finished || !m_s.view) return;
    m_armed = true;
    const auto since = m_clock() - m_lastWrite;
    const auto wait = since >= kInterval ? std::chrono::milliseconds(0)
                                         : std::chrono::duration_cast<std::chrono::milliseconds>(kInterval - since);
    m_s.view->RunQuietly(static_cast<int>(wait.count()), [this] {
        m_armed = false;
        due();
    });
}

void DraftJournal::due() {
    if (m_finished) return;
    // The screen is in the middle of something (a linked program answering):
    // its quotation is copied once that is over.
    if (m_s.busy()) return Noted();
    if (m_clock() - m_lastWrite < kInterval) return Noted();
    write();
    const std::string failure = m_writer->failure();
    if (failure.empty()) {
        m_failureShown = false;
    } else if (!m_failureShown) {
        m_failureShown = true;
        m_s.Notice("未登録の見積の控えを保存できません（" + m_path + "：" + failure + "）。");
    }
}

void DraftJournal::write() {
    if (!m_s.state.Changed) {
        if (m_last) Discard();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    auto draft = std::make_shared<const DraftContent>(TakeDraft(m_s));
    const bool same = m_last && *m_last == *draft;
    m_copyTime = std::chrono::steady_clock::now() - start;
    if (same) return;
    m_last = draft;
    m_lastWrite = m_clock();
    m_writer->post({std::move(draft), m_owner});
}

void DraftJournal::Discard() {
    m_last.reset();
    m_writer->post({nullptr, m_owner});
}

void DraftJournal::Flush() { m_writer->flush(); }

void DraftJournal::Finish() {
    if (m_finished) return;
    m_finished = true;
    if (m_s.state.Changed)
        write();
    else
        Discard();
    Flush();
}

std::string RestoreQuestion(const DraftRow& row, bool loaded) {
    return std::string(kQuestionRestore) + "\n\n見積No：" + row.number + (loaded ? "（登録済みの見積の修正）" : "（新規）") +
           "\n得意先：" + (row.customer.empty() ? "（未入力）" : row.customer) + "\n時刻：" + row.savedAt +
           "\n\n「後で」を選ぶと、次に起動したときにもう一度お尋ねします。";
}

bool DraftJournal::OfferRestore() {
    if (m_finished || !m_s.view || m_s.state.Changed) return false;
    // A removal asked for at start must not take the draft claimed here.
    Flush();
    DraftStore store(m_path);
    for (const DraftRow& row : store.Orphans(m_owner)) {
        // Another window started at the same moment may take it first.
        if (!store.Claim(row.instance, m_self)) continue;
        const std::optional<DraftContent> draft = DecodeDraft(row.payload);
        if (!draft) {
            store.Remove(m_self);
            m_s.Notice("読み取れない未登録の見積の控え（" + row.savedAt + "）を破棄しました。");
            continue;
        }
        const auto answer = m_s.view->AskRestore(RestoreQuestion(row, !draft->newEntry));
        if (answer == EntryView::RestoreAnswer::Discard) {
            store.Remove(m_self);
            continue;
        }
        if (answer == EntryView::RestoreAnswer::Later) {
            // Given back, so that this run's own draft does not take its place.
            store.Claim(m_self, row.instance);
            return false;
        }
        PutDraft(*draft, m_s);
        m_last = std::make_shared<const DraftContent>(*draft);
        m_lastWrite = m_clock();
        ScreenState& st = m_s.state;
        st.Changed = true;
        st.PickedKey.clear();
        m_s.FullRedraw();
        m_s.pages->Redraw();
        if (m_s.undo) m_s.undo->Reset();
        EntryView& view = *m_s.view;
        view.SetDetailEnabled(st.DetailEnabled);
        view.SetDetailPage(st.DetailPage);
        view.SetScrollBarVisible(st.DetailPage == kPageSales || st.DetailPage == kPagePurchase);
        m_s.focus->MoveFocus(st.CurrentField);
        m_s.Notice(kNoticeRestored);
        return true;
    }
    return false;
}

}  // namespace velmora
