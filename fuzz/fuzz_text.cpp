// The text functions on arbitrary bytes: counting and cutting by characters
// and code-page bytes, width conversion, control-character clean-up, serial
// numbers, input filters, codes and dates. The input's last bytes choose a
// byte limit and a numbering style; the rest is the text.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "text/byte_length.h"
#include "text/byte_limit.h"
#include "text/code_pattern.h"
#include "text/control_chars.h"
#include "text/date_fix.h"
#include "text/full_width.h"
#include "text/input_filters.h"
#include "text/numeric_text.h"
#include "text/serial_numbering.h"
#include "text/utf8.h"

namespace velmora::fuzz {
namespace {

void CheckCharacters(const std::string& text, int limit) {
    std::string joined;
    std::size_t count = 0;
    std::size_t bytes = 0;
    bool allWellFormed = true;
    for (const Utf8Char& c : CodePoints(text)) {
        Check(!c.bytes.empty(), "every character takes at least one byte");
        joined += c.bytes;
        ++count;
        bytes += static_cast<std::size_t>(CharByteLength(c.code));
        const bool wellFormed = IsWellFormedUtf8(c.bytes);
        if (wellFormed) {
            Check(ToUtf8(c.code) == c.bytes, "a well-formed character encodes back to its bytes", c.bytes);
        } else {
            allWellFormed = false;
            Check(c.code == kReplacementChar && c.bytes.size() == 1,
                  "a malformed byte is one U+FFFD of its own");
        }
    }
    Check(joined == text, "the characters cover the text");
    Check(allWellFormed == IsWellFormedUtf8(text), "the decoder agrees on well-formedness");
    Check(count == CharCount(text), "CharCount counts the characters");
    const std::size_t byteLength = ByteLength(text);
    Check(byteLength == bytes, "ByteLength sums the characters' byte lengths");
    Check(byteLength >= count && byteLength <= 2 * count, "one or two bytes a character");

    const std::size_t k = static_cast<std::size_t>(std::max(limit, 0)) % (count + 1);
    const std::string_view left = LeftChars(text, k);
    Check(left.size() == CharOffset(text, k), "LeftChars ends where character k starts");
    Check(std::string(left) + std::string(MidChars(text, k, count)) == text,
          "LeftChars and MidChars split the text");
    Check(RightChars(text, count - k) == MidChars(text, k, count - k), "RightChars is the tail");
    Check(CharCount(left) == k, "LeftChars keeps k characters");
    Check(MidChars(text, count, 1).empty(), "nothing starts past the end");
}

void CheckByteLimit(const std::string& text, int limit) {
    const std::size_t bound = static_cast<std::size_t>(std::max(limit, 0));
    const std::size_t fitting = FittingCharCount(text, limit);
    const std::string fit = FitToBytes(text, limit);
    Check(fit == LeftChars(text, fitting), "FitToBytes keeps the fitting characters");
    Check(ByteLength(fit) <= bound, "the cut text is within the limit", fit);
    const std::size_t count = CharCount(text);
    if (fitting < count)
        Check(ByteLength(LeftChars(text, fitting + 1)) > bound, "the cut keeps every character that fits");
    const std::string notice = OverflowNotice(text, limit);
    if (ByteLength(text) <= bound)
        Check(notice.empty(), "no notice for a text that fits");
    else
        Check(notice == std::to_string(count - fitting) + "文字オーバーです。",
              "the notice counts the characters over", notice);
    std::string shown = "unset";
    ShowOverflowNotice(text, limit, [&](const std::string& s) { shown = s; });
    Check(shown == notice, "the notice bar gets the notice");
}

bool IsAsciiConverted(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           std::string_view("!#$%&'()=~|\\-+*[]@:;.,/?<>{}_").find(c) != std::string_view::npos;
}

void CheckFullWidth(const std::string& text) {
    const std::string wide = ToFullWidth(text);
    Check(CharCount(wide) <= CharCount(text), "width conversion never adds characters");
    Check(ToFullWidth(wide) == wide, "a converted text has nothing left to convert", wide);
    if (IsWellFormedUtf8(text)) Check(IsWellFormedUtf8(wide), "well-formed text stays well-formed");
    for (const Utf8Char& c : CodePoints(wide)) {
        Check(!(c.code < 0x80 && IsAsciiConverted(static_cast<char>(c.code))), "no convertible ASCII is left",
              wide);
        Check(!(c.code >= 0xFF66 && c.code <= 0xFF9D), "no half-width katakana is left", wide);
    }
}

// What StripControlCharacters must give: every well-formed character that is
// not a control character, in order; in a single-line field the lines of a
// pasted text are joined by one blank.
std::string ExpectedStripped(std::string_view text, LineBreaks lineBreaks) {
    std::string out;
    bool lineEnded = false;
    auto keep = [&](std::string_view character) {
        if (lineEnded && !out.empty()) out += ' ';
        lineEnded = false;
        out += character;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            const bool kept = b >= 0x20 && b != 0x7F;
            const bool lineBreak = b == '\n' || b == '\r';
            if (kept)
                keep(text.substr(i, 1));
            else if (lineBreaks == LineBreaks::Keep && (b == '\t' || lineBreak))
                out += text[i];
            else if (lineBreak)
                lineEnded = true;
            ++i;
            continue;
        }
        const std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (i + n <= text.size() && IsWellFormedUtf8(text.substr(i, n))) {
            keep(text.substr(i, n));
            i += n;
        } else {
            ++i;
        }
    }
    return out;
}

void CheckControlCharacters(const std::string& text) {
    for (LineBreaks mode : {LineBreaks::Remove, LineBreaks::Keep}) {
        const std::string stripped = StripControlCharacters(text, mode);
        Check(stripped == ExpectedStripped(text, mode), "only control characters and malformed bytes go",
              stripped);
        Check(stripped.find('\0') == std::string::npos, "no NUL survives");
        Check(IsWellFormedUtf8(stripped), "the result is well-formed");
        Check(StripControlCharacters(stripped, mode) == stripped, "stripping twice changes nothing");
    }
}

const std::set<std::string>& AllSerialPrefixes() {
    static const std::set<std::string> prefixes = [] {
        std::set<std::string> all;
        for (int style = 0; style < kNumberingStyleCount; ++style)
            for (int n = 1; n <= HighestSerialNumber(style); ++n) all.insert(SerialPrefix(style, n));
        return all;
    }();
    return prefixes;
}

void CheckSerialNumbering(const std::string& name, int style, int limit) {
    Check(!NumberingStyleCaption(style).empty(), "every style has a caption");
    const int highest = HighestSerialNumber(style);
    Check(highest == 10 || highest == 99, "ten roman numerals or 99 digits");
    Check(SerialPrefix(style, 0).empty() && SerialPrefix(style, highest + 1).empty(),
          "no prefix out of range");
    const int number = 1 + std::max(limit, 0) % highest;
    const std::string prefix = SerialPrefix(style, number);
    Check(AllSerialPrefixes().count(prefix) == 1, "the prefix is one the styles write", prefix);

    const std::string numbered = prefix + name;
    const SerialPrefixSpan put = FindSerialPrefix(numbered);
    Check(put.offset == 0 && put.length == prefix.size(), "a prefix put on is found whole", numbered);
    Check(WithoutSerialPrefix(numbered) == name, "a prefix put on comes off again", numbered);

    const SerialPrefixSpan span = FindSerialPrefix(name);
    Check(span.offset + span.length <= name.size(), "the prefix lies within the name");
    Check(HasSerialPrefix(name) == (span.length > 0), "HasSerialPrefix agrees with FindSerialPrefix");
    const std::string without = WithoutSerialPrefix(name);
    if (span.length == 0) {
        Check(without == name, "a name without prefix is unchanged");
        return;
    }
    Check(AllSerialPrefixes().count(name.substr(span.offset, span.length)) == 1,
          "only prefixes the styles write are recognised", name);
    for (const Utf8Char& c : CodePoints(std::string_view(name).substr(0, span.offset)))
        Check(c.code == U' ' || c.code == U'\u3000', "only blanks stand before the prefix", name);
    Check(without == name.substr(0, span.offset) + name.substr(span.offset + span.length),
          "exactly the prefix is taken out", without);
}

std::string AsciiDigitsWithoutLeadingZeros(std::string_view text) {
    std::string digits;
    for (const Utf8Char& c : CodePoints(text))
        if (DigitValue(c.code) >= 0) digits += static_cast<char>('0' + DigitValue(c.code));
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

void CheckFilters(const std::string& text) {
    const std::string digits = DigitsOnly(text);
    std::size_t digitChars = 0;
    for (const Utf8Char& c : CodePoints(text)) digitChars += IsDigitChar(c.code) ? 1 : 0;
    Check(CharCount(digits) == digitChars, "DigitsOnly keeps every digit");
    for (const Utf8Char& c : CodePoints(digits)) Check(IsDigitChar(c.code), "DigitsOnly keeps only digits");

    const std::string noPercent = StripPercent(text);
    Check(noPercent.find('%') == std::string::npos, "no % survives");
    Check(
        noPercent.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '%')) == text.size(),
        "StripPercent takes out nothing but %");

