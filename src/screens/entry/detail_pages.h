#pragma once

#include <string>
#include <vector>

#include "quotation/activities.h"
#include "quotation/attachments.h"
#include "screens/entry/entry_view.h"

namespace velmora {

struct EntryScreen;

// The activity and attachment pages of tab_詳細: the sales activities
// recorded against the stored quotation (List営業活動) and its attached
// documents (List付属書類) with their buttons.
class DetailPages {
public:
    explicit DetailPages(EntryScreen& screen) : m_s(screen) {}

    // Both lists for the quotation on screen (empty for a new one), with
    // the attachment buttons enabled by mode.
    void Redraw();
    void RebuildAttachments();
    void AddFile();           // 付属書類追加
    void AddFolder();         // ﾌｫﾙﾀﾞ追加
    void DeleteAttachment();  // 付属書類削除
    // Enter or a double-click on a row of a list: an activity opens in the
    // schedule report program, an attachment with the desktop's application.
    void Activated(const std::string& list, int row);

    // The file dialog's type list.
    static const std::vector<FileFilter>& FileFilters();
    // The folder browser's title.
    static constexpr const char* kFolderBrowserTitle = "書類を選択して下さい";
    static constexpr const char* kDeleteQuestion = "付属書類から削除しますか？";
    static constexpr const char* kDeletingNotice = "＊＊削除中です。しばらくお待ちください＊＊";

private:
    // Attachments and activities belong to a quotation as stored.
    bool stored() const;
    AttachmentOwner owner() const;
    QuotationAttachments attachments() const;
    void redrawActivities();
    void add(const std::string& chosen, bool folder);
    void openActivity(int row);
    void openAttachment(int row);

    EntryScreen& m_s;
    std::vector<ActivityItem> m_activities;
    std::vector<AttachmentItem> m_attachments;
};

}  // namespace velmora
