#include "app/command_line.h"

#include "data/sql_text.h"
#include "text/utf8.h"

namespace velmora {

static const char kZeroNumber[] = "00000000";

bool CommandKey::Given() const {
    return !TrimBlanks(officeCode).empty() && !TrimBlanks(baseDate).empty() && !TrimBlanks(number).empty() &&
           baseDate != kZeroNumber && number != kZeroNumber;
}

// Fields are cut by 1-based character position; past the end they are short or empty.
static std::string field(const std::string& text, size_t position, size_t length) {
    return std::string(MidChars(text, position - 1, length));
}

CommandLine ParseCommandLine(const std::string& raw) {
    CommandLine line;
    line.text = TrimBlanks(raw);
    if (line.text.empty()) return line;
    const std::string& t = line.text;
    line.exitAfterSave = true;
    line.document = {field(t, 1, 3), field(t, 4, 8), field(t, 12, 8)};
    line.reference = {field(t, 20, 3), field(t, 23, 8), field(t, 31, 8)};
    line.inquiry = {field(t, 39, 3), field(t, 42, 8), field(t, 50, 8)};
    line.staffCode = field(t, 58, 5);
    line.partnerKind = field(t, 63, 1);
    line.partnerCode = field(t, 64, 6);
    line.contactCode = TrimBlanks(field(t, 70, 5));
    line.contactName = t.substr(CharOffset(t, 74));
    const CommandKey& d = line.document;
    if (!TrimBlanks(d.officeCode).empty() && !TrimBlanks(d.baseDate).empty() && !d.number.empty()) {
        if (d.baseDate == kZeroNumber && d.number == kZeroNumber) {
            line.createFromCommand = true;
        } else {
            line.newEntry = false;
        }
    }
    return line;
}

}  // namespace velmora
