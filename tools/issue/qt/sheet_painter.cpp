#include "issue/qt/sheet_painter.h"

#include <QColor>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <optional>

#include "data/sql_text.h"
#include "issue/form_texts.h"
#include "issue/issue_document.h"
#include "issue/sheet_layout.h"

namespace velmora {

using namespace sheet;

namespace {

const QColor kRule(0x80, 0x80, 0x80);
const QColor kHeaderFill(0xe6, 0xe6, 0xe6);
const QColor kSubtotalFill(0xf3, 0xf3, 0xf3);

QString q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The letterhead and the addressee share the top of the first page.
constexpr double kAddresseeLeft = kLeft;
constexpr double kAddresseeWidth = 97.0;
constexpr double kLetterheadLeft = 118.0;
constexpr double kLetterheadWidth = kRight - kLetterheadLeft;

}  // namespace

SheetPainter::SheetPainter(QPainter& painter, QPagedPaintDevice& device)
    : m_painter(painter), m_device(device), m_dotsPerMm(device.logicalDpiX() / 25.4) {}

const QFont& SheetPainter::font(Font which) {
    auto it = m_fonts.find(which);
    if (it != m_fonts.end()) return it->second;
    QFont f(kFormFontFamily);
    f.setStyleHint(QFont::SansSerif);
    // Glyphs are placed as designed, not snapped to the device's pixel grid.
    f.setHintingPreference(QFont::PreferNoHinting);
    // Shaping would give Latin runs glyph variants the font's character map
    // does not lead to, and a PDF reader could not tell their text.
    f.setStyleStrategy(QFont::PreferNoShaping);
    switch (which) {
        case Font::Title:
            f.setPointSizeF(18.0);
            f.setBold(true);
            break;
        case Font::Addressee:
            f.setPointSizeF(13.0);
            break;
        case Font::Contact:
            f.setPointSizeF(11.0);
            break;
        case Font::Company:
            f.setPointSizeF(11.0);
            f.setBold(true);
            break;
        case Font::Body:
            f.setPointSizeF(9.0);
            break;
        case Font::Small:
            f.setPointSizeF(8.0);
            break;
        case Font::Line:
            f.setPointSizeF(8.0);
            break;
        case Font::Amount:
            f.setPointSizeF(14.0);
            f.setBold(true);
            break;
    }
    return m_fonts.emplace(which, f).first->second;
}

const QFontMetricsF& SheetPainter::metrics(Font which) {
    auto it = m_metrics.find(which);
    if (it != m_metrics.end()) return it->second;
    return m_metrics.emplace(which, QFontMetricsF(font(which), &m_device)).first->second;
}

void SheetPainter::text(double x, double y, double w, double h, const std::string& value, Font which,
                        Align align, double padding) {
    if (value.empty()) return;
    const QString s = q(value);
    const double left = mm(x + padding);
    const double width = mm(w - 2 * padding);
    const QRectF row(left, mm(y), width, mm(h));
    const double needed = metrics(which).horizontalAdvance(s);
    m_painter.setFont(font(which));
    const Qt::Alignment flags = Qt::AlignVCenter | (align == Align::Left    ? Qt::AlignLeft
                                                    : align == Align::Right ? Qt::AlignRight
                                                                            : Qt::AlignHCenter);
    if (needed <= width) {
        m_painter.drawText(row, static_cast<int>(flags | Qt::TextSingleLine), s);
        return;
    }
    // Condensed, as forms set a long name: the whole text, narrower.
    m_painter.save();
    m_painter.translate(left, 0);
    m_painter.scale(width / needed, 1.0);
    m_painter.drawText(QRectF(0, row.top(), needed, row.height()),
                       static_cast<int>(Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine), s);
    m_painter.restore();
}

void SheetPainter::line(double x1, double y1, double x2, double y2, double width) {
    m_painter.setPen(QPen(kRule, mm(width)));
    m_painter.drawLine(QPointF(mm(x1), mm(y1)), QPointF(mm(x2), mm(y2)));
    m_painter.setPen(QPen(Qt::black));
}

void SheetPainter::box(double x, double y, double w, double h, double width) {
    m_painter.setPen(QPen(kRule, mm(width)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(mm(x), mm(y), mm(w), mm(h)));
    m_painter.setPen(QPen(Qt::black));
}

void SheetPainter::fill(double x, double y, double w, double h, const QColor& colour) {
    m_painter.fillRect(QRectF(mm(x), mm(y), mm(w), mm(h)), colour);
}

bool SheetPainter::paint(const IssueDocument& document, bool newPage) {
    const int pages = static_cast<int>(document.plan.pages.size());
    for (const SheetPage& page : document.plan.pages) {
        if ((newPage || page.number > 1) && !m_device.newPage()) return false;
        paintPage(document, page, pages);
    }
    return true;
}

void SheetPainter::paintPage(const IssueDocument& document, const SheetPage& page, int pages) {
    m_painter.setPen(QPen(Qt::black));
    if (page.first)
        paintHeading(document);
    else
        paintContinuedHeading(document);
    if (HasColumnHeader(page)) paintLines(document, page);
    if (page.tail) paintTail(document, TailTop(page));
    text(kLeft, kFooterTop, kRight - kLeft, kFooterHeight, PageNumberText(page.number, pages), Font::Small,
         Align::Centre);
}

void SheetPainter::paintHeading(const IssueDocument& document) {
    const QuotationHeader& h = document.quotation.header;
    text(kLeft, kTop, kRight - kLeft, 10.0, FormTitle(document.purchaseView), Font::Title, Align::Centre);
    line(80.0, kTop + 10.5, 130.0, kTop + 10.5, 0.3);
    line(80.0, kTop + 11.3, 130.0, kTop + 11.3, 0.3);
    text(kLetterheadLeft, 24.0, kLetterheadWidth, 5.0, "見積No. " + h.営業見積No, Font::Body, Align::Right,
         0.0);
    text(kLetterheadLeft, 29.0, kLetterheadWidth, 5.0, FormDate(h.営業見積日付), Font::Body, Align::Right,
         0.0);

    double y = 34.0;
    const std::vector<std::string> customer = CustomerLines(h);
    for (std::size_t i = 0; i < customer.size(); ++i) {
        const bool contact = i + 1 == customer.size() && !TrimBlanks(h.御担当者名).empty();
        const double height = contact ? 7.0 : 8.0;
        text(kAddresseeLeft, y, kAddresseeWidth, height, customer[i],
             contact ? Font::Contact : Font::Addressee, Align::Left, 0.0);
        y += height;
    }
    line(kAddresseeLeft, y + 0.5, kAddresseeLeft + kAddresseeWidth, y + 0.5, 0.3);
    text(kAddresseeLeft, 59.0, kAddresseeWidth, 5.0, "下記の通り御見積申し上げます。", Font::Body,
         Align::Left, 0.0);

    if (std::optional<QuotedAmount> amount = QuotedAmountOf(document)) {
        box(kAddresseeLeft, 65.0, kAddresseeWidth, 10.0, 0.4);
        text(kAddresseeLeft, 65.0, 26.0, 10.0, amount->caption, Font::Contact, Align::Left, 2.0);
        text(kAddresseeLeft + 26.0, 65.0, 48.0, 10.0, amount->amount, Font::Amount, Align::Right, 1.0);
        text(kAddresseeLeft + 74.0, 65.0, 23.0, 10.0, amount->unit, Font::Small, Align::Left, 1.0);
    }

    y = 78.5;
    constexpr double kCaptionWidth = 20.0;
    constexpr double kConditionRow = 5.5;
    for (const CaptionedText& row : ConditionRows(h)) {
        fill(kAddresseeLeft, y, kCaptionWidth, kConditionRow, kHeaderFill);
        box(kAddresseeLeft, y, kCaptionWidth, kConditionRow);
        box(kAddresseeLeft + kCaptionWidth, y, kAddresseeWidth - kCaptionWidth, kConditionRow);
        text(kAddresseeLeft, y, kCaptionWidth, kConditionRow, row.caption, Font::Small, Align::Centre);
        text(kAddresseeLeft + kCaptionWidth, y, kAddresseeWidth - kCaptionWidth, kConditionRow, row.text,
             Font::Body, Align::Left, 1.5);
        y += kConditionRow;
    }

    y = 36.0;
    const std::vector<std::string> letterhead = LetterheadLines(*document.letterhead, h);
    for (std::size_t i = 0; i < letterhead.size(); ++i) {
        const double height = i == 0 ? 6.5 : 4.4;
        text(kLetterheadLeft, y, kLetterheadWidth, height, letterhead[i],
             i == 0 ? Font::Company : Font::Small, Align::Left, 0.0);
        y += height;
    }
}

void SheetPainter::paintContinuedHeading(const IssueDocument& document) {
    const QuotationHeader& h = document.quotation.header;
    text(kLeft, kTop, 60.0, 6.0, FormTitle(document.purchaseView) + "（続き）", Font::Body, Align::Left, 0.0);
    const std::vector<std::string> customer = CustomerLines(h);
    if (!customer.empty())
        text(kLeft + 60.0, kTop, 70.0, 6.0, customer.front(), Font::Body, Align::Centre, 0.0);
    text(kRight - 50.0, kTop, 50.0, 6.0, "見積No. " + h.営業見積No, Font::Body, Align::Right, 0.0);
    line(kLeft, kTop + 7.0, kRight, kTop + 7.0, 0.3);
}

void SheetPainter::paintLines(const IssueDocument& document, const SheetPage& page) {
    const std::vector<SheetColumn>& columns = document.purchaseView ? PurchaseColumns() : CustomerColumns();
    const double top = TableTop(page);
    const double linesTop = LinesTop(page);
    const double bottom = linesTop + page.lineCount * kRowHeight;

    fill(kLeft, top, kRight - kLeft, kColumnHeaderHeight, kHeaderFill);
    double x = kLeft;
    for (const SheetColumn& column : columns) {
        text(x, top, column.width, kColumnHeaderHeight, std::string(column.caption), Font::Small,
             Align::Centre);
        x += column.width;
    }
    for (int i = page.firstLine; i < page.firstLine + page.lineCount; ++i) {
        const QuotationLine& l = document.quotation.lines[static_cast<std::size_t>(i)];
        const double y = LineTop(page, i);
        if (l.行区分 > kLineOrdinary) fill(kLeft, y, kRight - kLeft, kRowHeight, kSubtotalFill);
        const std::vector<std::string> cells = LineCells(document, static_cast<std::size_t>(i));
        x = kLeft;
        for (std::size_t c = 0; c < columns.size() && c < cells.size(); ++c) {
            // A subtotal's caption stands at the right of the name column, as on the screen.
            const bool caption = c == 1 && l.行区分 > kLineOrdinary;
            text(x, y, columns[c].width, kRowHeight, cells[c], Font::Line,
                 columns[c].figure || caption ? Align::Right : Align::Left);
            x += columns[c].width;
        }
        line(kLeft, y + kRowHeight, kRight, y + kRowHeight, 0.1);
    }
    box(kLeft, top, kRight - kLeft, bottom - top, 0.3);
    line(kLeft, linesTop, kRight, linesTop, 0.3);
    x = kLeft;
    for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
        x += columns[c].width;
        line(x, top, x, bottom, 0.15);
    }
}

void SheetPainter::paintTail(const IssueDocument& document, double top) {
    // The tax breakdown on the left.
    const std::vector<TaxRowTexts> taxes = TaxRows(document);
    constexpr double kTaxWidths[] = {27.0, 27.0, 24.0, 27.0};
    double taxBottom = top;
    if (!taxes.empty()) {
        std::vector<TaxRowTexts> rows = {TaxHeaderTexts()};
        rows.insert(rows.end(), taxes.begin(), taxes.end());
        fill(kLeft, top, 105.0, kTaxRowHeight, kHeaderFill);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const double y = top + static_cast<double>(r) * kTaxRowHeight;
            const std::string cells[] = {rows[r].caption, rows[r].withoutTax, rows[r].tax, rows[r].withTax};
            double x = kLeft;
            for (std::size_t c = 0; c < 4; ++c) {
                box(x, y, kTaxWidths[c], kTaxRowHeight);
                text(x, y, kTaxWidths[c], kTaxRowHeight, cells[c], Font::Small,
                     r == 0   ? Align::Centre
                     : c == 0 ? Align::Left
                              : Align::Right);
                x += kTaxWidths[c];
            }
        }
        taxBottom = top + static_cast<double>(rows.size()) * kTaxRowHeight;
    }

