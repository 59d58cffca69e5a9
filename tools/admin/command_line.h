#pragma once

#include <string>
#include <vector>

#include "admin/installation.h"
#include "admin/pins.h"

namespace velmora {

enum class AdminCommand { Help, Version, Init, RefreshPrograms, Use, Copy, Move, Schema, SetPin, SignIn, Invalid };

struct AdminRequest {
    AdminCommand command = AdminCommand::Help;
    InitOptions init;          // init, refresh-programs, use (root only)
    bool chooseInstallation = true;  // init: make it the user's installation (not with --no-use)
    std::filesystem::path target;    // copy, move: the new folder (init.root is the source)
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
