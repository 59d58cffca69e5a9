// The linking messages between a starter and the program it starts, through
// the configuration database (SQLite). Start and end information are
// arbitrary text, as command lines and replies carry it: one whole exchange
// must hand each of them over unchanged, leave no row behind and never make
// a statement fail. A process argument holds no NUL, so the texts hold none.

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "data/connection_string.h"
#include "data/data_access.h"
#include "data/schema_text.h"
#include "data/sql_text.h"
#include "fuzz_support.h"
#include "linking/link_messages.h"

namespace velmora::fuzz {
namespace {

constexpr const char* kStarter = "Velmora";
constexpr const char* kStarted = "Dunvale";

std::filesystem::path g_folder;

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

DataAccess& Access() {
    static std::unique_ptr<DataAccess> access = [] {
        // Every exchange reopens the database twice: keep it in memory where
        // the system offers a memory file system.
        std::error_code ignored;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ignored)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string folder = (base / "velmora-fuzz-link.XXXXXX").string();
        if (!mkdtemp(folder.data())) Fail("cannot make a temporary folder");
        g_folder = folder;
        std::atexit(RemoveFolder);
        const std::string path = (g_folder / "usrcnfg.accdb").string();
        DbError error;
        auto config = CreateSqliteDatabase(path, error);
        if (!config || !config->execute(std::string(ConfigSchemaSql()), error) ||
            !config->execute(
                "INSERT INTO 動作環境定義 (動作環境定義ID, 運用事業所コード, 起動担当者コード) VALUES "
                "('001', '001', '00012')",
                error))
            Fail("cannot create the configuration database", error.description);
        const TimePoint now = ParseTimestamp("20261206 093015");
        auto result = std::make_unique<DataAccess>([now] { return now; });
        result->identity() = {kStarter, "001", "00012", "sato", "PC-EIGYO01"};
        if (!result->OpenConfigConnection(ConfigConnectionString(1, path + ";")))
            Fail("cannot open the configuration database");
        return result;
    }();
    return *access;
}

long long Count(DataAccess& access, const std::string& tableAndWhere) {
    std::unique_ptr<Recordset> rs;
    return access.OpenConfigRecordset(rs, "SELECT COUNT(*) AS n FROM " + tableAndWhere) ? rs->integer("n")
                                                                                        : -1;
}

std::string WithoutNul(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

void CheckExchange(FuzzedDataProvider& in) {
    DataAccess& access = Access();
    const std::string startInfo = TrimBlanks(WithoutNul(in.ConsumeRandomLengthString(200)));
    const std::string endInfo = WithoutNul(in.ConsumeRemainingBytesAsString());
    const std::string limit = FormatTimestamp(access.Now() - std::chrono::minutes(1));

    access.identity().programId = kStarter;
    SendStartMessage(access, kStarter, kStarted, startInfo);

    access.identity().programId = kStarted;
    LinkingState state;
    Check(TakeStartMessage(access, state, "  " + startInfo + " ", limit),
          "the started program finds its message", startInfo);
    Check(state.sender == kStarter && state.startInfo == startInfo, "the start information arrives unchanged",
          state.startInfo);
    LinkingState again;
    Check(!TakeStartMessage(access, again, startInfo, limit), "a start message is taken once");
    state.endInfo = endInfo;
    SendReply(access, state);

    access.identity().programId = kStarter;
    std::string repliedEnd;
    Check(TakeReply(access, kStarted, startInfo, limit, repliedEnd) == startInfo, "the reply names the start",
          startInfo);
    Check(repliedEnd == endInfo, "the end information arrives unchanged", repliedEnd);
    Check(TakeReply(access, kStarted, startInfo, limit, repliedEnd).empty(), "a reply is taken once");

    Check(Count(access, "プログラム連携情報") == 0, "the exchange leaves no message behind");
    Check(Count(access, "プログラム稼動履歴 WHERE 摘要 LIKE 'エラー%'") == 0,
          "no statement of the exchange failed");
    access.ExecuteConfig("DELETE FROM プログラム稼動履歴");
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    velmora::fuzz::CheckExchange(input);
    return 0;
}