    // The totals on the right.
    const std::vector<CaptionedText> totals = TotalRows(document);
    constexpr double kTotalsLeft = 125.0;
    constexpr double kTotalsCaption = 34.0;
    for (std::size_t r = 0; r < totals.size(); ++r) {
        const double y = top + static_cast<double>(r) * kTotalRowHeight;
        fill(kTotalsLeft, y, kTotalsCaption, kTotalRowHeight, kHeaderFill);
        box(kTotalsLeft, y, kTotalsCaption, kTotalRowHeight);
        box(kTotalsLeft + kTotalsCaption, y, kRight - kTotalsLeft - kTotalsCaption, kTotalRowHeight);
        text(kTotalsLeft, y, kTotalsCaption, kTotalRowHeight, totals[r].caption, Font::Small, Align::Centre);
        text(kTotalsLeft + kTotalsCaption, y, kRight - kTotalsLeft - kTotalsCaption, kTotalRowHeight,
             totals[r].text, Font::Body, Align::Right, 1.5);
    }
    const double totalsBottom = top + static_cast<double>(totals.size()) * kTotalRowHeight;

    const std::vector<std::string> remarks = RemarkLines(document.quotation.header);
    if (remarks.empty()) return;
    double y = std::max(taxBottom, totalsBottom);
    if (y > top) y += kTailGap;
    constexpr double kRemarkCaption = 15.0;
    fill(kLeft, y, kRemarkCaption, kRemarkRowHeight * static_cast<double>(remarks.size()), kHeaderFill);
    box(kLeft, y, kRemarkCaption, kRemarkRowHeight * static_cast<double>(remarks.size()));
    text(kLeft, y, kRemarkCaption, kRemarkRowHeight, "備考", Font::Small, Align::Centre);
    for (const std::string& remark : remarks) {
        box(kLeft + kRemarkCaption, y, kRight - kLeft - kRemarkCaption, kRemarkRowHeight);
        text(kLeft + kRemarkCaption, y, kRight - kLeft - kRemarkCaption, kRemarkRowHeight, remark, Font::Body,
             Align::Left, 1.5);
        y += kRemarkRowHeight;
    }
}

}  // namespace velmora
