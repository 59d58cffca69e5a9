#pragma once

#include <cstddef>
#include <string_view>

// Field limits are counted in the bytes a text takes in the Japanese ANSI code
// page (Shift-JIS, code page 932), the measure the input fields' byte limits
// have always used.
//
// One byte: ASCII, half-width katakana (U+FF61..U+FF9F), and the two
// characters the code page folds onto ASCII bytes, ¥ (U+00A5 → 0x5C) and
// ‾ (U+203E → 0x7E). Two bytes: every other character code page 932 can
// write, the NEC and IBM extensions (①, ㈱, Ⅹ, the IBM kanji) and the
// user-defined area U+E000..U+E757 included, and the JIS forms that the
// conversion maps onto them (〜 U+301C, ‖ U+2016, − U+2212, ¢, £, ¬).
//
// A character the code page cannot write counts one byte: the conversion to
// the code page writes "?" in its place. That holds for emoji and other
// characters beyond U+FFFF too, each counted once as one character, and for
// a malformed UTF-8 byte.
namespace velmora {

// 1 or 2.
int CharByteLength(char32_t code);

std::size_t ByteLength(std::string_view text);

}  // namespace velmora
