#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/process.h"
#include "quotation/activities.h"
#include "quotation/attachment_files.h"
#include "quotation/attachments.h"
#include "screen_fixture.h"
#include "screens/entry/detail_pages.h"
#include "screens/entry/entry_fields.h"
#include "support/file_modes.h"
#include "support/statements.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kAddFile = "btn_付属書類追加";
constexpr const char* kAddFolder = "btn_フォルダ追加";
constexpr const char* kDelete = "btn_付属書類削除";

// The activity and attachment pages on the demo installation: the activity
// report program is played by the stand-in, which records its command line;
// the desktop's opener is replaced by one that records the path.
class DetailPagesTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SetShellOpener([this](const std::string& path) {
            opened.push_back(path);
            return openerWorks;
        });
        documents = install->value("SELECT ドキュメントフォルダ FROM Mユーザ WHERE ID = '0001'");
        number = install->value("SELECT MIN(営業見積No) FROM T営業見積 WHERE 事業所コード = '001'");
        baseDate = install->value("SELECT 番号基準日付 FROM T営業見積 WHERE 事業所コード = '001' AND 営業見積No = '" +
                                  number + "'");
    }
    void TearDown() override {
        SetShellOpener(nullptr);
        ScreenTest::TearDown();
    }

    const Rows& ListRows(const std::string& list) { return view.listRows[list]; }
    // A file of `bytes` bytes to attach, made in a folder of the test's own.
    std::string Source(const std::string& name, std::uintmax_t bytes = 10) {
        const fs::path path = sources.path() / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << std::string(bytes, 'x');
        return path.string();
    }
    void AttachFile(const std::string& path) {
        view.chosenFiles.push_back(path);
        Press(kAddFile);
    }
    std::string InformationId() { return "001" + baseDate + number; }
    std::string StoredPath(const std::string& seqNo, const std::string& name) {
        return documents + "/Velmora_" + InformationId() + "_" + seqNo + "_" + name;
    }
    std::string Attachments(const std::string& condition = "") {
        return "M付属書類 WHERE 情報名 = 'Velmora' AND 情報識別ID = '" + InformationId() + "'" + condition;
    }
    bool Enabled(const char* button) { return view.enabled.count({button}) && view.enabled[{button}]; }
    // Activities of staff member 00101 on the quotation: day, start, direction, method, stage, the customer's
    // contact (none: NULL) and the note.
    void AddActivities(const std::vector<RowValues>& activities) {
        std::vector<RowValues> rows;
        for (const RowValues& a : activities)
            rows.push_back(
                {"00101", a[0], a[1], "23:00", a[2], a[3], "2", a[4], a[5], a[6], "001", baseDate, number});
        for (const std::string& sql :
             InsertSql("T営業活動明細",
                       "担当者コード, 日付, 開始時刻, 終了時刻, 発信区分, 応対方法, 要件分類, "
                       "対応分類, 相手先御担当者名, 営業活動摘要, 営業見積事業所コード, "
                       "営業見積番号基準日付, 営業見積No",
                       rows))
            install->business(sql);
    }
    std::string CodeName(const std::string& table, const std::string& code, const std::string& extra = "") {
        return install->value("SELECT 名称 FROM " + table + " WHERE 区分 = '" + code + "'" + extra);
    }

    TempDir sources;
    std::vector<std::string> opened;
    bool openerWorks = true;
    std::string documents, number, baseDate;
};

