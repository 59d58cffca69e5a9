#include "issue/pdf_text_map.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "text/byte_length.h"

namespace velmora {

namespace {

struct Token {
    std::size_t at;      // offset of '<', '[' or ']'
    std::size_t length;  // of the token, brackets included
    char kind;           // '<' hex string, '[' or ']'
};

// The tokens of a character map block: hex strings and array brackets.
std::vector<Token> tokensOf(const std::string& pdf, std::size_t from, std::size_t to) {
    std::vector<Token> tokens;
    for (std::size_t i = from; i < to; ++i) {
        const char c = pdf[i];
        if (c == '[' || c == ']') {
            tokens.push_back({i, 1, c});
        } else if (c == '<') {
            const std::size_t end = pdf.find('>', i);
            if (end == std::string::npos || end >= to) break;
            tokens.push_back({i, end - i + 1, '<'});
            i = end;
        }
    }
    return tokens;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A destination of exactly one code point of the basic plane: "<XXXX>".
std::size_t replaceDestination(std::string& pdf, const Token& token, const CodePointReadings& readings) {
    if (token.kind != '<' || token.length != 6) return 0;
    unsigned value = 0;
    for (std::size_t i = 1; i <= 4; ++i) {
        const int digit = hexValue(pdf[token.at + i]);
        if (digit < 0) return 0;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    auto it = readings.find(static_cast<char16_t>(value));
    if (it == readings.end()) return 0;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(it->second));
    pdf.replace(token.at + 1, 4, digits, 4);
    return 1;
}

bool sameToken(const std::string& pdf, const Token& a, const Token& b) {
    return a.length == b.length &&
           std::string_view(pdf).substr(a.at, a.length) == std::string_view(pdf).substr(b.at, b.length);
}

// A bfchar block is pairs "<src> <dst>"; a bfrange block is triples
// "<lo> <hi> <dst>" or "<lo> <hi> [<dst> ...]".
std::size_t rewriteBlock(std::string& pdf, std::size_t from, std::size_t to, bool ranges,
                         const CodePointReadings& readings) {
    const std::vector<Token> tokens = tokensOf(pdf, from, to);
    std::size_t replaced = 0;
    std::size_t i = 0;
    while (i < tokens.size()) {
        if (!ranges) {
            if (i + 1 >= tokens.size()) break;
            replaced += replaceDestination(pdf, tokens[i + 1], readings);
            i += 2;
            continue;
        }
        if (i + 2 >= tokens.size()) break;
        if (tokens[i + 2].kind == '[') {
            std::size_t j = i + 3;
            for (; j < tokens.size() && tokens[j].kind == '<'; ++j)
                replaced += replaceDestination(pdf, tokens[j], readings);
            i = j + 1;
        } else {
            if (sameToken(pdf, tokens[i], tokens[i + 1]))
                replaced += replaceDestination(pdf, tokens[i + 2], readings);
            i += 3;
        }
    }
    return replaced;
}

std::size_t rewriteBlocks(std::string& pdf, std::string_view begin, std::string_view end, bool ranges,
                          const CodePointReadings& readings) {
    std::size_t replaced = 0;
    for (std::size_t at = pdf.find(begin); at != std::string::npos; at = pdf.find(begin, at)) {
        const std::size_t from = at + begin.size();
        const std::size_t to = pdf.find(end, from);
        if (to == std::string::npos) break;
        replaced += rewriteBlock(pdf, from, to, ranges, readings);
        at = to + end.size();
    }
    return replaced;
}

// A character the code page holds: its single-byte part or a double-byte character.
bool writable(char32_t code) {
    return code < 0x80 || (code >= 0xFF61 && code <= 0xFF9F) || code == 0xA5 || code == 0x203E ||
           CharByteLength(code) == 2;
}

}  // namespace

CodePointReadings ReadingsFromGlyphs(const std::vector<std::uint32_t>& glyphs) {
    std::unordered_map<std::uint32_t, char16_t> lowest, lowestWritable;
    for (std::size_t c = 1; c < glyphs.size() && c < 0x10000; ++c) {
        if (glyphs[c] == 0 || (c >= 0xD800 && c <= 0xDFFF)) continue;
        lowest.emplace(glyphs[c], static_cast<char16_t>(c));
        if (writable(static_cast<char32_t>(c))) lowestWritable.emplace(glyphs[c], static_cast<char16_t>(c));
    }
    CodePointReadings readings;
    for (const auto& [glyph, code] : lowest) {
        auto preferred = lowestWritable.find(glyph);
        if (!writable(code) && preferred != lowestWritable.end()) readings.emplace(code, preferred->second);
    }
    return readings;
}

std::size_t ApplyReadings(std::string& pdf, const CodePointReadings& readings) {
    if (readings.empty()) return 0;
    return rewriteBlocks(pdf, "beginbfchar", "endbfchar", false, readings) +
           rewriteBlocks(pdf, "beginbfrange", "endbfrange", true, readings);
}

}  // namespace velmora