    const std::string postcode = NormalizePostcode(text);
    Check(std::count(postcode.begin(), postcode.end(), '-') <= 1, "a postcode holds at most one hyphen",
          postcode);
    for (const Utf8Char& c : CodePoints(postcode))
        Check(c.code == U'-' || IsDigitChar(c.code), "a postcode holds digits and the hyphen", postcode);
    if (!postcode.empty() && postcode[0] != '-')
        Check(NormalizePostcode(postcode) == postcode, "a normalized postcode stays as it is", postcode);

    NumericText number;
    const bool numeric = ParseNumericText(text, number);
    Check(numeric == IsNumericText(text), "ParseNumericText agrees with IsNumericText");
    if (numeric) Check(number.digits == AsciiDigitsWithoutLeadingZeros(text), "the digits are read in order");
}

void CheckCodes(const std::string& text, int limit) {
    const std::string pattern(static_cast<std::size_t>(std::max(limit, 0) % 10), '0');
    const std::string code = FormatCode(text, pattern);
    if (pattern.empty()) {
        Check(code == text, "the empty pattern keeps the value");
    } else {
        Check(CharCount(code) <= pattern.size(), "a code is cut to its pattern", code);
        NumericText number;
        if (ParseNumericText(text, number) && !number.negative)
            Check(code.size() == pattern.size() && code.find_first_not_of("0123456789") == std::string::npos,
                  "a number fills the pattern with ASCII digits", code);
    }
    Check(ZeroString(pattern) == pattern, "ZeroString is the pattern's zeros");
    Check(NineString("", limit) == std::string(static_cast<std::size_t>(std::max(limit, 0)), 'Z'),
          "free-form codes end at Z");
}