// The activities naming the quotation, newest day first and within a day by
// start time; an activity whose stage is not on file is not listed; Enter
// starts the schedule report program with the activity's key.
TEST_P(DetailPagesTest, TheActivityListShowsTheQuotationsActivitiesAndOpensThem) {
    const std::string staff = "00101";
    AddActivities({{"20261110", "09:00", "1", "0", "0", "ご担当者様", "初回訪問"},
                   {"20261112", "14:00", "0", "2", "1", "田中様", "電話で回答"},
                   {"20261112", "10:30", "1", "3", "2", std::nullopt, "資料を送付"},
                   {"20261114", "09:00", "1", "0", "9", "ご担当者様", "段階なし"}});
    ASSERT_TRUE(view.listRows.count(kActivityList));
    EXPECT_TRUE(ListRows(kActivityList).empty()) << "a new quotation";

    OpenStored(number);
    const std::string name = install->value("SELECT 氏名 FROM M担当者 WHERE コード = '" + staff + "'");
    const auto row = [&](const char* day, const char* start, const char* direction, const char* method,
                         const char* stage, const char* contact, const char* note) {
        return std::vector<std::string>{day, start, name, CodeName("K発信区分", direction),
                                        CodeName("K応対方法", method), CodeName("K要件分類", "2"),
                                        CodeName("K対応分類", stage, " AND 要件分類 = '2'"), contact, note};
    };
    const Rows expected = {row("2026/11/12", "10:30", "1", "3", "2", "", "資料を送付"),
                           row("2026/11/12", "14:00", "0", "2", "1", "田中様", "電話で回答"),
                           row("2026/11/10", "09:00", "1", "0", "0", "ご担当者様", "初回訪問")};
    EXPECT_EQ(ListRows(kActivityList), expected);

    presenter->ListActivated(kActivityList, 1);
    presenter->ListActivated(kActivityList, 3);  // past the last row: nothing
    EXPECT_EQ(Starts("Tovarek", 1), (std::vector<std::string>{"0012026111214:0023:00" + staff}));
    EXPECT_TRUE(view.messages.empty());

    fs::remove(install->root() + "prgbin/Tovarek");
    presenter->ListActivated(kActivityList, 0);
    EXPECT_EQ(view.messages, (std::vector<std::string>{kActivityReportMissing}));

    Press("btn_画面クリア");
    EXPECT_TRUE(ListRows(kActivityList).empty()) << "cleared to a new quotation";
}

// The buttons follow the mode: nothing for a new quotation, adding for a
// stored one, deleting once it has an attachment.
TEST_P(DetailPagesTest, TheButtonsFollowTheMode) {
    struct Step {
        const char* what;
        std::function<void()> act;
        bool add, remove;
    };
    const Step steps[] = {
        {"new", [] {}, false, false},
        {"stored", [&] { OpenStored(number); }, true, false},
        {"attached", [&] { AttachFile(Source("a.txt")); }, true, true},
        {"cleared", [&] { Press("btn_画面クリア"); }, false, false},
    };
    for (const Step& step : steps) {
        step.act();
        ASSERT_TRUE(view.enabled.count({kAddFile}) && view.enabled.count({kDelete})) << step.what;
        EXPECT_EQ(Enabled(kAddFile), step.add) << step.what;
        EXPECT_EQ(Enabled(kAddFolder), step.add) << step.what;
        EXPECT_EQ(Enabled(kDelete), step.remove) << step.what;
    }
    // The buttons of a new quotation do nothing, even when pressed.
    view.chosenFiles = {Source("b.txt")};
    view.chosenFolders = {sources.path().string()};
    Press(kAddFile);
    Press(kAddFolder);
    EXPECT_EQ(view.fileDialogs.size(), 1u) << "only the attachment of the stored quotation";
    EXPECT_TRUE(view.folderDialogs.empty());
}

