#pragma once

#include <string>
#include <string_view>

// Half-width to full-width conversion for texts shown or stored in full-width
// form (line headings, the manual's file name):
// - ASCII digits and letters, and the symbols ! # $ % & ' ( ) = ~ | \ - + * [ ]
//   @ : ; . , / ? < > { } _ become their full-width forms (' becomes ’ and the
//   backslash ￥, as on a Japanese keyboard); blank, ", ^ and ` stay as they are;
// - a half-width katakana followed by ﾞ or ﾟ that has a voiced or semi-voiced
//   full-width form becomes that one character (ｶﾞ → ガ, ﾊﾟ → パ, ｳﾞ → ヴ);
// - the other half-width katakana ｦ..ﾝ, the small ｧ..ｯ and ｰ become full-width;
//   the half-width punctuation ｡｢｣､･ and a ﾞ or ﾟ without a partner stay;
// - everything else is copied unchanged.
namespace velmora {

std::string ToFullWidth(std::string_view text);

// The other way, for kana as the suite stores them (half-width katakana):
// full-width katakana and hiragana become half-width katakana, a voiced or
// semi-voiced one its base and ﾞ or ﾟ (ガ → ｶﾞ, ぱ → ﾊﾟ, ヴ → ｳﾞ), the kana
// with no half-width form their nearest (ヮ → ﾜ, ヵ → ｶ, ヶ → ｹ, ヰ → ｲ,
// ヱ → ｴ); 。「」、・ and ー their half-width forms, full-width ASCII
// characters and the ideographic blank their ASCII ones. Everything else is
// copied unchanged.
std::string ToHalfWidthKana(std::string_view text);

}  // namespace velmora
