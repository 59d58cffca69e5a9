#pragma once

#include <string>

#include "app/session.h"
#include "app/startup_host.h"
#include "data/data_access.h"

namespace velmora {

class Cipher;

// Operation kinds of the permission checks.
enum class Operation { Run = 0, Input = 1, Change = 2, Delete = 3, Print = 4, Preview = 5, TextOutput = 6, ImageOutput = 7 };

enum class PermissionResult { Allowed, Refused, SignedInNotAllowed };

// The start-up staff code of the operating environment; true when not blank.
bool ReadStartStaffCode(DataAccess& access, Session& session);
// The staff record into the session; true when found.
bool ReadStaff(DataAccess& access, Session& session, const std::string& code);

bool CheckOperationPermission(DataAccess& access, Session& session, const std::string& menu,
                              const std::string& programId, int kind);

// The run check of start-up: may open the PIN dialog when the company asks
// for sign-in and the stored staff member may not run the program.
PermissionResult CheckPermission(DataAccess& access, Session& session, StartUpHost& host, const Cipher* cipher,
                                 const std::string& programId, const std::string& menu, int kind);

// A permission text allows when its numeric value is 0 (empty counts as 0).
bool PermissionAllows(const std::string& text);

}  // namespace velmora