// Files and folders are copied under their key and listed in SEQNo order
// (how the numbers count on is the attachment tests').
TEST_P(DetailPagesTest, AttachmentsAreCopiedNumberedListedAndDeleted) {
    OpenStored(number);
    const std::string big = Source("見積根拠.xlsx", 1536000);
    AttachFile(big);
    EXPECT_EQ(view.fileDialogs, (std::vector<std::string>{std::getenv("HOME") ? std::getenv("HOME") : ""}));
    ASSERT_FALSE(view.fileFilters.empty());
    EXPECT_EQ(view.fileFilters.front().pattern, "*.*");
    const std::string folder = (sources.path() / "図面").string();
    Source("図面/平面図.txt", 500);
    Source("図面/詳細/断面図.txt", 700);
    view.chosenFolders = {folder};
    Press(kAddFolder);
    EXPECT_EQ(view.folderDialogs.back().substr(0, view.folderDialogs.back().find('|')), DetailPages::kFolderBrowserTitle);
    EXPECT_EQ(view.copies, 2) << "every copy runs through the window's progress";
    AttachFile(Source("メモ.txt", 500));
    ASSERT_TRUE(view.messages.empty()) << view.messages.front();

    ASSERT_EQ(install->count(Attachments()), 3);
    EXPECT_TRUE(fs::is_regular_file(StoredPath("001", "見積根拠.xlsx")));
    const auto date = [](const std::string& path) {
        const auto written = std::chrono::file_clock::to_sys(fs::last_write_time(path));
        const std::time_t t = std::chrono::system_clock::to_time_t(
            std::chrono::time_point_cast<std::chrono::system_clock::duration>(written));
        char text[16];
        std::strftime(text, sizeof text, "%Y/%m/%d", std::localtime(&t));
        return std::string(text);
    };
    const Rows expected = {{"見積根拠", "1,500KB", date(StoredPath("001", "見積根拠.xlsx"))},
                           {"図面", "フォルダ", date(StoredPath("002", "図面"))},
                           {"メモ", "0KB", date(StoredPath("003", "メモ.txt"))}};
    EXPECT_EQ(ListRows(kAttachmentList), expected);

    // The row as the suite's other programs read it.
    const std::string where = " AND SEQNo = '002'";
    struct Column {
        const char* name;
        std::string value;
    };
    const QuotationHeader& h = quotation().header;
    const Column columns[] = {{"書類名", folder},       {"タイトル", "図面"},    {"伝票番号ID", "16210"},
                              {"伝票事業所コード", "001"}, {"伝票番号基準日付", baseDate}, {"伝票No", number},
                              {"伝票日付", h.営業見積日付}, {"得意先コード", h.得意先コード}, {"担当者コード", h.担当者コード},
                              {"部門コード", h.部門コード}, {"仕入先コード", ""},    {"ユーザID", screen().context.UserId()},
                              {"登録日付", program->access().NowText()}};
    for (const Column& c : columns)
        EXPECT_EQ(install->value(std::string("SELECT ") + c.name + " FROM " + Attachments(where)), c.value) << c.name;
    EXPECT_EQ(std::stoll(install->value("SELECT 対象金額 FROM " + Attachments(where))), 0);

    // Deleting 001 asks, then removes its row and its copy.
    view.currentRow[kAttachmentList] = 0;
    view.answers = {false, true};
    Press(kDelete);
    EXPECT_EQ(install->count(Attachments()), 3) << "No keeps it";
    Press(kDelete);
    EXPECT_EQ(view.questions.back(), DetailPages::kDeleteQuestion);
    EXPECT_EQ(install->count(Attachments(" AND SEQNo = '001'")), 0);
    EXPECT_FALSE(fs::exists(StoredPath("001", "見積根拠.xlsx")));
    EXPECT_EQ(std::count(view.notices.begin(), view.notices.end(), DetailPages::kDeletingNotice), 1);
    EXPECT_EQ(view.notice, "");
    EXPECT_EQ(ListRows(kAttachmentList).size(), 2u);
    // The folder goes with everything in it.
    view.currentRow[kAttachmentList] = 0;
    view.answers = {true};
    Press(kDelete);
    EXPECT_FALSE(fs::exists(StoredPath("002", "図面")));

    // Nothing selected: no question.
    view.currentRow.erase(kAttachmentList);
    const size_t asked = view.questions.size();
    Press(kDelete);
    EXPECT_EQ(view.questions.size(), asked);
}

// A double-click opens the copy with the desktop's application; a copy that
// has gone missing is reported instead of opened (how the list marks it is
// the attachment tests').
TEST_P(DetailPagesTest, AttachmentsOpenFromTheirCopyAndMissingCopiesAreMarked) {
    OpenStored(number);
    AttachFile(Source("仕様書.pdf"));
    AttachFile(Source("注文書.pdf"));
    presenter->ListActivated(kAttachmentList, 1);
    EXPECT_EQ(opened, (std::vector<std::string>{StoredPath("002", "注文書.pdf")}));

    openerWorks = false;
    presenter->ListActivated(kAttachmentList, 0);
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{std::string(kCannotOpen) + "\n" + StoredPath("001", "仕様書.pdf")}));

    fs::remove(StoredPath("001", "仕様書.pdf"));
    opened.clear();
    presenter->ListActivated(kAttachmentList, 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(view.messages.back(), std::string(kCopyMissing) + "\n" + StoredPath("001", "仕様書.pdf"));
}

