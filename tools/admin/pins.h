#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// Whose PIN is set.
enum class PinHolder { Staff, Office, Company, System };

struct PinRequest {
    std::filesystem::path root;
    PinHolder holder = PinHolder::Staff;
    std::string code;  // staff or office code; empty for the company
    std::string pin;
};

// Enciphers the PIN under the installation's key and stores it. PINs are kept
// in upper case, as the sign-in dialog compares them. A message on failure.
bool SetPin(const PinRequest& request, std::string& message);

struct SignInRequest {
    std::filesystem::path root;
    bool on = false;
};

// Turns PIN sign-in on or off for the company and every office (each office
// has a setting of its own that stands in for the company's). The message
// says what was done or why nothing was.
bool SetSignIn(const SignInRequest& request, std::string& message);

}  // namespace velmora
