#pragma once

#include <string_view>
#include <vector>

// The quotation form on A4 portrait, in millimetres, and which lines go on
// which page. Every line of the quotation takes one row whatever its name
// (a name wider than its column is set condensed, never wrapped), so the
// pages follow from counts alone: the first page holds fewer rows because of
// the letterhead, every page with lines repeats the column header, and the
// tail (totals, tax breakdown, remarks) follows the last line or, when it
// does not fit below it, takes a page of its own.
namespace velmora {

namespace sheet {
inline constexpr double kPageWidth = 210.0;
inline constexpr double kPageHeight = 297.0;
inline constexpr double kLeft = 15.0;
inline constexpr double kRight = 195.0;
inline constexpr double kTop = 12.0;
inline constexpr double kBodyBottom = 279.0;  // nothing but the page number below
inline constexpr double kFooterTop = 284.0;
inline constexpr double kFooterHeight = 5.0;

inline constexpr double kFirstTableTop = 107.0;  // below letterhead, customer and conditions
inline constexpr double kNextTableTop = 22.0;    // below the short heading of the following pages
inline constexpr double kColumnHeaderHeight = 7.0;
inline constexpr double kRowHeight = 6.0;

inline constexpr double kTailGap = 4.0;
inline constexpr double kTotalRowHeight = 6.5;
inline constexpr double kTaxRowHeight = 5.5;
inline constexpr double kRemarkRowHeight = 5.5;
}  // namespace sheet

struct SheetColumn {
    std::string_view caption;
    double width;
    bool figure;  // right-aligned
};

// The columns of the lines, left to right, filling the width between the margins.
const std::vector<SheetColumn>& CustomerColumns();  // No, name, quantity, unit, unit price, amount
const std::vector<SheetColumn>&
PurchaseColumns();  // No, name, supplier, quantity, unit, cost, purchase, selling, margin

// What the tail holds, in rows.
struct TailContent {
    int totalRows = 0;   // the totals on the right
    int taxRows = 0;     // rows of the tax breakdown on the left, under its own header row
    int remarkRows = 0;  // remark lines across the width
};
double TailHeight(const TailContent& tail);

struct SheetPage {
    int number = 1;     // 1-based within the quotation
    bool first = true;  // carries the letterhead
    int firstLine = 0;  // index of its first line
    int lineCount = 0;
    bool tail = false;  // the tail follows its lines
};

struct SheetPlan {
    std::vector<SheetPage> pages;
};

int LinesOnFirstPage();
int LinesOnNextPage();

SheetPlan PlanSheets(int lineCount, const TailContent& tail);

// Where things go on a page of the plan.
double TableTop(const SheetPage& page);
bool HasColumnHeader(const SheetPage& page);  // every page with lines, and the first
double LinesTop(const SheetPage& page);
double LineTop(const SheetPage& page, int lineIndex);  // lineIndex within the quotation
double TailTop(const SheetPage& page);

}  // namespace velmora
