#include "screen_fixture.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "data/clock.h"
#include "data/data_access.h"
#include "quotation/attachment_files.h"
#include "screens/entry/entry_fields.h"
#include "support/statements.h"

namespace velmora::test {

// ---- the recording view -----------------------------------------------------

bool RecordingEntryView::AskYesNo(const std::string& text, bool) {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingEntryView::RunCopy(CopyJob& job) {
    ++copies;
    if (cancelCopyAfter >= 0)
        job.OnFileCopied([&job, after = static_cast<std::uintmax_t>(cancelCopyAfter)] {
            if (job.filesDone() >= after) job.Cancel();
        });
    std::thread worker([&job] { job.Run(); });
    worker.join();
}

int RecordingEntryView::AskSaveConfirmation(const std::string& question, bool loaded, const std::string& warning) {
    confirmQuestions.push_back(question);
    confirmWarnings.push_back(warning);
    lastConfirmRed = loaded;
    if (confirmations.empty()) return kConfirmCancel;
    const int answer = confirmations.front();
    confirmations.pop_front();
    return answer;
}

std::string RecordingEntryView::Text(const Control& control) const {
    auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
}

bool RecordingEntryView::Focusable(const Control& control) const {
    const EntryField* f = FindEntryField(control.name);
    if (!f) return false;
    switch (f->kind) {
        case EntryFieldKind::Display:
        case EntryFieldKind::List:
            return false;
        default:
            break;
    }
    const auto off = [&](const std::map<Control, bool>& m) {
        auto it = m.find(control);
        return it != m.end() && !it->second;
    };
    if (off(enabled) || off(tabStop) || off(visible)) return false;
    if (f->region == EntryRegion::Row && (!detailEnabled || detailPage != f->page - 1)) return false;
    if (f->region == EntryRegion::Memo && (!detailEnabled || detailPage != kPageMemo)) return false;
    return true;
}

Control RecordingEntryView::NextInTabOrder(bool forward) const {
    static const std::vector<Control> order = EntryTabOrder();
    auto at = std::find(order.begin(), order.end(), focus);
    const auto n = static_cast<long>(order.size());
    long i = at == order.end() ? -1 : at - order.begin();
    for (long step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        if (Focusable(order[static_cast<size_t>(i)])) return order[static_cast<size_t>(i)];
    }
    return focus;
}

// ---- the screen driven as a user does ---------------------------------------

void ScreenTest::SetUp() {
    install = std::make_unique<DemoInstallation>(GetParam());
    VELMORA_REQUIRE_DATABASE(*install);
    Restart("", startOnSystemClock);
}

void ScreenTest::Restart(const std::string& commandLine, bool systemClock) {
    if (presenter) presenter->EndWithoutAsking();
    presenter.reset();
    program = std::make_unique<Program>(install->environment(commandLine, systemClock), host);
    ASSERT_TRUE(program->StartUp()) << (host.messages.empty() ? "" : host.messages.back());
    view = RecordingEntryView();
    presenter = std::make_unique<EntryPresenter>(*program);
    presenter->Load(view);
}

void ScreenTest::TearDown() {
    if (presenter) presenter->EndWithoutAsking();
    presenter.reset();
    program.reset();
}

void ScreenTest::Click(const Control& control) {
    view.focus = control;
    presenter->FocusMoved(control);
}

void ScreenTest::Type(const std::string& text) {
    view.texts[view.focus] = text;
    presenter->FieldEdited(view.focus, text);
}

void ScreenTest::Tab() {
    const Control next = view.NextInTabOrder(true);
    view.focus = next;
    presenter->FocusMoved(next, EntryPresenter::FocusBy::Tab);
}

void ScreenTest::ShiftTab() {
    const Control next = view.NextInTabOrder(false);
    view.focus = next;
    presenter->FocusMoved(next, EntryPresenter::FocusBy::BackTab);
}

void ScreenTest::Fill(const Control& control, const std::string& text) {
    Click(control);
    Type(text);
    Tab();
}

void ScreenTest::Press(const std::string& button) { presenter->ButtonPressed({button}); }

std::string ScreenTest::Shown(const std::vector<Control>& controls) {
    std::string text;
    for (std::size_t i = 0; i < controls.size(); ++i) text += (i ? "|" : "") + Text(controls[i]);
    return text;
}

std::string ScreenTest::Figures(const std::vector<Currency>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i].format("0.####");
    return text;
}

void ScreenTest::ToRows() {
    Click({"見積期限"});
    Tab();
}

std::vector<std::string> StandinStarts(const std::string& programFolder, const std::string& program) {
    std::vector<std::string> arguments;
    for (const auto& [name, argument] : StandInCalls(programFolder))
        if (name == program) arguments.push_back(argument);
    return arguments;
}

std::vector<std::string> StandinStartsOnceThere(const std::string& programFolder, const std::string& program,
                                                std::size_t atLeast) {
    for (int i = 0; i < 250 && StandinStarts(programFolder, program).size() < atLeast; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return StandinStarts(programFolder, program);
}

void ScreenTest::Reply(const std::string& program, const std::string& text) {
    std::ofstream(install->root() + "prgbin/" + program + ".reply") << text << "\n";
}

void ScreenTest::IntoRows(const std::string& customer) {
    FillHeader(customer);
    ToRows();
    ASSERT_EQ(view.focus, (Control{"商品コード", 0}));
}

void ScreenTest::PurchasePage() {
    presenter->PageChosen(kPagePurchase);
    Press("btn_仕入先表示");
}

void ScreenTest::WithLines(int n, const std::vector<std::string>& names, bool quantities,
                           const std::string& customer) {
    FillHeader(customer);
    for (int i = 0; i < n; ++i) {
        Line(i).商品名 = names.empty() ? "品目" + std::to_string(i + 1) : names[static_cast<size_t>(i)];
        if (quantities) Line(i).見積数量 = Units(i + 1);
    }
    quotation().LastLine = n - 1;
    screen().scope->RecomputeTotals();
    screen().FullRedraw();
}

void ScreenTest::Clear() {
    view.answers = {true};
    Press("btn_画面クリア");
    view.answers.clear();
}

void ScreenTest::Show(int line) {
    if (line < state().TopLine || line >= state().TopLine + kVisibleRows)
        presenter->Scrolled(std::max(0, line - (kVisibleRows - 1)));
}

void ScreenTest::At(int line) {
    Show(line);
    Click({"商品名", line - state().TopLine});
    ASSERT_EQ(state().CurrentLine, line);
}

void ScreenTest::Mark(int line, bool marked) {
    Show(line);
    presenter->CheckToggled({"chb_複写区分", line - state().TopLine}, marked);
}

void ScreenTest::Save() {
    view.confirmations = {kConfirmStoreOnly};
    Press("btn_登録");
    ASSERT_FALSE(view.confirmQuestions.empty());
}

void ScreenTest::EnterQuotation() {
    FillHeader("1");
    ToRows();
    Type("ST-00002");
    Tab();
    Tab();
    Type("4");
    Tab();
}

void ScreenTest::FillHeader(const std::string& customer) {
    Fill({"得意先コード"}, customer);
}

}  // namespace velmora::test
