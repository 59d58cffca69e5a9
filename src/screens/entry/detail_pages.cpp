#include "screens/entry/detail_pages.h"

#include "app/program.h"
#include "linking/linked_start.h"
#include "platform/identity.h"
#include "platform/process.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"

namespace velmora {

namespace {

constexpr const char* kAddFileButton = "btn_付属書類追加";
constexpr const char* kAddFolderButton = "btn_フォルダ追加";
constexpr const char* kDeleteButton = "btn_付属書類削除";

}  // namespace

const std::vector<FileFilter>& DetailPages::FileFilters() {
    static const std::vector<FileFilter> filters = {
        {"全てのファイル", "*.*"},    {"ワード", "*.doc"},       {"EXCELL", "*.xls"},
        {"テキスト", "*.txt"},        {"一太郎", "*.jws"},       {"JPEG ファイル", "*.jpg"},
        {"GIFファイル", "*.gif"},     {"メタファイル", "*.wmf"}, {"拡張メタファイル", "*.emf"},
        {"Bitmap ファイル", "*.bmp"},
    };
    return filters;
}

bool DetailPages::stored() const {
    return !m_s.state.NewEntry && m_s.quotation.loaded();
}

AttachmentOwner DetailPages::owner() const {
    const LoadedKey& key = m_s.quotation.loadedKey;
    const QuotationHeader& h = m_s.quotation.header;
    return {key.事業所コード, key.番号基準日付, key.営業見積No, key.営業見積日付,  h.得意先コード,
            h.納品先コード,   h.担当者コード,   h.部門コード,   h.セクションコード};
}

QuotationAttachments DetailPages::attachments() const {
    const Session& session = m_s.program.session();
    return QuotationAttachments(
        m_s.program.access(), ColumnText(session.companyTexts, "ドキュメントフォルダ"), m_s.context.UserId());
}

void DetailPages::Redraw() {
    redrawActivities();
    RebuildAttachments();
}

void DetailPages::redrawActivities() {
    m_activities.clear();
    if (stored()) {
        const LoadedKey& key = m_s.quotation.loadedKey;
        m_activities = QuotationActivities(m_s.program.access(), m_s.program.session().運用事業所コード,
                                           key.事業所コード, key.番号基準日付, key.営業見積No);
    }
    if (!m_s.view) return;
    std::vector<std::vector<std::string>> rows;
    rows.reserve(m_activities.size());
    for (const ActivityItem& item : m_activities) rows.push_back(item.cells);
    m_s.view->SetListRows(kActivityList, rows);
}

void DetailPages::RebuildAttachments() {
    m_attachments.clear();
    const bool loaded = stored();
    if (loaded) m_attachments = attachments().List(owner());
    EntryView* view = m_s.view;
    if (!view) return;
    std::vector<std::vector<std::string>> rows;
    rows.reserve(m_attachments.size());
    for (const AttachmentItem& item : m_attachments) rows.push_back(AttachmentCells(item));
    view->SetListRows(kAttachmentList, rows);
    view->SetEnabled({kAddFileButton}, loaded);
    view->SetEnabled({kAddFolderButton}, loaded);
    view->SetEnabled({kDeleteButton}, loaded && !m_attachments.empty());
}

void DetailPages::AddFile() {
    if (!stored() || !m_s.view) return;
    const std::string chosen = m_s.view->ChooseFile(HomeFolder(), FileFilters());
    if (!chosen.empty()) add(chosen, false);
}

void DetailPages::AddFolder() {
    if (!stored() || !m_s.view) return;
    const std::string chosen = m_s.view->ChooseFolder(kFolderBrowserTitle, HomeFolder());
    if (!chosen.empty()) add(chosen, true);
}

void DetailPages::add(const std::string& chosen, bool folder) {
    EntryView& view = *m_s.view;
    std::string message;
    // A whole folder, or a large file, may take a while to copy.
    attachments().Add(owner(), chosen, folder, message, [&view](CopyJob& job) { view.RunCopy(job); });
    if (!message.empty()) view.ShowMessage(message);
    RebuildAttachments();
}

void DetailPages::DeleteAttachment() {
    if (!stored() || !m_s.view) return;
    EntryView& view = *m_s.view;
    const int row = view.ListCurrentRow(kAttachmentList);
    if (row < 0 || row >= static_cast<int>(m_attachments.size())) return;
    if (!view.AskYesNo(kDeleteQuestion, true)) return;
    const AttachmentItem item = m_attachments[static_cast<size_t>(row)];
    m_s.Notice(kDeletingNotice);
    view.Pause(0);
    if (item.folder) view.ShowWait(true);
    std::string message;
    attachments().Remove(owner(), item.seqNo, message);
    if (item.folder) view.ShowWait(false);
    m_s.Notice("");
    if (!message.empty()) view.ShowMessage(message);
    RebuildAttachments();
}

void DetailPages::Activated(const std::string& list, int row) {
    if (list == kActivityList) return openActivity(row);
    if (list == kAttachmentList) return openAttachment(row);
}

void DetailPages::openActivity(int row) {
    if (row < 0 || row >= static_cast<int>(m_activities.size())) return;
    const std::string& folder = m_s.program.session().layout.ProgramFolder;
    if (!StartSibling(folder, kActivityReportProgram, m_activities[static_cast<size_t>(row)].key) && m_s.view)
        m_s.view->ShowMessage(kActivityReportMissing);
}

void DetailPages::openAttachment(int row) {
    if (!stored() || row < 0 || row >= static_cast<int>(m_attachments.size())) return;
    std::string message;
    const std::string path =
        attachments().CopyToOpen(owner(), m_attachments[static_cast<size_t>(row)].seqNo, message);
    if (path.empty()) {
        if (m_s.view) m_s.view->ShowMessage(message);
        return;
    }
    if (!ShellOpen(path) && m_s.view) m_s.view->ShowMessage(std::string(kCannotOpen) + "\n" + path);
}

}  // namespace velmora
