#include "text/full_width.h"

#include <string_view>

#include "text/utf8.h"

namespace velmora {

namespace {

constexpr char32_t kVoicedMark = U'\uFF9E';      // ﾞ
constexpr char32_t kSemiVoicedMark = U'\uFF9F';  // ﾟ

// ASCII symbols that have a full-width form; the blank, '"', '^' and '`' have
// none here.
constexpr std::u32string_view kConvertedSymbols = U"!#$%&'()=~|\\-+*[]@:;.,/?<>{}_";

// Full-width katakana for the half-width katakana U+FF66 (ｦ) .. U+FF9D (ﾝ).
constexpr std::u32string_view kKatakana =
    U"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリ"
    U"ルレロワン";
static_assert(kKatakana.size() == 0xFF9D - 0xFF66 + 1);

char32_t SingleWidthForm(char32_t c) {
    if ((c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) {
        return c + 0xFEE0;
    }
    if (c < 0x80 && kConvertedSymbols.find(c) != std::u32string_view::npos) {
        switch (c) {
            case U'\'':
                return U'’';
            case U'\\':
                return U'￥';
            default:
                return c + 0xFEE0;
        }
    }
    if (c == U'ｰ') {
        return U'ー';
    }
    return 0;
}

// The full-width katakana of a half-width one, or 0.
char32_t KatakanaForm(char32_t c) {
    if (c < 0xFF66 || c > 0xFF9D) {
        return 0;
    }
    return kKatakana[c - 0xFF66];
}

// The full-width character for a half-width katakana followed by a voicing
// mark, or 0 when the pair has no single full-width form.
char32_t VoicedForm(char32_t c, char32_t mark) {
    const char32_t base = KatakanaForm(c);
    if (mark == kVoicedMark) {
        if (base == U'ウ') {
            return U'ヴ';
        }
        // カ..ト carry the voiced form right after the plain one.
        if (base >= U'カ' && base <= U'ト' && base != U'ッ') {
            return base + 1;
        }
    }
    // ハ..ホ: plain, voiced, semi-voiced in a row.
    if ((mark == kVoicedMark || mark == kSemiVoicedMark) && base >= U'ハ' && base <= U'ホ' &&
        (base - U'ハ') % 3 == 0) {
        return base + (mark == kVoicedMark ? 1 : 2);
    }
    return 0;
}

// The half-width form of a full-width katakana (ァ..ヶ, ヴ) with its mark,
// or an empty view.
std::u32string HalfWidthKatakana(char32_t c) {
    switch (c) {
        case U'ヮ': c = U'ワ'; break;
        case U'ヵ': c = U'カ'; break;
        case U'ヶ': c = U'ケ'; break;
        case U'ヰ': c = U'イ'; break;
        case U'ヱ': c = U'エ'; break;
        case U'ヴ': return {U'ｳ', kVoicedMark};
        default: break;
    }
    if (const size_t at = kKatakana.find(c); at != std::u32string_view::npos)
        return {static_cast<char32_t>(0xFF66 + at)};
    // Voiced and semi-voiced: the plain kana just before carries the marks.
    for (char32_t mark : {kVoicedMark, kSemiVoicedMark})
        for (char32_t back : {char32_t{1}, char32_t{2}})
            if (const size_t at = kKatakana.find(c - back); at != std::u32string_view::npos)
                if (VoicedForm(static_cast<char32_t>(0xFF66 + at), mark) == c)
                    return {static_cast<char32_t>(0xFF66 + at), mark};
    return {};
}

}  // namespace

std::string ToHalfWidthKana(std::string_view text) {
    static constexpr std::u32string_view kWidePunctuation = U"。「」、・";
    static constexpr std::u32string_view kNarrowPunctuation = U"｡｢｣､･";
    std::string out;
    out.reserve(text.size());
    for (const Utf8Char c : CodePoints(text)) {
        char32_t code = c.code;
        if (code >= U'ぁ' && code <= U'ゖ') code += U'ァ' - U'ぁ';  // hiragana as katakana
        if (code == U'ゔ') code = U'ヴ';
        if (const std::u32string half = HalfWidthKatakana(code); !half.empty()) {
            for (char32_t h : half) AppendUtf8(out, h);
        } else if (const size_t at = kWidePunctuation.find(code); at != std::u32string_view::npos) {
            AppendUtf8(out, kNarrowPunctuation[at]);
        } else if (code >= U'！' && code <= U'～') {
            AppendUtf8(out, code - 0xFEE0);
        } else if (code == U'\u3000') {
            out += ' ';
        } else {
            out.append(c.bytes);
        }
    }
    return out;
}

std::string ToFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    auto it = CodePoints(text).begin();
    const auto end = CodePoints(text).end();
    while (it != end) {
        const Utf8Char current = *it;
        ++it;
        if (const char32_t wide = SingleWidthForm(current.code); wide != 0) {
            AppendUtf8(out, wide);
            continue;
        }
        if (it != end) {
            if (const char32_t voiced = VoicedForm(current.code, it->code); voiced != 0) {
                AppendUtf8(out, voiced);
                ++it;
                continue;
            }
        }
        if (const char32_t kana = KatakanaForm(current.code); kana != 0) {
            AppendUtf8(out, kana);
            continue;
        }
        out.append(current.bytes);
    }
    return out;
}

}  // namespace velmora
