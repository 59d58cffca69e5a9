#pragma once

#include <string>
#include <vector>

#include "admin/installation.h"
#include "admin/pins.h"

namespace velmora {

enum class AdminCommand { Help, Init, RefreshPrograms, Schema, SetPin, SignIn, Invalid };

struct AdminRequest {
    AdminCommand command = AdminCommand::Help;
    InitOptions init;          // init, refresh-programs (root only)
    std::string schemaName;    // schema: "config" or "business"
    PinRequest pin;            // set-pin
    SignInRequest signIn;      // sign-in
    std::string problem;       // why the arguments were refused
};

// Reads the arguments after the program name.
AdminRequest ParseAdminArguments(const std::vector<std::string>& arguments);

// "DATASOURCE:CATALOG": the catalog follows the last colon unless that part is
// a port number ("/run/pg:5432:sales" → "/run/pg:5432" and "sales").
bool SplitPostgresTarget(const std::string& text, std::string& dataSource, std::string& database);

std::string AdminUsage();

}  // namespace velmora