// A copy that cannot be made writes no row and says so: the document folder
// setting naming a file, and a source folder with something that cannot be
// copied (its half copy is taken away again).
TEST_P(DetailPagesTest, AFailedCopyWritesNoRowAndIsReported) {
    const std::string blocker = (sources.path() / "not-a-folder").string();
    std::ofstream(blocker) << "a file where the document folder should be";
    install->business("UPDATE Mユーザ SET ドキュメントフォルダ = '" + blocker + "' WHERE ID = '0001'");
    Restart("");
    OpenStored(number);
    AttachFile(Source("a.txt"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(std::string(kCopyFailed) + "\n" + blocker + "/Velmora_" + InformationId() + "_001_a.txt", 0), 0u)
        << view.messages[0];
    EXPECT_EQ(install->count(Attachments()), 0);
    EXPECT_TRUE(ListRows(kAttachmentList).empty());
    EXPECT_FALSE(Enabled(kDelete));

    install->business("UPDATE Mユーザ SET ドキュメントフォルダ = '" + documents + "' WHERE ID = '0001'");
    Restart("");
    OpenStored(number);
    const std::string folder = (sources.path() / "with-a-pipe").string();
    Source("with-a-pipe/a.txt");
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0644), 0);
    view.chosenFolders = {folder};
    Press(kAddFolder);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(kCopyFailed, 0), 0u) << view.messages[0];
    EXPECT_FALSE(fs::exists(StoredPath("001", "with-a-pipe"))) << "no half copy is left";
    EXPECT_EQ(install->count(Attachments()), 0);
}

// A folder that holds the document folder would be copied into itself: it is
// refused before anything is copied (which folders hold it, links included,
// is FoldersThatWouldCopyIntoThemselves below).
TEST_P(DetailPagesTest, AFolderHoldingTheDocumentFolderIsRefused) {
    OpenStored(number);
    fs::create_directories(documents);
    const std::string chosen[] = {documents, documents + "/"};
    for (const std::string& folder : chosen) {
        SCOPED_TRACE(folder);
        view.messages.clear();
        view.chosenFolders = {folder};
        Press(kAddFolder);
        EXPECT_EQ(view.messages,
                  std::vector<std::string>{"ドキュメントフォルダを含むフォルダは付属書類に追加できません。"
                                           "別のフォルダを選択してください。\n" +
                                           folder});
    }
    EXPECT_EQ(view.copies, 0);
    EXPECT_EQ(install->count(Attachments()), 0);
    EXPECT_FALSE(AnyStoredWithPrefix(documents, "Velmora_"));
}

// Cancelling the copy part way takes away what was copied and writes no row.
TEST_P(DetailPagesTest, ACancelledCopyLeavesNothingAndWritesNoRow) {
    OpenStored(number);
    for (int i = 0; i < 12; ++i) Source("大量/" + std::to_string(i) + ".dat", 64 * 1024);
    view.cancelCopyAfter = 4;
    view.chosenFolders = {(sources.path() / "大量").string()};
    Press(kAddFolder);
    ASSERT_EQ(view.copies, 1);
    EXPECT_EQ(view.messages, std::vector<std::string>{"付属書類の追加を取り消しました。"});
    EXPECT_EQ(install->count(Attachments()), 0);
    EXPECT_FALSE(fs::exists(StoredPath("001", "大量")));
    EXPECT_FALSE(AnyStoredWithPrefix(documents, "Velmora_"));
    EXPECT_TRUE(ListRows(kAttachmentList).empty());

    // The next try copies it whole under the same number.
    view.cancelCopyAfter = -1;
    view.chosenFolders = {(sources.path() / "大量").string()};
    Press(kAddFolder);
    EXPECT_EQ(install->count(Attachments(" AND SEQNo = '001'")), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(StoredPath("001", "大量")), fs::directory_iterator()), 12);
}

