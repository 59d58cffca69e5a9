#pragma once

#include <string>

#include "data/data_access.h"

namespace velmora {

// Save kinds announced to the update program.
inline constexpr const char* kSaveKindNew = "0";
inline constexpr const char* kSaveKindChange = "1";
inline constexpr const char* kSaveKindDelete = "2";

// A saved or deleted document as the update program is told of it: the red
// half is the replaced state, the black half the new one. A history number
// whose value is 0 has no row.
struct UpdateNotice {
    std::string saveKind;
    std::string numberId;
    std::string officeCode;
    std::string oldBaseDate;
    std::string oldNumber;
    std::string oldHistoryNo;
    std::string newBaseDate;
    std::string newNumber;
    std::string newHistoryNo;
};

struct NotifyResult {
    int saveStatus = 1;        // 1 written, 3 failed
    std::string saveMessage;   // shown by the screen on failure
    bool restartSession = false;  // the update program is to be started after a session restart
};

// Writes the notice rows. With update run flag 1 they go to the business
// database (logged); otherwise to the configuration database, and the caller
// restarts the database session and starts the update program.
NotifyResult NotifyUpdate(DataAccess& access, const UpdateNotice& notice, int updateRunFlag);

// The statement of one notice row.
std::string UpdateNoticeSql(const LogIdentity& id, const UpdateNotice& notice, bool red);

}  // namespace velmora
