#pragma once

#include <cstdint>

// Which characters code page 932 writes with two bytes, as a two-level bitmap
// over the Basic Multilingual Plane: kPageIndex[hi] says, for the 256 code
// points hi·256 .. hi·256+255, that none (0) or all (1) of them are double-byte,
// or that kPages[n − 2] holds their bits (bit lo of the page, 32 per word).
namespace velmora::cp932 {

inline constexpr int kPageCount = 99;

extern const std::uint8_t kPageIndex[256];
extern const std::uint32_t kPages[kPageCount][8];

}  // namespace velmora::cp932
