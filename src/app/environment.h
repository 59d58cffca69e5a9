#pragma once

#include <array>
#include <string>

#include "app/session.h"
#include "data/data_access.h"

namespace velmora {

class Cipher;

// Company record, operating office (falling back to "000", written back to
// the operating environment), other-business settings and the office count.
// False only when the company record is missing.
bool LoadCompanyAndOffices(DataAccess& access, Session& session, const Cipher* cipher);

// A stored PIN in plain text; an unreadable one is unusable (it never
// matches) and leaves an error row.
std::string DecipherPin(DataAccess& access, const Cipher* cipher, const std::string& stored, const std::string& what);

// "令和06年12月06日" style text of a "yyyymmdd" date; empty before every era.
std::string EraDate(DataAccess& access, const std::string& date);

// Writes the 26 condition item names of the program into the business-menu table.
bool RegisterConditionItems(DataAccess& access, const std::string& menu, const std::string& programId,
                            const std::array<std::string, 26>& names);

// The caption of the main window's title panel.
std::string SetTitlePanel(DataAccess& access, const Session& session);

}  // namespace velmora
