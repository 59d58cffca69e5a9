#include "issue/qt/font_readings.h"

#include <QFont>
#include <QRawFont>
#include <QString>

#include "issue/qt/sheet_painter.h"

namespace velmora {

namespace {

CodePointReadings workOut() {
    const QRawFont font = QRawFont::fromFont(QFont(kFormFontFamily));
    if (!font.isValid()) return {};
    // Every code point of the basic plane but the surrogates, which stand in as blanks.
    QString text(0x10000, QChar(u' '));
    for (char32_t c = 1; c < 0x10000; ++c)
        if (c < 0xD800 || c > 0xDFFF) text[static_cast<qsizetype>(c)] = QChar(static_cast<char16_t>(c));
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    std::vector<std::uint32_t> byCode(glyphs.begin(), glyphs.end());
    for (char32_t c = 0xD800; c <= 0xDFFF && c < byCode.size(); ++c) byCode[c] = 0;
    return ReadingsFromGlyphs(byCode);
}

}  // namespace

const CodePointReadings& FormFontReadings() {
    static const CodePointReadings readings = workOut();
    return readings;
}

}  // namespace velmora
