#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Byte limits of input fields (see byte_length.h for how bytes are counted).
// Characters are code points; a character that would cross the limit is never
// split or half-counted. A negative limit is treated as 0.
namespace velmora {

// Number of leading characters that fit within limit bytes.
std::size_t FittingCharCount(std::string_view text, int limit);

// The text cut to the longest leading part that fits within limit bytes. A
// two-byte character that would cross the limit is dropped whole, so the
// result may be one byte short of the limit.
std::string FitToBytes(std::string_view text, int limit);

// The notice for a text typed into a field of limit bytes: empty when it fits,
// otherwise "N文字オーバーです。" with N the number of characters beyond the
// longest fitting part. The text itself is left as typed; the notice only
// informs.
std::string OverflowNotice(std::string_view text, int limit);

// Hands OverflowNotice(text, limit) to the screen's notice bar; an empty
// notice clears the bar.
void ShowOverflowNotice(std::string_view text, int limit,
                        const std::function<void(const std::string&)>& setNotice);

}  // namespace velmora
