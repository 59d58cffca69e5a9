#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>

#include "screens/entry/entry_view.h"
#include "screens/lookup/qt/window_focus.h"

class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QScrollBar;
class QTabWidget;
class QTreeWidget;

namespace velmora {

// moc cannot read the Japanese names of the field tables, so this header only
// declares what it uses of them.
class EntryEvents;
class EntryPresenter;
class LoneCtrlDetector;
class WaitDialog;
struct EntryField;

// frmVelmora: the quotation entry window. Its widgets are made from the
// field tables and carry the system's control names (row controls as
// name_row). It renders what the presenter tells it and reports what the
// user does: focus moves by Tab, Enter or a click, edits, lookup gestures,
// buttons, lists, pages, scrolling and panel clicks. Nothing is reported
// while the presenter is drawing or handling an earlier report.
class EntryWindow : public QMainWindow, public EntryView {
    Q_OBJECT
public:
    explicit EntryWindow(EntryPresenter& presenter, QWidget* parent = nullptr);
    explicit EntryWindow(EntryEvents& events, QWidget* parent = nullptr);
    ~EntryWindow() override;

    void SetWindowCaption(const std::string& caption) override;
    void SetTitlePanel(const std::string& caption) override;
    void SetNotice(const std::string& text) override;
    bool AskYesNo(const std::string& text, bool defaultNo) override;
    RestoreAnswer AskRestore(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void SetText(const Control& control, const std::string& text) override;
    std::string Text(const Control& control) const override;
    void SetChecked(const Control& box, bool checked) override;
    void SetListItems(const std::string& list, const std::vector<std::string>& names) override;
    void SetListIndex(const Control& list, int index) override;
    void SetEnabled(const Control& control, bool enabled) override;
    void SetTabStop(const Control& control, bool tabStop) override;
    void SetVisible(const Control& control, bool visible) override;
    void SetTextColour(const Control& control, Colour colour) override;
    void SetBackColour(const Control& control, Colour colour) override;
    void SetCaption(const Control& control, const std::string& caption) override;
    void FocusControl(const Control& control) override;
    void SetListRows(const std::string& list, const std::vector<std::vector<std::string>>& rows) override;
    int ListCurrentRow(const std::string& list) const override;
    std::string ChooseFile(const std::string& startFolder, const std::vector<FileFilter>& filters) override;
    std::string ChooseFolder(const std::string& title, const std::string& startFolder) override;
    void SetDetailEnabled(bool enabled) override;
    void SetDetailPage(int page) override;
    void SetScrollBar(bool enabled, int maximum, int value) override;
    void SetScrollBarVisible(bool visible) override;
    void SetWindowEnabled(bool enabled) override;
    int AskSaveConfirmation(const std::string& question, bool loaded, const std::string& warning) override;
    void ShowWait(bool visible) override;
    void RunCopy(CopyJob& job) override;  // copy_progress.cpp
    void Pause(int ms) override;
    void RunLater(int ms, std::function<void()> task) override;
    void CloseWindow() override;

    // The control a widget shows; an empty control for any other widget.
    Control ControlOf(const QObject* widget) const;

public Q_SLOTS:
    // Ends the run without questions (termination signal, logout).
    void endSession();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Held while the presenter draws the window or handles a report: what the
    // widgets do meanwhile is the presenter's own doing and is not reported back.
    class Busy {
    public:
        explicit Busy(EntryWindow& window) : m_window(window) { ++m_window.m_busy; }
        ~Busy() { --m_window.m_busy; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        EntryWindow& m_window;
    };

    EntryWindow(std::unique_ptr<EntryEvents> own, EntryEvents* events, QWidget* parent);

    // Regions (entry_window_layout.cpp; the detail area in entry_window_detail.cpp).
    void build();
    QLayout* buildTitle(QWidget* parent);
    QWidget* buildHeader(QWidget* parent);
    // A field with its caption (label or lookup button) and a setting's list.
    void placeField(const std::string& name, QHBoxLayout* line, QWidget* parent);
    QWidget* buildDetail(QWidget* parent);
    QWidget* buildRowPage(int page, QWidget* parent);
    QWidget* buildListPage(const std::string& list, const std::vector<const char*>& columns, QWidget* parent);
    QWidget* buildMemoPage(QWidget* parent);
    QWidget* buildAttachmentPage(QWidget* parent);
    // Enter or a double-click on a detail list's row: reported with the
    // row's index in the rows the list was given, whatever the sort order.
    void activateListRow(QTreeWidget* tree);
    QWidget* buildLineCommands(QWidget* parent);
    QWidget* buildTail(QWidget* parent);
    QWidget* buildCommandButtons(QWidget* parent);
    void placeScrollBar(int page);
    void setTabChain();

    // Widgets and what they report (entry_window.cpp).
    QWidget* addField(const EntryField& field, int row, QWidget* parent);
    QPushButton* addButton(const Control& button, const QString& caption, QWidget* parent);
    // A caption label (itm_ttl_…); a click on it counts as entering its field.
    QLabel* addCaption(const std::string& name, const std::string& caption, QWidget* parent);
    QWidget* addPanel(const Control& panel, QWidget* parent);
    void addControl(const Control& control, QWidget* widget);
    void addShortcuts();
    // Ctrl+Z (undo) or Ctrl+Y, Ctrl+Shift+Z (redo) in a field: the text typed
    // since the field was entered first, then the lines (entry_window_layout.cpp).
    void historyKey(QObject* field, bool undo);
    // As a click: nothing while the button is disabled or hidden.
    void pressButton(const std::string& name);
    std::vector<QWidget*> widgetsOf(const Control& control) const;
    QWidget* widgetOf(const Control& control) const;
    bool reporting() const;
    // Hands a user action to the events unless the presenter is busy.
    template <class Action>
    void report(Action action) {
        if (!reporting()) return;
        Busy busy(*this);
        action(m_events);
    }
    void setColour(const Control& control, Colour colour, bool text);
    // The keyboard back to this window after a dialog closed.
    void takeKeyboardBack();
    // A task of RunLater, run once nothing else is being handled.
    void runWhenFree(std::function<void()> task);

    std::unique_ptr<EntryEvents> m_ownEvents;
    EntryEvents& m_events;

    std::map<Control, std::vector<QWidget*>> m_widgets;
    std::map<const QObject*, Control> m_controlOf;
    std::map<const QObject*, const EntryField*> m_fieldOf;
    std::map<const QObject*, QPalette> m_ownPalette;  // colours a control returns to
    std::set<const QObject*> m_clickable;             // panels and caption labels
    std::set<const QObject*> m_rowArea;               // the wheel scrolls the rows here
    const QObject* m_pressed = nullptr;
    // The text field last entered and its text then.
    QPointer<QLineEdit> m_entered;
    QString m_enteredText;

    LoneCtrlDetector* m_ctrl = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_notice = nullptr;
    QTabWidget* m_detail = nullptr;
    QScrollBar* m_scroll = nullptr;
    // The row pages (1 見積情報, 2 仕入情報) and the column of each that holds the scroll bar.
    std::map<int, QGridLayout*> m_rowGrids;
    std::map<int, int> m_scrollColumn;
    std::unique_ptr<WaitDialog> m_wait;

    int m_busy = 0;
    int m_page = 0;  // the page the presenter knows of
    bool m_scrollVisible = true;
    int m_wheelRest = 0;
    bool m_ending = false;
    FocusKeeper m_focusKeeper;  // the field the focus returns to when enabled
};

// Noto Sans CJK JP for the whole program when it is installed.
void UseJapaneseFont();

}  // namespace velmora
