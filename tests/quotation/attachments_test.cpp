#include "quotation/attachments.h"

#include <filesystem>
#include <fstream>

#include "documents_fixture.h"
#include "quotation/activities.h"
#include "quotation/attachment_files.h"
#include "support/file_modes.h"
#include "support/statements.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

TEST(AttachmentNames, TitlesAndLastPartsOfChosenPaths) {
    struct Case {
        const char* path;
        bool folder;
        const char* last;
        const char* title;
    };
    const Case cases[] = {
        {"/home/yamada/見積根拠.xlsx", false, "見積根拠.xlsx", "見積根拠"},
        {"/home/yamada/archive.tar.gz", false, "archive.tar.gz", "archive.tar"},
        {"/home/yamada/.profile", false, ".profile", ".profile"},
        {"/home/yamada/README", false, "README", "README"},
        {"C:\\書類\\仕様書.doc", false, "仕様書.doc", "仕様書"},
        {"/home/yamada/図面.v2", true, "図面.v2", "図面.v2"},
        {"/home/yamada/図面/", true, "図面", "図面"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LastPathPart(c.path), c.last) << c.path;
        EXPECT_EQ(AttachmentTitle(c.path, c.folder), c.title) << c.path;
    }
}

TEST(AttachmentNames, SizesInKilobytes) {
    const std::pair<std::uintmax_t, const char*> cases[] = {
        {0, "0KB"}, {500, "0KB"}, {1023, "1KB"}, {1536000, "1,500KB"}, {1024ull * 1234567, "1,234,567KB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(KilobyteText(bytes), text) << bytes;
}

TEST(ActivityDates, AreWrittenWithSlashes) {
    const std::pair<const char*, const char*> cases[] = {{"20261112", "2026/11/12"}, {"202611", "2026/11/"}, {"", "//"}};
    for (const auto& [date, text] : cases) EXPECT_EQ(SlashedDate(date), text);
}

// The attachment rows and their copies on both engines, in a document
// folder of the test's own.
class AttachmentsTest : public DocumentsTest {
protected:
    void SetUp() override {
        DocumentsTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        folder = (dbs->dir().path() / "documents").string();
        owner = {"001", kFy2025, "00000007", "20251120", "000101", "000003", "00012", "010", "01"};
    }
    QuotationAttachments attachments() { return QuotationAttachments(access(), folder, "sato00012PC-EIGYO01"); }
    std::string Source(const std::string& name) {
        const fs::path path = sources.path() / name;
        std::ofstream(path) << name;
        return path.string();
    }
    std::string Stored(const std::string& seqNo, const std::string& name) {
        return folder + "/Velmora_001" + kFy2025 + "00000007_" + seqNo + "_" + name;
    }
    std::vector<std::string> SeqNos() {
        std::vector<std::string> numbers;
        for (const AttachmentItem& item : attachments().List(owner)) numbers.push_back(item.seqNo);
        return numbers;
    }

    TempDir sources;
    std::string folder;
    AttachmentOwner owner;
};

// SEQNo counts on from the highest one stored; a number whose name is still
// taken in the document folder is passed over; past 999 nothing is added.
TEST_P(AttachmentsTest, NumbersCountOnFromTheHighest) {
    std::string message;
    const std::string a = Source("a.txt");
    ASSERT_TRUE(attachments().Add(owner, a, false, message)) << message;
    ASSERT_TRUE(attachments().Add(owner, a, false, message)) << message;
    ASSERT_TRUE(attachments().Remove(owner, "001", message));
    EXPECT_EQ(message, "");
    ASSERT_TRUE(attachments().Add(owner, a, false, message)) << message;
    EXPECT_EQ(SeqNos(), (std::vector<std::string>{"002", "003"}));

    std::ofstream(Stored("004", "left-behind.txt")) << "a copy whose row is gone";
    ASSERT_TRUE(attachments().Add(owner, a, false, message)) << message;
    EXPECT_EQ(SeqNos(), (std::vector<std::string>{"002", "003", "005"}));

    exec("UPDATE M付属書類 SET SEQNo = '999' WHERE SEQNo = '005'");
    EXPECT_FALSE(attachments().Add(owner, a, false, message));
    EXPECT_EQ(message, kNoFreeNumber);
    EXPECT_EQ(count("M付属書類"), 3);
}

// The row is written only once the copy is whole; a row that cannot be
// written takes its copy away again.
TEST_P(AttachmentsTest, ARowThatCannotBeWrittenLeavesNoCopy) {
    for (const std::string& sql : test::RefuseWritesSql(GetParam(), "M付属書類", "INSERT")) exec(sql);
    std::string message;
    EXPECT_FALSE(attachments().Add(owner, Source("a.txt"), false, message));
    EXPECT_EQ(message, kNotRecorded);
    EXPECT_FALSE(fs::exists(Stored("001", "a.txt")));
    EXPECT_TRUE(fs::is_directory(folder)) << "the document folder itself stays";
}

// Without a document folder setting nothing is attached, and the rows that
// exist list without a copy.
TEST_P(AttachmentsTest, NoDocumentFolderSetting) {
    std::string message;
    ASSERT_TRUE(attachments().Add(owner, Source("a.txt"), false, message)) << message;
    QuotationAttachments unset(access(), "", "sato00012PC-EIGYO01");
    EXPECT_FALSE(unset.Add(owner, Source("b.txt"), false, message));
    EXPECT_EQ(message, kNoDocumentFolder);
    const std::vector<AttachmentItem> items = unset.List(owner);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(AttachmentCells(items[0]), (std::vector<std::string>{"a", kStoredCopyMissing, ""}));
    EXPECT_EQ(count("M付属書類"), 1);
}

// Deleting removes the copies that start with the attachment's key and an
// underscore, and nothing else; a copy that stays is reported, the row being
// gone already.
TEST_P(AttachmentsTest, DeletingRemovesOnlyTheAttachmentsOwnCopies) {
    std::string message;
    for (const char* name : {"a.txt", "b.txt"}) ASSERT_TRUE(attachments().Add(owner, Source(name), false, message));
    const std::string other = folder + "/Velmora_001" + kFy2025 + "00000007_0021.txt";
    std::ofstream(other) << "not a copy of 002";
    std::ofstream(Stored("002", "extra.txt")) << "a second copy under 002";
    ASSERT_TRUE(attachments().Remove(owner, "002", message));
    EXPECT_EQ(message, "");
    EXPECT_EQ((std::vector<bool>{fs::exists(Stored("002", "b.txt")), fs::exists(Stored("002", "extra.txt")),
                                 fs::exists(other), fs::exists(Stored("001", "a.txt"))}),
              (std::vector<bool>{false, false, true, true}));

    // A copy that cannot be removed: the document folder refuses changes
    // (root's override is dropped meanwhile).
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    {
        FileModesApply modes;
        ASSERT_TRUE(modes.effective()) << "root's file permission capabilities cannot be dropped here";
        EXPECT_TRUE(attachments().Remove(owner, "001", message));
    }
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(message.rfind(kCopyNotRemoved, 0), 0u) << message;
    EXPECT_EQ(count("M付属書類"), 0) << "the row is gone all the same";
}

// The activity list's query on both engines: inner joins, the order and the key.
TEST_P(AttachmentsTest, ActivitiesOfAQuotation) {
    for (const char* sql : {
             "INSERT INTO K発信区分 (区分, 名称) VALUES ('1', '発信')",
             "INSERT INTO K応対方法 (区分, 名称) VALUES ('0', '訪問')",
             "INSERT INTO K要件分類 (区分, 名称) VALUES ('2', '見積')",
             "INSERT INTO K対応分類 (要件分類, 区分, 名称) VALUES ('2', '0', '初回')",
         })
        exec(sql);
    const auto add = [&](const char* staff, const char* day, const char* start, const char* number) {
        exec(std::string("INSERT INTO T営業活動明細 (担当者コード, 日付, 開始時刻, 終了時刻, 発信区分, 応対方法, 要件分類, "
                         "対応分類, 営業活動摘要, 営業見積事業所コード, 営業見積番号基準日付, 営業見積No) VALUES ('") +
             staff + "', '" + day + "', '" + start + "', '1800', '1', '0', '2', '0', '訪問', '001', '" + kFy2025 +
             "', '" + number + "')");
    };
    add("00012", "20251121", "1300", "00000007");
    add("00012", "20251122", "0900", "00000007");
    add("00012", "20251121", "1000", "00000007");
    add("00099", "20251123", "0900", "00000007");  // no such staff member
    add("00012", "20251124", "0900", "00000008");  // another quotation
    const std::vector<ActivityItem> items = QuotationActivities(access(), "002", "001", kFy2025, "00000007");
    std::vector<std::string> keys;
    for (const ActivityItem& item : items) keys.push_back(item.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"0022025112209001800" "00012", "0022025112110001800" "00012",
                                              "0022025112113001800" "00012"}));
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].cells, (std::vector<std::string>{"2025/11/22", "0900", "佐藤 一郎", "発信", "訪問", "見積", "初回",
                                                        "", "訪問"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, AttachmentsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
