#pragma once

#include <string>

namespace velmora {

// A document key as the command line carries it.
struct CommandKey {
    std::string officeCode;
    std::string baseDate;
    std::string number;
    // Given when all three parts are non-blank and neither the date nor the
    // number is "00000000".
    bool Given() const;
};

// The fixed-position command line of the suite's launcher and sibling
// programs. Layout A names a quotation to open (or the office of a new one);
// layout B ("00000000" twice) asks for a new quotation with presets.
struct CommandLine {
    std::string text;  // trimmed
    CommandKey document;
    CommandKey reference;  // positions 20-38
    CommandKey inquiry;    // positions 39-57
    std::string staffCode;      // 58-62, as cut
    std::string partnerKind;    // 63
    std::string partnerCode;    // 64-69
    std::string contactCode;    // 70-74, trimmed
    std::string contactName;    // 75 to the end

    bool exitAfterSave = false;
    bool newEntry = true;
    bool createFromCommand = false;
};

CommandLine ParseCommandLine(const std::string& raw);

}  // namespace velmora
