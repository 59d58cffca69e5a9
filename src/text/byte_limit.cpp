#include "text/byte_limit.h"

#include "text/byte_length.h"
#include "text/utf8.h"

namespace velmora {

namespace {

std::size_t LimitBytes(int limit) {
    return limit < 0 ? 0 : static_cast<std::size_t>(limit);
}

}  // namespace

std::size_t FittingCharCount(std::string_view text, int limit) {
    const std::size_t allowed = LimitBytes(limit);
    std::size_t bytes = 0;
    std::size_t count = 0;
    for (const Utf8Char& c : CodePoints(text)) {
        bytes += static_cast<std::size_t>(CharByteLength(c.code));
        if (bytes > allowed) {
            break;
        }
        ++count;
    }
    return count;
}

std::string FitToBytes(std::string_view text, int limit) {
    return std::string(LeftChars(text, FittingCharCount(text, limit)));
}

std::string OverflowNotice(std::string_view text, int limit) {
    const std::size_t fitting = FittingCharCount(text, limit);
    const std::size_t total = CharCount(text);
    if (fitting == total) {
        return {};
    }
    return std::to_string(total - fitting) + "文字オーバーです。";
}

void ShowOverflowNotice(std::string_view text, int limit,
                        const std::function<void(const std::string&)>& setNotice) {
    setNotice(OverflowNotice(text, limit));
}

}  // namespace velmora
