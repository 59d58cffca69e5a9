// The fixed-position command line of the suite's starters. The input is the
// raw command line.

#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "data/sql_text.h"
#include "fuzz_support.h"
#include "text/utf8.h"

namespace velmora::fuzz {
namespace {

void CheckKey(const CommandKey& key) {
    Check(CharCount(key.officeCode) <= 3 && CharCount(key.baseDate) <= 8 && CharCount(key.number) <= 8,
          "a key's parts keep their widths");
    if (key.Given())
        Check(key.baseDate != "00000000" && key.number != "00000000", "the zero key names nothing");
}

void CheckCommandLine(const std::string& raw) {
    const CommandLine line = ParseCommandLine(raw);
    Check(line.text == TrimBlanks(raw), "the line is kept trimmed");
    if (line.text.empty()) {
        Check(!line.exitAfterSave && line.newEntry && !line.createFromCommand && line.contactName.empty(),
              "an empty line starts a plain new quotation");
        return;
    }
    Check(line.exitAfterSave, "a started program ends after its save");

    // The fixed part, field after field, is the line's first 69 characters;
    // the contact code is cut from the next five and the name is the rest.
    const auto& d = line.document;
    const auto& r = line.reference;
    const auto& q = line.inquiry;
    const std::string fixed = d.officeCode + d.baseDate + d.number + r.officeCode + r.baseDate + r.number +
                              q.officeCode + q.baseDate + q.number + line.staffCode + line.partnerKind +
                              line.partnerCode;
    Check(fixed == LeftChars(line.text, 69), "the fields cover the fixed positions in order", fixed);
    Check(CharCount(line.staffCode) <= 5 && CharCount(line.partnerKind) <= 1 &&
              CharCount(line.partnerCode) <= 6,
          "the fields keep their widths");
    Check(line.contactCode == TrimBlanks(MidChars(line.text, 69, 5)),
          "the contact code is positions 70-74 trimmed");
    Check(line.contactName == MidChars(line.text, 74, line.text.size()),
          "the contact name is the rest of the line");
    for (const CommandKey* key : {&d, &r, &q}) CheckKey(*key);

    Check(!(line.createFromCommand && !line.newEntry), "presets make a new quotation");
    if (d.Given()) Check(!line.newEntry, "a quotation named on the line is opened, not entered anew");
    if (!line.newEntry || line.createFromCommand)
        Check(!TrimBlanks(d.officeCode).empty(), "only a line with an office names or presets a quotation");
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::CheckCommandLine(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