void CheckDate(const std::string& text) {
    const std::size_t a = text.find('/');
    const std::size_t b = a == std::string::npos ? a : text.find('/', a + 1);
    std::string year = text.substr(0, a);
    std::string month =
        a == std::string::npos ? "" : text.substr(a + 1, b == std::string::npos ? b : b - a - 1);
    std::string day = b == std::string::npos ? "" : text.substr(b + 1);
    NormalizeDate(year, month, day);
    const std::string once = year + "/" + month + "/" + day;
    // A roll-over past the largest year a field holds cannot be read back.
    if (year.size() - (year[0] == '-' ? 1 : 0) > 9) return;
    NormalizeDate(year, month, day);
    Check(year + "/" + month + "/" + day == once, "a corrected date names a real day", once);
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::fuzz;
    FuzzedDataProvider input(data, size);
    const int limit = input.ConsumeIntegralInRange<int>(-2, 250);
    const int style = input.ConsumeIntegralInRange<int>(-4, 6);
    const std::string text = input.ConsumeRemainingBytesAsString();
    CheckCharacters(text, limit);
    CheckByteLimit(text, limit);
    CheckFullWidth(text);
    CheckControlCharacters(text);
    CheckSerialNumbering(text, style, limit);
    CheckFilters(text);
    CheckCodes(text, limit);
    CheckDate(text);
    return 0;
}
