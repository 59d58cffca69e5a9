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

}  // namespace velmora
