#include "text/utf8.h"

namespace velmora {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const Utf8Char malformed{kReplacementChar, text.substr(pos, 1)};
    if (lead < 0x80) {
        return {lead, text.substr(pos, 1)};
    }

    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return malformed;
    }
    if (text.size() - pos < length) {
        return malformed;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte)) {
            return malformed;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return malformed;
    }
    return {code, text.substr(pos, length)};
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = kReplacementChar;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string ToUtf8(char32_t code) {
    std::string out;
    AppendUtf8(out, code);
    return out;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += DecodeUtf8At(text, pos).bytes.size()) {
        ++count;
    }
    return count;
}

std::size_t CharOffset(std::string_view text, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t taken = 0; taken < n && pos < text.size(); ++taken) {
        pos += DecodeUtf8At(text, pos).bytes.size();
    }
    return pos;
}

std::string_view LeftChars(std::string_view text, std::size_t n) {
    return text.substr(0, CharOffset(text, n));
}

std::string_view MidChars(std::string_view text, std::size_t start, std::size_t n) {
    const std::string_view rest = text.substr(CharOffset(text, start));
    return LeftChars(rest, n);
}

std::string_view RightChars(std::string_view text, std::size_t n) {
    const std::size_t count = CharCount(text);
    return count <= n ? text : text.substr(CharOffset(text, count - n));
}

}  // namespace velmora
