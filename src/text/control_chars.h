#pragma once

#include <string>
#include <string_view>

// Clean-up of text as it is committed from an entry field. Statements carry
// text inside literals, and a NUL ends the statement text on both engines;
// other control characters are invisible in the fields, print as garbage and
// break the suite's fixed-width exports. Bytes that are not well-formed UTF-8
// (pasted from another encoding) cannot be stored in a UTF8 PostgreSQL
// database at all.
namespace velmora {

enum class LineBreaks {
    Remove,  // single-line fields: the lines of a pasted text joined by one blank, every other control character gone
    Keep,    // memo fields: tab, line feed and carriage return stay
};

// The text without C0 control characters (U+0000 to U+001F), DEL (U+007F) and
// bytes that do not form well-formed UTF-8; every other character is kept as
// typed. With Remove, a run of line breaks (CR, LF) between two lines becomes
// one blank, so that pasted lines do not run into each other; breaks before
// the first and after the last line go.
std::string StripControlCharacters(std::string_view text, LineBreaks lineBreaks = LineBreaks::Remove);

}  // namespace velmora
