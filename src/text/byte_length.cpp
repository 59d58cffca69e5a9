#include "text/byte_length.h"

#include "text/cp932_table.h"
#include "text/utf8.h"

namespace velmora {

int CharByteLength(char32_t code) {
    if (code > 0xFFFF) {
        return 1;
    }
    const std::uint8_t page = cp932::kPageIndex[code >> 8];
    if (page < 2) {
        return page == 1 ? 2 : 1;
    }
    const unsigned low = code & 0xFF;
    const std::uint32_t word = cp932::kPages[page - 2][low >> 5];
    return ((word >> (low & 31)) & 1U) != 0 ? 2 : 1;
}

std::size_t ByteLength(std::string_view text) {
    std::size_t bytes = 0;
    for (const Utf8Char& c : CodePoints(text)) {
        bytes += static_cast<std::size_t>(CharByteLength(c.code));
    }
    return bytes;
}

}  // namespace velmora