// A nested folder arrives exactly: every file with its bytes, empty folders
// too, and a link to a folder as the link (not followed into a loop).
TEST_P(DetailPagesTest, ANestedFolderIsCopiedExactly) {
    OpenStored(number);
    const fs::path root = sources.path() / "案件";
    Source("案件/見積.txt", 3);
    Source("案件/図面/一階/平面.dwg", 200000);
    Source("案件/図面/二階/平面.dwg", 1);
    Source("案件/空/.keep", 0);
    fs::create_directories(root / "何もない");
    {
        std::ofstream binary(root / "図面" / "bytes.bin", std::ios::binary);
        for (int i = 0; i < 256; ++i) binary.put(static_cast<char>(i));
    }
    fs::create_directory_symlink("..", root / "図面" / "上へ");
    view.chosenFolders = {root.string()};
    Press(kAddFolder);
    ASSERT_TRUE(view.messages.empty()) << view.messages.front();
    ASSERT_EQ(install->count(Attachments()), 1);

    const auto tree = [](const fs::path& top) {
        std::map<std::string, std::string> entries;
        for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator(); ++it) {
            const std::string relative = it->path().lexically_relative(top).string();
            if (it->is_symlink())
                entries[relative] = "link " + fs::read_symlink(it->path()).string();
            else if (it->is_directory())
                entries[relative] = "folder";
            else {
                std::ifstream in(it->path(), std::ios::binary);
                entries[relative] = std::string(std::istreambuf_iterator<char>(in), {});
            }
        }
        return entries;
    };
    const auto copied = tree(StoredPath("001", "案件"));
    EXPECT_EQ(copied.size(), 11u);
    EXPECT_EQ(copied.at("図面/上へ"), "link ..");
    EXPECT_EQ(copied.at("図面/bytes.bin").size(), 256u);
    EXPECT_EQ(copied.at("何もない"), "folder");
    EXPECT_TRUE(copied == tree(root)) << "the copy differs from its source";
}

TEST(AttachmentCopyTarget, FoldersThatWouldCopyIntoThemselves) {
    TempDir dir;
    const fs::path documents = dir.path() / "会社" / "documents";
    fs::create_directories(documents / "Velmora_x_001_案件" / "下");
    fs::create_directories(dir.path() / "会社" / "他");
    fs::create_directory_symlink(dir.path() / "会社", dir.path() / "link");
    const std::string target = (documents / "Velmora_x_002_案件").string();
    struct Case {
        fs::path source;
        bool refused;
    };
    const Case cases[] = {
        {documents, true},
        {documents.parent_path(), true},
        {dir.path() / "link", true},
        {dir.path() / "link" / "documents", true},
        {target, true},
        {fs::path(target) / "下", true},
        {dir.path() / "会社" / "他", false},
        {documents / "Velmora_x_001_案件", false},
    };
    fs::create_directories(fs::path(target) / "下");
    for (const Case& c : cases)
        EXPECT_EQ(CopiesIntoItself(c.source.string(), documents.string(), target), c.refused) << c.source;
    std::ofstream(dir.path() / "a.txt") << "x";
    EXPECT_FALSE(CopiesIntoItself((dir.path() / "a.txt").string(), documents.string(), target)) << "a file";
}

// A document folder the user may not write to (root's override is dropped
// while the file is attached).
TEST_P(DetailPagesTest, AReadOnlyDocumentFolderWritesNoRow) {
    OpenStored(number);
    const auto source = Source("a.txt");
    fs::permissions(documents, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        FileModesApply modes;
        ASSERT_TRUE(modes.effective()) << "root's file permission capabilities cannot be dropped here";
        AttachFile(source);
    }
    fs::permissions(documents, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(kCopyFailed, 0), 0u) << view.messages[0];
    EXPECT_EQ(install->count(Attachments()), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, DetailPagesTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
