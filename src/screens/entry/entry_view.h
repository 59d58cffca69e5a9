#pragma once

#include <compare>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

class CopyJob;

// A control of the entry window by its system name; row controls (the ten
// detail row sets and their sentinels) carry their row 0 to 9, the others -1.
struct Control {
    std::string name;
    int row = -1;
    bool empty() const { return name.empty(); }
    friend bool operator==(const Control&, const Control&) = default;
    friend auto operator<=>(const Control&, const Control&) = default;
};

// Colours the screen sets; Default is the control's own (window text or
// window background).
struct Colour {
    int r = -1, g = -1, b = -1;
    constexpr bool isDefault() const { return r < 0; }
    static constexpr Colour Default() { return {}; }
    static constexpr Colour Rgb(int r, int g, int b) { return {r, g, b}; }
    friend bool operator==(const Colour&, const Colour&) = default;
};

// One entry of a file dialog's type list: its name and the pattern of the
// names it shows ("*.doc"; "*.*" is every file).
struct FileFilter {
    std::string name;
    std::string pattern;
};

// Results of the save confirmation dialog msg印刷確認.
inline constexpr int kConfirmStoreAndPrint = 0;
inline constexpr int kConfirmStoreOnly = 1;
inline constexpr int kConfirmCancel = 2;

// What the entry window shows; the Qt window and the tests implement it.
// The presenter decides everything; the window reports what the user does
// and renders what it is told.
class EntryView {
public:
    virtual ~EntryView() = default;
    virtual void SetWindowCaption(const std::string& caption) = 0;
    virtual void SetTitlePanel(const std::string& caption) = 0;  // prg_ttl
    virtual void SetNotice(const std::string& text) = 0;         // お知らせ
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, bool defaultNo) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // The question about a draft that a run ending without saving left:
    // restore it, discard it, or ask again at the next start (also when the
    // question is closed or the run ends meanwhile).
    enum class RestoreAnswer { Restore, Discard, Later };
    virtual RestoreAnswer AskRestore(const std::string& question) = 0;

    // Input fields, name labels, totals and row number labels.
    virtual void SetText(const Control& control, const std::string& text) = 0;
    // The text a field holds now (what the user typed).
    virtual std::string Text(const Control& control) const = 0;
    virtual void SetChecked(const Control& box, bool checked) = 0;
    // Fills a drop-down (for 行区分名称 every row's list).
    virtual void SetListItems(const std::string& list, const std::vector<std::string>& names) = 0;
    virtual void SetListIndex(const Control& list, int index) = 0;
    virtual void SetEnabled(const Control& control, bool enabled) = 0;
    // Off: Tab passes the control by; a click still reaches it.
    virtual void SetTabStop(const Control& control, bool tabStop) = 0;
    virtual void SetVisible(const Control& control, bool visible) = 0;
    virtual void SetTextColour(const Control& control, Colour colour) = 0;
    virtual void SetBackColour(const Control& control, Colour colour) = 0;
    virtual void SetCaption(const Control& control, const std::string& caption) = 0;
    // Moves the keyboard focus without reporting it back as a user move.
    virtual void FocusControl(const Control& control) = 0;

    // tab_詳細: pages 0 見積情報, 1 仕入情報, 2 対応履歴, 3 メモ, 4 付属書類.
    virtual void SetDetailEnabled(bool enabled) = 0;
    virtual void SetDetailPage(int page) = 0;
    // The lists of the detail pages (List営業活動, List付属書類): one row per
    // entry, the cells in column order. The window may sort them by a column;
    // a row is still named by its index in `rows`.
    virtual void SetListRows(const std::string& list, const std::vector<std::vector<std::string>>& rows) = 0;
    // The selected row of such a list, by its index in the rows given; -1
    // when no row is selected.
    virtual int ListCurrentRow(const std::string& list) const = 0;
    // The file dialog opened in startFolder with the type list; the chosen
    // path, empty when cancelled.
    virtual std::string ChooseFile(const std::string& startFolder, const std::vector<FileFilter>& filters) = 0;
    // The folder browser with its title; the chosen folder, empty when cancelled.
    virtual std::string ChooseFolder(const std::string& title, const std::string& startFolder) = 0;
    // scl_行.
    virtual void SetScrollBar(bool enabled, int maximum, int value) = 0;
    virtual void SetScrollBarVisible(bool visible) = 0;
    // The whole window, while a linked program runs or a lookup is open.
    virtual void SetWindowEnabled(bool enabled) = 0;

    // msg印刷確認: the question (red for a stored quotation) and the warning;
    // kConfirmStoreAndPrint, kConfirmStoreOnly or kConfirmCancel.
    virtual int AskSaveConfirmation(const std::string& question, bool loaded, const std::string& warning) = 0;
    // msgお待ち, modeless.
    virtual void ShowWait(bool visible) = 0;
    // Runs an attachment copy to its end without holding up the window: a
    // copy that takes more than a moment shows its progress in a modal
    // dialog whose cancel stops it (the job then removes what it copied).
    virtual void RunCopy(CopyJob& job) = 0;
    // Lets window events run for about ms milliseconds.
    virtual void Pause(int ms) = 0;
    // Runs the task once, about ms milliseconds from now, while the window
    // goes on working (the envelope after the quotation, the attachment list
    // after a PDF); a task is dropped when the window has closed by then.
    virtual void RunLater(int ms, std::function<void()> task) = 0;
    // The same for work of the screen's own that is no action of the user's
    // (the draft of unsaved changes): nothing is committed for it.
    virtual void RunQuietly(int ms, std::function<void()> task) { RunLater(ms, std::move(task)); }
    // The window closes (the program has ended).
    virtual void CloseWindow() = 0;
};

}  // namespace velmora
