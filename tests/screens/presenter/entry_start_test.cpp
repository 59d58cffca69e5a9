#include <fstream>

#include "platform/process.h"
#include "screen_fixture.h"

namespace velmora::test {
namespace {

using StartTest = ScreenTest;

// Started without a command line: a new quotation dated today in the
// operating office with the next number proposed, the focus on the customer
// and the detail area closed until the header is complete.
TEST_P(StartTest, ANewQuotationWaitsForItsCustomer) {
    EXPECT_TRUE(state().NewEntry);
    EXPECT_FALSE(state().Changed);
    EXPECT_EQ(view.focus, (Control{"得意先コード"}));
    EXPECT_EQ(Text({"営業見積日付年"}) + Text({"営業見積日付月"}) + Text({"営業見積日付日"}), "20261206");
    EXPECT_EQ(Text({"営業見積No"}).size(), 8u);
    EXPECT_FALSE(view.detailEnabled);
    EXPECT_FALSE(view.scrollEnabled);
    EXPECT_EQ(view.lists["得意先消費税算出区分名称"].size(), 3u) << "only the rows up to 2";
    EXPECT_EQ(view.lists["行区分名称"].size(), 6u);
    EXPECT_TRUE(presenter->CloseRequested());
    EXPECT_TRUE(view.questions.empty()) << "an untouched screen ends without a question";
}

// A command line of layout B: a new quotation for a customer with its
// contact and a staff member; a contact that is not found keeps the name
// the command line gave.
TEST_P(StartTest, ACommandLineStartsANewQuotationWithPresets) {
    const std::string blank38(38, ' ');
    Restart("0010000000000000000" + blank38 + "001011000001" + "00009" + "ご担当者様");
    const QuotationHeader& h = quotation().header;
    EXPECT_TRUE(state().NewEntry);
    EXPECT_TRUE(state().Changed);
    EXPECT_TRUE(state().ExitAfterSave);
    // The command line's staff member, not the customer's.
    EXPECT_EQ((Strings{Text({"得意先コード"}), h.担当者コード, h.得意先御担当者コード, h.御担当者名}),
              (Strings{"000001", "00101", "", "ご担当者様"}));

    // A 19-character key opens that quotation.
    const std::string stored = install->value("SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001'");
    Restart("00120270331" + stored);
    EXPECT_FALSE(state().NewEntry);
    EXPECT_EQ(Text({"営業見積No"}), stored);
}

// Partner kinds other than "1" and "5" set counterparty mode and discard
// the partner and contact codes; a reference key that does not exist leaves
// a clean new quotation and the rest of the command line unread.
TEST_P(StartTest, CommandLinePresetsThatAreDiscarded) {
    const std::string blank19(19, ' ');
    const std::string start = "0010000000000000000";
    Restart(start + blank19 + blank19 + "00101" + "3" + "000002" + "00001" + "ご担当者様");
    {
        const QuotationHeader& h = quotation().header;
        EXPECT_TRUE(state().NewEntry);
        EXPECT_EQ(h.得意先対応先区分, 1);
        // The staff member is still taken.
        EXPECT_EQ((Strings{h.得意先コード, Text({"得意先コード"}), h.得意先名称A, h.得意先御担当者コード,
                           h.担当者コード}),
                  (Strings{"", "", "", "", "00101"}));
    }

    Restart(start + "001" + "20270331" + "99999999" + blank19 + "00101" + "1" + "000001" + "00001" + "ご担当者様");
    const QuotationHeader& h = quotation().header;  // the restarted screen's
    EXPECT_TRUE(state().NewEntry);
    // The customer of the same command line is not read.
    EXPECT_EQ((Strings{h.参照営業見積No, h.得意先コード, Text({"得意先コード"}), h.御担当者名}),
              (Strings{"", "", "", ""}));
    EXPECT_NE(h.担当者コード, "00101");
    EXPECT_EQ(quotation().LastLine, -1);
}

// The manual panel opens the manual with the desktop's application, or says
// where it was looked for.
TEST_P(StartTest, TheManualPanelOpensTheManual) {
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    presenter->PanelClicked({"manualpanel"});
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("manual/Velmora.doc"), std::string::npos);
    EXPECT_TRUE(opened.empty());

    std::ofstream(install->root() + "manual/Velmora.doc") << "manual";
    presenter->PanelClicked({"manualpanel"});
    EXPECT_EQ(opened, Strings{install->root() + "manual/Velmora.doc"});
    SetShellOpener(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Engines, StartTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
