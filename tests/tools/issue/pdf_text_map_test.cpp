#include <gtest/gtest.h>

#include "issue/pdf_text_map.h"

namespace velmora {
namespace {

// A character map as the PDF writer leaves it, between two objects whose
// offsets must not move.
const std::string kMap =
    "16 0 obj\n<< /Length 497 >>\nstream\n/CIDInit /ProcSet findresource begin\n"
    "1 beginbfchar\n<0031> <2F92>\nendbfchar\n"
    "3 beginbfrange\n<0000> <0000> <0000>\n<0001> <0005> [<5FA1> <2F92> <7A4D> <2027> <2F47> ]\n"
    "<0006> <0006> <2F49>\n<0007> <0008> <2F00>\nendbfrange\nendcmap\nendstream\nendobj\n17 0 obj\n";

TEST(PdfTextMap, ReadingsReplaceDestinationsInPlace) {
    const CodePointReadings readings = {
        {u'\u2F92', u'見'}, {u'\u2F47', u'日'}, {u'\u2F49', u'月'}, {u'\u2027', u'・'}, {u'\u2F00', u'一'}};
    std::string pdf = kMap;
    const size_t next = pdf.find("17 0 obj");
    EXPECT_EQ(ApplyReadings(pdf, readings), 5u);
    EXPECT_EQ(pdf.size(), kMap.size());
    EXPECT_EQ(pdf.find("17 0 obj"), next) << "nothing after the map moves";
    EXPECT_NE(pdf.find("<0031> <898B>"), std::string::npos) << "bfchar";
    EXPECT_NE(pdf.find("[<5FA1> <898B> <7A4D> <30FB> <65E5> ]"), std::string::npos) << "bfrange array";
    EXPECT_NE(pdf.find("<0006> <0006> <6708>"), std::string::npos) << "bfrange of one code";
    EXPECT_NE(pdf.find("<0007> <0008> <2F00>"), std::string::npos)
        << "a range counting up from one code point is left alone";
    EXPECT_NE(pdf.find("<0000> <0000> <0000>"), std::string::npos) << "sources are never touched";

    std::string untouched = kMap;
    EXPECT_EQ(ApplyReadings(untouched, {}), 0u);
    EXPECT_EQ(untouched, kMap);
}

TEST(PdfTextMap, AGlyphReadsAsTheCharacterTheCodePageHolds) {
    std::vector<std::uint32_t> glyphs(0x10000, 0);
    struct Shared {
        char16_t lowest;  // what the PDF writer reads the glyph as
        char16_t other;   // another code point with the same glyph
        bool replaced;
    };
    const Shared cases[] = {
        {u'\u2F92', u'見', true},       // Kangxi radical see / the ideograph
        {u'\u2EDD', u'食', true},       // radical supplement
        {u'\u2027', u'・', true},       // hyphenation point / katakana middle dot
        {u'A', u'Ａ', false},           // both in the code page: the lowest stays
        {u'\u2E80', u'\u2F00', false},  // neither in the code page
    };
    std::uint32_t glyph = 100;
    for (const Shared& c : cases) {
        glyphs[c.lowest] = glyph;
        glyphs[c.other] = glyph;
        ++glyph;
    }
    glyphs[u'亜'] = 500;  // a glyph of one code point
    const CodePointReadings readings = ReadingsFromGlyphs(glyphs);
    for (const Shared& c : cases) {
        auto it = readings.find(c.lowest);
        EXPECT_EQ(it != readings.end(), c.replaced) << static_cast<unsigned>(c.lowest);
        if (it != readings.end()) {
            EXPECT_EQ(it->second, c.other);
        }
    }
    EXPECT_EQ(readings.size(), 3u);
}

}  // namespace
}  // namespace velmora
