#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../app/app_fixture.h"
#include "app/program.h"
#include "screens/entry/entry_presenter.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/entry_view.h"
#include "demo/demo_installation.h"
#include "support/test_env.h"

namespace velmora {
inline void PrintTo(const Control& c, std::ostream* os) { *os << c.name << (c.row >= 0 ? "_" + std::to_string(c.row) : ""); }
}  // namespace velmora

namespace velmora::test {

// Several texts compared as one value.
using Strings = std::vector<std::string>;

// The arguments of a program's starts as the stand-in installed in the folder
// logged them, in order.
std::vector<std::string> StandinStarts(const std::string& programFolder, const std::string& program);
// The same once there are `atLeast` of them (a program started detached logs
// a little later), waited for up to five seconds; never on a GUI thread.
std::vector<std::string> StandinStartsOnceThere(const std::string& programFolder, const std::string& program,
                                                std::size_t atLeast);

// The entry window as the presenter sees it: it remembers everything it is
// told, answers questions from scripts, and moves the focus along the same
// tab order as the real window, skipping what cannot take the focus.
class RecordingEntryView : public EntryView {
public:
    void SetWindowCaption(const std::string& caption) override { windowCaption = caption; }
    void SetTitlePanel(const std::string& caption) override { titlePanel = caption; }
    void SetNotice(const std::string& text) override {
        notice = text;
        if (!text.empty()) notices.push_back(text);
    }
    bool AskYesNo(const std::string& text, bool) override;
    RestoreAnswer AskRestore(const std::string& question) override {
        questions.push_back(question);
        if (restoreAnswers.empty()) return RestoreAnswer::Later;
        const RestoreAnswer answer = restoreAnswers.front();
        restoreAnswers.pop_front();
        return answer;
    }
    std::deque<RestoreAnswer> restoreAnswers;  // Later when none is left
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetText(const Control& control, const std::string& text) override {
        ++calls;
        texts[control] = text;
    }
    std::string Text(const Control& control) const override;
    void SetChecked(const Control& box, bool value) override { checked[box] = value; }
    void SetListItems(const std::string& list, const std::vector<std::string>& names) override { lists[list] = names; }
    void SetListIndex(const Control& list, int index) override { listIndex[list] = index; }
    void SetEnabled(const Control& control, bool value) override { enabled[control] = value; }
    void SetTabStop(const Control& control, bool value) override { tabStop[control] = value; }
    void SetVisible(const Control& control, bool value) override { visible[control] = value; }
    void SetTextColour(const Control& control, Colour colour) override { textColour[control] = colour; }
    void SetBackColour(const Control& control, Colour colour) override { backColour[control] = colour; }
    void SetCaption(const Control& control, const std::string& caption) override { captions[control] = caption; }
    void FocusControl(const Control& control) override { focus = control; }
    void SetListRows(const std::string& list, const std::vector<std::vector<std::string>>& rows) override {
        listRows[list] = rows;
    }
    int ListCurrentRow(const std::string& list) const override {
        auto it = currentRow.find(list);
        return it == currentRow.end() ? -1 : it->second;
    }
    std::string ChooseFile(const std::string& startFolder, const std::vector<FileFilter>& filters) override {
        fileDialogs.push_back(startFolder);
        fileFilters = filters;
        return takeChoice(chosenFiles);
    }
    std::string ChooseFolder(const std::string& title, const std::string& startFolder) override {
        folderDialogs.push_back(title + "|" + startFolder);
        return takeChoice(chosenFolders);
    }
    void SetDetailEnabled(bool value) override { detailEnabled = value; }
    void SetDetailPage(int page) override { detailPage = page; }
    void SetScrollBar(bool value, int maximum, int value2) override {
        scrollEnabled = value;
        scrollMax = maximum;
        scrollValue = value2;
    }
    void SetScrollBarVisible(bool value) override { scrollVisible = value; }
    void SetWindowEnabled(bool value) override { windowEnabled = value; }
    int AskSaveConfirmation(const std::string& question, bool loaded, const std::string& warning) override;
    void ShowWait(bool shown) override { waitShown += shown ? 1 : 0; }
    // Runs the copy on a thread of its own, as the window does; cancelled
    // once cancelCopyAfter files are copied (never when negative).
    void RunCopy(CopyJob& job) override;
    int copies = 0, cancelCopyAfter = -1;
    void Pause(int) override {}
    void RunLater(int ms, std::function<void()> task) override { later.emplace_back(ms, std::move(task)); }
    // Runs the tasks given to RunLater so far, in order; their delays.
    using Tasks = std::vector<std::pair<int, std::function<void()>>>;
    std::vector<int> RunLaterTasks() { return runTasks(later); }
    Tasks later;
    // The screen's own work for later (the draft of unsaved changes), run by RunQuietTasks.
    void RunQuietly(int ms, std::function<void()> task) override { quiet.emplace_back(ms, std::move(task)); }
    std::vector<int> RunQuietTasks() { return runTasks(quiet); }
    Tasks quiet;
    void CloseWindow() override { closed = true; }

    // Whether the user could reach the control with Tab (or a click).
    bool Focusable(const Control& control) const;
    // The next control Tab (forward) or Shift+Tab would reach from the focus.
    Control NextInTabOrder(bool forward) const;

