#include "text/input_filters.h"

#include "text/numeric_text.h"
#include "text/utf8.h"

namespace velmora {

namespace {

constexpr std::string_view kEmptyPostcodeMask = "   -";

}  // namespace

std::string DigitsOnly(std::string_view text) {
    std::string out;
    for (const Utf8Char& c : CodePoints(text)) {
        if (IsDigitChar(c.code)) {
            out.append(c.bytes);
        }
    }
    return out;
}

std::string StripPercent(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '%') {
            out += c;
        }
    }
    return out;
}

std::string NormalizePostcode(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.empty() || text == kEmptyPostcodeMask) {
        return {};
    }
    std::string out;
    bool hyphenWritten = false;
    for (auto it = CodePoints(text).begin(); it != CodePoints(text).end(); ++it) {
        if (IsDigitChar(it->code)) {
            out.append(it->bytes);
        } else if (it.offset() != 0 && !hyphenWritten) {
            out += '-';
            hyphenWritten = true;
        }
    }
    return out;
}

}  // namespace velmora
