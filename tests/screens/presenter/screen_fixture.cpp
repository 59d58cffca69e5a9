#include "screen_fixture.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "data/clock.h"
#include "data/data_access.h"
#include "quotation/attachment_files.h"
#include "screens/entry/entry_fields.h"

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
    Restart("");
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

std::string ScreenTest::StartedWith(const std::string& program, std::size_t starts) {
    const std::string marker = "\t" + program + "\t";
    for (int i = 0; i < 150; ++i) {
        std::ifstream log(install->root() + "prgbin/standin-calls.log");
        std::string line, argument;
        std::size_t seen = 0;
        while (std::getline(log, line))
            if (auto at = line.find(marker); at != std::string::npos) {
                argument = line.substr(at + marker.size());
                ++seen;
            }
        if (seen >= starts) return argument;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

void ScreenTest::EnterQuotation() {
    FillHeader("1");
    Click({"見積期限"});
    Tab();
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
