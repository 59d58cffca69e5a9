#pragma once

#include <string>
#include <vector>

#include "data/clock.h"
#include "data/connection.h"
#include "platform/cipher.h"

namespace velmora {

// File name of the update program that the numbering rows name; its stand-in
// is installed beside the other programs.
inline constexpr const char* kUpdateProgramName = "Nelvaro";

struct DemoSettings {
    CalendarDate today;          // demo documents are dated back from this day
    bool large = false;          // 100,000 more customers and 50,000 more products
    std::string documentFolder;  // where attachments are filed
    std::string imageFolder;     // form images (PDF output)
    std::string textFolder;      // text output
    const Cipher* cipher = nullptr;  // enciphers the staff PINs; none leaves them empty
};

// One staff member of the demo company, shared by the business data and the
// permission rows of the configuration database.
struct DemoStaff {
    std::string code;
    std::string name;
    std::string kana;
    std::string loginId;
    std::string office;
    std::string department;
    std::string section;
    std::string title;          // 役職コード
    std::string employeeKind;   // 社員区分
    std::string employed;       // 在籍区分: "0" employed, "1" left or leaving
    std::string leavingDate;    // 退社日付
    std::string accessLevel;    // アクセス権限
    bool sales = false;
    bool partTime = false;
};

// The 24 staff members, the same for the same day.
std::vector<DemoStaff> DemoStaffList(const CalendarDate& today);

// The demo PIN of a staff member: the last four digits of the code.
std::string DemoPin(const std::string& staffCode);

// Fills an empty business database with the demo company. Each table is
// written in one transaction; on failure the message names the table.
bool SeedBusinessDatabase(Connection& db, const DemoSettings& settings, std::string& error);

}  // namespace velmora
