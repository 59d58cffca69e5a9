#include "linking/linked_start.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "linking/link_messages.h"
#include "platform/process.h"
#include "text/utf8.h"

namespace velmora {

namespace {

// Left-aligned in n characters: padded with blanks, cut at n.
std::string fix(const std::string& value, std::size_t n) {
    std::string out(LeftChars(value, n));
    std::size_t count = CharCount(out);
    if (count < n) out.append(n - count, ' ');
    return out;
}

// A value in the comma-separated part of an argument.
std::string field(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == ',')
            out += "，";
        else
            out.push_back(c);
    }
    return out;
}

bool blank(const std::string& code) {
    return TrimBlanks(code).empty();
}

std::string office3(const std::string& office) {
    return fix(office, 3);
}

std::string periodStart(const std::string& aggregationDate) {
    using namespace std::chrono;
    if (aggregationDate.size() != 8 || aggregationDate.find_first_not_of("0123456789") != std::string::npos)
        return {};
    int y = std::stoi(aggregationDate.substr(0, 4));
    unsigned m = static_cast<unsigned>(std::stoi(aggregationDate.substr(4, 2)));
    unsigned d = static_cast<unsigned>(std::stoi(aggregationDate.substr(6, 2)));
    year_month_day end{year{y}, month{m}, day{d}};
    if (!end.ok()) return {};
    year_month_day earlier{end.year() - years{1}, end.month(), end.day()};
    if (!earlier.ok()) earlier = year_month_day_last{earlier.year(), month_day_last{earlier.month()}};
    year_month_day start{sys_days{earlier} + days{1}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(start.year()),
                  static_cast<unsigned>(start.month()), static_cast<unsigned>(start.day()));
    return text;
}

// Sets the window up for the wait and puts it back on every way out.
class WaitingWindow {
  public:
    explicit WaitingWindow(LinkWait& wait) : m_wait(wait) {
        m_wait.SetWindowEnabled(false);
        m_wait.SetWaiting(true);
    }
    ~WaitingWindow() {
        m_wait.SetWaiting(false);
        m_wait.SetWindowEnabled(true);
    }
    WaitingWindow(const WaitingWindow&) = delete;
    WaitingWindow& operator=(const WaitingWindow&) = delete;

  private:
    LinkWait& m_wait;
};

// Removes this user's start message to the program if it is still there:
// nobody took it, and a later start with the same argument must not find
// a stale one.
void withdrawStartMessage(DataAccess& access, const std::string& program, const std::string& startInfo,
                          const std::string& limit) {
    access.ExecuteConfig(std::string("DELETE FROM プログラム連携情報") + " WHERE 発信日時 >= '" + limit +
                         "'" + " AND 発信プログラムID = '" + QuoteSql(access.identity().programId) + "'" +
                         " AND 受信プログラムID = '" + QuoteSql(program) + "'" + " AND 起動連携情報 = '" +
                         QuoteSql(startInfo) + "'" + " AND 連携区分 = '00'" + " AND ユーザID = '" +
                         QuoteSql(access.identity().userId) + "'");
    access.ReopenConfigConnection();
}

constexpr int kSettleMs = 100;
constexpr int kPollMs = 20;

}  // namespace

const char* CustomerPanelProgram(bool counterparty) {
    return counterparty ? kCounterpartyRegistration : kCustomerRegistration;
}
const char* ContactPanelProgram(bool counterparty) {
    return counterparty ? kCounterpartyContactRegistration : kContactRegistration;
}
const char* DeliveryPanelProgram(bool counterparty) {
    return counterparty ? kCounterpartyRegistration : kDeliveryRegistration;
}
const char* SupplierPanelProgram(bool counterparty) {
    return counterparty ? kCounterpartyRegistration : kSupplierRegistration;
}

std::string CustomerPanelArgument(const std::string& office, const std::string& code,
                                  const std::string& nameA, const std::string& nameB,
                                  const std::string& contactName, const std::string& staffCode) {
    if (!blank(code)) return office3(office) + fix(code, 6);
    return office3(office) + ZeroCode(6) + ",," + field(nameA) + "," + field(nameB) + ",,,,,,," +
           field(contactName) + ",," + field(staffCode);
}

