#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Serial numbers put in front of product names: "1." (half-width numbers),
// "１．" (full-width numbers) or "Ⅰ．" (roman numerals). A name counts as
// numbered when, after leading blanks (half- or full-width), it begins with a
// prefix of any style: 1 to 99 written "#0" in half-width digits and ".",
// the same in full-width digits and "．", or "Ⅰ．" to "Ⅹ．". Only those
// numbers are written, so that every number put on can be recognised and
// taken off again.
namespace velmora {

inline constexpr int kNumberingStyleCount = 3;

// The caption of the numbering-style button for style 0, 1 or 2 ("1.",
// "１．", "Ⅰ．"); another value is taken modulo the style count.
std::string_view NumberingStyleCaption(int style);

// The highest number a style writes: 99 for the digit styles, 10 (Ⅹ) for
// roman numerals.
int HighestSerialNumber(int style);

// The prefix for number n (1-based) in the style; empty when the style has
// none for n.
std::string SerialPrefix(int style, int number);

// Where a name's prefix is: its byte offset (after the leading blanks) and
// byte length; length 0 when the name is not numbered.
struct SerialPrefixSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};
SerialPrefixSpan FindSerialPrefix(std::string_view name);

bool HasSerialPrefix(std::string_view name);

// The name with its prefix taken out; leading blanks and everything after
// the prefix stay as they are. A name without prefix comes back unchanged.
std::string WithoutSerialPrefix(std::string_view name);

}  // namespace velmora
