#include <filesystem>
#include <fstream>

#include "screen_fixture.h"

namespace velmora::test {
namespace {

// The registration programs of the header panels, played by the stand-in
// installed under every sibling's name: it records its command line and
// answers with the contents of prgbin/<name>.reply.
class PanelStartsTest : public ScreenTest {
protected:
  PanelStartsTest() { startOnSystemClock = true; }
};

// A customer registered from an empty customer field: the registration gets
// the names typed so far and returns the new code, which is read at once.
TEST_P(PanelStartsTest, ANewCustomerComesBackFromItsRegistration) {
    Fill({"得意先名称A"}, "新規商事");
    Fill({"御担当者名"}, "山田様");
    Fill({"担当者コード"}, "101");
    Reply("Dunvale", "5");
    presenter->PanelClicked({"bak_得意先"});
    EXPECT_EQ(StartedWith("Dunvale"), "001000000,,新規商事,,,,,,,,山田様,,00101");
    EXPECT_EQ(Text({"得意先コード"}), "000005");
    EXPECT_EQ(quotation().header.得意先名称A, install->value("SELECT 名称A FROM M得意先 WHERE コード = '000005'"));
    EXPECT_FALSE(state().LinkWaiting);
    EXPECT_TRUE(view.windowEnabled);

    // The contact panel with a contact code; the counterparty panel starts the
    // counterparty registration.
    Fill({"得意先御担当者コード"}, "1");
    presenter->PanelClicked({"bak_御担当者"});
    EXPECT_EQ(StartedWith("Galtesi"), "00100000500001");
    presenter->CheckToggled({"chb_納品先対応先"}, true);
    Fill({"納品先コード"}, "3");
    presenter->PanelClicked({"bak_納品先"});
    EXPECT_EQ(StartedWith("Ferrano"), "001000003");
    EXPECT_EQ(Text({"納品先コード"}), "000003");

    // A counterparty as the customer: its panel and its contacts' panel start
    // the counterparty programs.
    presenter->CheckToggled({"chb_得意先対応先"}, true);
    Fill({"得意先コード"}, "3");
    presenter->PanelClicked({"bak_得意先"});
    EXPECT_EQ(StartedWith("Ferrano", 2), "001000003");
    presenter->PanelClicked({"bak_御担当者"});
    EXPECT_EQ(StartedWith("Hormeli"), "00100000300001");
}

// A registration program that ends without replying (crashed, closed by
// force) does not leave the window waiting: it is enabled again, the code
// stays, and the notice bar says what happened.
TEST_P(PanelStartsTest, ARegistrationProgramEndingWithoutAReplyGivesTheWindowBack) {
    FillHeader("1");
    const std::string noReply = install->root() + "prgbin/Dunvale.noreply";
    std::ofstream(noReply) << "";
    Reply("Dunvale", "000009");  // not sent: the program ends first
    presenter->PanelClicked({"bak_得意先"});
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(state().LinkWaiting);
    EXPECT_EQ(view.notice, "登録プログラム（Dunvale）が応答せずに終了しました。");
    EXPECT_EQ(Text({"得意先コード"}), "000001");
    // The window works on: the next start that is answered is taken.
    std::filesystem::remove(noReply);
    Fill({"得意先コード"}, "");
    Reply("Dunvale", "5");
    presenter->PanelClicked({"bak_得意先"});
    EXPECT_EQ(Text({"得意先コード"}), "000005");
}

// The end of the session (a termination signal, logout) while a registration
// program is open stops the wait at once: nothing is read afterwards, and
// the window is free to end the run (the start message withdrawn is the
// linking tests').
TEST_P(PanelStartsTest, TheEndOfTheSessionStopsTheWait) {
    class EndingView : public RecordingEntryView {
    public:
        explicit EndingView(Program& program) : m_program(program) {}
        void Pause(int) override {
            if (++pauses == 10) m_program.RequestEnd();
        }
        int pauses = 0;

    private:
        Program& m_program;
    };
    const std::string open = install->root() + "prgbin/Dunvale.noreply";
    std::ofstream(open) << "30";  // a registration window left open
    EndingView ending(*program);
    static_cast<RecordingEntryView&>(ending) = view;
    screen().view = &ending;
    presenter->PanelClicked({"bak_得意先"});
    screen().view = &view;
    std::filesystem::remove(open);
    EXPECT_EQ(ending.pauses, 10) << "the wait stopped at the request";
    EXPECT_TRUE(ending.windowEnabled);
    EXPECT_FALSE(state().LinkWaiting);
    EXPECT_TRUE(ending.notices.empty());
    EXPECT_FALSE(program->ended()) << "the window ends the run";
    presenter->EndWithoutAsking();
    EXPECT_TRUE(program->ended());
}

INSTANTIATE_TEST_SUITE_P(Engines, PanelStartsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
