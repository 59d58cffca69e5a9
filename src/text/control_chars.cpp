#include "text/control_chars.h"

#include "text/utf8.h"

namespace velmora {

namespace {

bool isMalformed(const Utf8Char& c) { return c.code == kReplacementChar && c.bytes != "\xEF\xBF\xBD"; }

bool isKeptBreak(char32_t code) { return code == U'\t' || code == U'\n' || code == U'\r'; }
bool isLineBreak(char32_t code) { return code == U'\n' || code == U'\r'; }

}  // namespace

std::string StripControlCharacters(std::string_view text, LineBreaks lineBreaks) {
    std::string out;
    out.reserve(text.size());
    bool brokenLine = false;  // a line break since the last character kept
    for (const Utf8Char& c : CodePoints(text)) {
        if (isMalformed(c)) continue;
        if (c.code < 0x20 || c.code == 0x7F) {
            if (lineBreaks == LineBreaks::Keep && isKeptBreak(c.code)) out.append(c.bytes);
            if (lineBreaks == LineBreaks::Remove && isLineBreak(c.code)) brokenLine = true;
            continue;
        }
        if (brokenLine && !out.empty()) out += ' ';
        brokenLine = false;
        out.append(c.bytes);
    }
    return out;
}

}  // namespace velmora