std::string ContactPanelArgument(const std::string& office, const std::string& customerCode,
                                 const std::string& contactCode, const std::string& contactName) {
    std::string head = office3(office) + fix(customerCode, 6);
    if (!blank(contactCode)) return head + fix(contactCode, 5);
    return head + ZeroCode(5) + "," + field(contactName) + ",,";
}

std::string DeliveryPanelArgument(const std::string& office, const std::string& code,
                                  const std::string& nameA, const std::string& nameB,
                                  const std::string& staffCode) {
    if (!blank(code)) return office3(office) + fix(code, 6);
    return office3(office) + ZeroCode(6) + ",," + field(nameA) + "," + field(nameB) + ",,,,,,,,," +
           field(staffCode);
}

std::string SupplierPanelArgument(const std::string& office, const std::string& code, const std::string& name,
                                  const std::string& staffCode) {
    if (!blank(code)) return office3(office) + fix(code, 6);
    return office3(office) + ZeroCode(6) + ",," + field(name) + ",,,,,,,,," + field(staffCode);
}

std::string ProductPanelArgument(const std::string& office, const std::string& code,
                                 const std::string& productName, const std::string& unit) {
    if (!blank(code)) return office3(office) + fix(code, 16);
    // The registration program holds a product's name as two lines, the
    // first of 15 characters.
    std::string name = field(productName);
    return office3(office) + ZeroCode(16) + "," + std::string(LeftChars(name, 15)) + "," +
           std::string(MidChars(name, 15, std::string::npos)) + "," + field(unit) + ",";
}

std::string ProductActivityArgument(const std::string& office, const std::string& productCode,
                                    const std::string& aggregationDate) {
    return office3(office) + fix(productCode, 16) + periodStart(aggregationDate) + aggregationDate;
}

std::string QuotationCopyArgument(const std::string& office, const std::string& baseDate,
                                  const std::string& number) {
    return office3(office) + ZeroCode(16) + office3(office) + fix(baseDate, 8) + fix(number, 8);
}

std::string ReferenceSourceArgument(const std::string& office, const std::string& baseDate,
                                    const std::string& number) {
    if (blank(number) || number == ZeroCode(8)) return {};
    return office3(office) + fix(baseDate, 8) + fix(number, 8);
}

bool StartSibling(const std::string& programFolder, const std::string& program, const std::string& argument) {
    return StartDetached((std::filesystem::path(programFolder) / program).string(), argument);
}

std::string EndedWithoutReplyNotice(const std::string& program) {
    return "登録プログラム（" + program + "）が応答せずに終了しました。";
}

LinkedResult LaunchLinked(DataAccess& access, const std::string& programFolder, const std::string& program,
                          const std::string& argument, LinkWait& wait) {
    LinkedResult result;
    const std::string limit = access.NowText();
    // The started program looks for its start message by its own command
    // line with the blanks around it trimmed; a code padded at the end of
    // the argument would otherwise never match.
    const std::string startInfo = TrimBlanks(argument);
    WaitingWindow waiting(wait);

    SendStartMessage(access, access.identity().programId, program, startInfo);
    wait.Pause(kSettleMs);
    // Started as a child of this program, so its end is seen.
    StartedProgram child;
    if (!child.Start((std::filesystem::path(programFolder) / program).string(), argument)) {
        withdrawStartMessage(access, program, startInfo, limit);
        return result;
    }
    result.started = true;
    for (;;) {
        access.ReopenConfigConnection();
        // Looked at before the reply: a program that replies and then ends
        // has its reply found in the same round.
        const bool ended = child.Ended();
        std::string endInfo;
        if (!TakeReply(access, program, startInfo, limit, endInfo).empty()) {
            result.replied = true;
            result.endInfo = endInfo;
            return result;
        }
        if (ended) {
            result.endedWithoutReply = true;
            withdrawStartMessage(access, program, startInfo, limit);
            return result;
        }
        wait.Pause(kPollMs);
        if (!wait.KeepWaiting()) {
            withdrawStartMessage(access, program, startInfo, limit);
            return result;
        }
    }
}

}  // namespace velmora
