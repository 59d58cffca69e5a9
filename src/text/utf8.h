#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

// UTF-8 helpers for texts that are counted and cut by characters (code
// points). A byte that does not start a well-formed sequence (stray
// continuation byte, overlong form, surrogate, value above U+10FFFF, sequence
// cut short) is one character of its own, decoded as U+FFFD, so every text
// has a defined length and no cut ever splits a well-formed sequence.
namespace velmora {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

struct Utf8Char {
    char32_t code = 0;       // the code point, U+FFFD for a malformed byte
    std::string_view bytes;  // the bytes it occupies in the text
};

// Decodes the character that starts at byte offset pos (pos < text.size()).
Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos);

// Appends the UTF-8 form of a code point; surrogates and values above
// U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

std::string ToUtf8(char32_t code);

// Number of characters.
std::size_t CharCount(std::string_view text);

// The first n characters (the whole text when it is shorter).
std::string_view LeftChars(std::string_view text, std::size_t n);

// n characters from character number start (0-based); fewer when the text
// ends first, empty when it has start characters or fewer.
std::string_view MidChars(std::string_view text, std::size_t start, std::size_t n);

// The last n characters (the whole text when it is shorter).
std::string_view RightChars(std::string_view text, std::size_t n);

// Byte offset at which character number n (0-based) starts; text.size() when
// the text has n characters or fewer.
std::size_t CharOffset(std::string_view text, std::size_t n);

// Forward range over the characters of a text:
//   for (Utf8Char c : CodePoints(text)) ...
class CodePoints {
  public:
    class iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Utf8Char;
        using difference_type = std::ptrdiff_t;
        using pointer = const Utf8Char*;
        using reference = const Utf8Char&;

        iterator() = default;
        iterator(std::string_view text, std::size_t pos) : m_text(text), m_pos(pos) { Load(); }

        reference operator*() const { return m_current; }
        pointer operator->() const { return &m_current; }
        iterator& operator++() {
            m_pos += m_current.bytes.size();
            Load();
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator& other) const { return m_pos == other.m_pos; }

        // Byte offset of the current character.
        std::size_t offset() const { return m_pos; }

      private:
        void Load() {
            if (m_pos < m_text.size()) {
                m_current = DecodeUtf8At(m_text, m_pos);
            } else {
                m_current = Utf8Char{};
            }
        }

        std::string_view m_text;
        std::size_t m_pos = 0;
        Utf8Char m_current;
    };

    explicit CodePoints(std::string_view text) : m_text(text) {}
    iterator begin() const { return iterator(m_text, 0); }
    iterator end() const { return iterator(m_text, m_text.size()); }

  private:
    std::string_view m_text;
};

}  // namespace velmora
