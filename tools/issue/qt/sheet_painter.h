#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <map>
#include <string>

class QPainter;
class QPagedPaintDevice;
class QColor;

namespace velmora {

struct IssueDocument;
struct SheetPage;

// The family the form is set in: its Japanese glyphs are embedded in PDFs.
inline constexpr const char* kFormFontFamily = "Noto Sans CJK JP";

// Sets the pages of documents on a paged device (a PDF writer or a printer)
// whose painter is active, in millimetres from the paper's top left corner.
class SheetPainter {
  public:
    SheetPainter(QPainter& painter, QPagedPaintDevice& device);

    // Every page of the document; the first goes on the device's current page
    // unless newPage says to start a new one. False when the device refuses a page.
    bool paint(const IssueDocument& document, bool newPage);

  private:
    enum class Font { Title, Addressee, Contact, Company, Body, Small, Line, Amount };
    enum class Align { Left, Centre, Right };

    void paintPage(const IssueDocument& document, const SheetPage& page, int pages);
    void paintHeading(const IssueDocument& document);
    void paintContinuedHeading(const IssueDocument& document);
    void paintLines(const IssueDocument& document, const SheetPage& page);
    void paintTail(const IssueDocument& document, double top);

    // Text in a box (millimetres), vertically centred; text wider than the box
    // is condensed to fit rather than cut.
    void text(double x, double y, double w, double h, const std::string& text, Font font, Align align,
              double padding = 1.0);
    void line(double x1, double y1, double x2, double y2, double width = 0.2);
    void box(double x, double y, double w, double h, double width = 0.2);
    void fill(double x, double y, double w, double h, const QColor& colour);

    const QFont& font(Font which);
    const QFontMetricsF& metrics(Font which);
    double mm(double value) const { return value * m_dotsPerMm; }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    double m_dotsPerMm;
    std::map<Font, QFont> m_fonts;
    std::map<Font, QFontMetricsF> m_metrics;
};

}  // namespace velmora