    std::string windowCaption, titlePanel, notice;
    std::vector<std::string> notices, messages, questions, confirmQuestions, confirmWarnings;
    std::deque<bool> answers;         // AskYesNo; No when none is left
    std::deque<int> confirmations;    // AskSaveConfirmation; cancel when none is left
    std::map<Control, std::string> texts, captions;
    std::map<Control, bool> checked, enabled, tabStop, visible;
    std::map<Control, int> listIndex;
    std::map<std::string, std::vector<std::string>> lists;
    std::map<std::string, std::vector<std::vector<std::string>>> listRows;  // the detail pages' lists
    std::map<std::string, int> currentRow;  // ListCurrentRow: the selected row, none when not set
    // The file dialog's and the folder browser's answers; cancelled when none is left.
    std::deque<std::string> chosenFiles, chosenFolders;
    std::vector<std::string> fileDialogs, folderDialogs;  // start folders; "title|start folder"
    std::vector<FileFilter> fileFilters;
    std::map<Control, Colour> textColour, backColour;
    Control focus;
    bool detailEnabled = false, scrollEnabled = false, scrollVisible = true, windowEnabled = true, closed = false;
    int detailPage = 0, scrollMax = 0, scrollValue = 0, waitShown = 0;
    long long calls = 0;
    bool lastConfirmRed = false;

private:
    static std::vector<int> runTasks(Tasks& list) {
        std::vector<int> delays;
        Tasks tasks = std::move(list);
        list.clear();
        for (auto& [ms, task] : tasks) {
            delays.push_back(ms);
            task();
        }
        return delays;
    }
    static std::string takeChoice(std::deque<std::string>& choices) {
        if (choices.empty()) return {};
        std::string choice = choices.front();
        choices.pop_front();
        return choice;
    }
};

// A started program on the demo installation with the entry presenter
// loaded on a recording view, driven the way a user types.
class ScreenTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program with a command line (the fixture starts without one).
    void Restart(const std::string& commandLine, bool systemClock = false);

    EntryScreen& screen() { return presenter->screen(); }
    Quotation& quotation() { return screen().quotation; }
    ScreenState& state() { return screen().state; }

    // The user clicks into a control (or tabs to it): the focus moves there.
    void Click(const Control& control);
    // The user types into the focused field, replacing its text.
    void Type(const std::string& text);
    void Tab();
    void ShiftTab();
    // Click, type, Tab.
    void Fill(const Control& control, const std::string& text);
    void Press(const std::string& button);
    // A complete header: customer, staff, department and section of the demo.
    void FillHeader(const std::string& customer = "000001");
    // A new quotation for customer 000001 with one line of 4 × ST-00002, ready to save.
    void EnterQuotation();
    std::string Text(const Control& control) { return view.Text(control); }
    // The controls' texts, joined by "|", to compare as one value.
    std::string Shown(const std::vector<Control>& controls);
    // Exact figures ("1234.5", "-3"), joined by "|".
    static std::string Figures(const std::vector<Currency>& values);
    // Tab from 見積期限, the header's end, into the rows.
    void ToRows();
    QuotationLine& Line(int i) { return quotation().lines[static_cast<size_t>(i)]; }
    int Lines() { return quotation().LastLine + 1; }
    std::string Db(const std::string& sql) { return install->value(sql); }
    // The header of a demo customer, then the focus into the first row.
    void IntoRows(const std::string& customer = "000001");
    // The purchase page with the supplier columns shown.
    void PurchasePage();
    // n lines "品目1", "品目2", … (or the names given) for a demo customer,
    // drawn as a load draws them; with quantities, line i holds i + 1.
    void WithLines(int n, const std::vector<std::string>& names = {}, bool quantities = false,
                   const std::string& customer = "1");
    // A new quotation, whatever was entered.
    void Clear();
    // The rows scrolled, as the user scrolls, so that the line shows.
    void Show(int line);
    // The user clicks into the line's product name.
    void At(int line);
    void Mark(int line, bool marked = true);
    // Saved through the confirmation with 登録のみ.
    void Save();
    // The stored quotation with the smallest number of the demo's period.
    std::string FirstStored() {
        return Db(
            "SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001' AND 番号基準日付 = '20270331'");
    }
    // The stored quotation, opened by its number.
    void OpenStored(const std::string& number) {
        Fill({"営業見積No"}, number);
        ASSERT_FALSE(state().NewEntry) << number;
    }

    // The stand-in's answer to the program's next start.
    void Reply(const std::string& program, const std::string& text);
    std::vector<std::string> Starts(const std::string& program, std::size_t atLeast = 0) {
        return StandinStartsOnceThere(install->root() + "prgbin", program, atLeast);
    }
    // The argument of the program's latest start once it has started that
    // many times; "" when it has not.
    std::string StartedWith(const std::string& program, std::size_t starts = 1) {
        const std::vector<std::string> all = Starts(program, starts);
        return all.size() >= starts ? all.back() : std::string();
    }

    bool startOnSystemClock = false;  // SetUp starts on the system's clock, for runs that meet other programs
    std::unique_ptr<DemoInstallation> install;
    RecordingHost host;
    std::unique_ptr<Program> program;
    RecordingEntryView view;
    std::unique_ptr<EntryPresenter> presenter;
};

}  // namespace velmora::test
