#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// CJK fonts draw a radical and the ideograph it looks like with one glyph,
// and a PDF tells readers which character a glyph stands for by one code
// point per glyph: the PDF writer picks the lowest, the radical, so that 見
// would be copied and searched as ⾒. The readings are put right in the
// written file: its character maps are plain text, and a code point of the
// basic plane replaced by another keeps every length and offset.
namespace velmora {

// Preferred reading of a code point: radical -> ideograph drawn with the same glyph.
using CodePointReadings = std::unordered_map<char16_t, char16_t>;

// From the glyph a font draws each code point of the basic plane with
// (glyphs[c], 0 for none): where the lowest code point of a glyph, the one
// the PDF writer reads it as, is a character the suite's code page 932 does
// not hold and another code point of the glyph is, the lowest such one is
// its reading (⾒ U+2F92 is read as 見 U+898B, ‧ U+2027 as ・ U+30FB): the
// texts this program prints all come from that code page.
CodePointReadings ReadingsFromGlyphs(const std::vector<std::uint32_t>& glyphs);

// Rewrites the destinations of the bfchar and bfrange entries of every
// character map in the PDF; returns how many were replaced. A range that
// maps several codes from one starting code point is left as it is.
std::size_t ApplyReadings(std::string& pdf, const CodePointReadings& readings);

}  // namespace velmora
