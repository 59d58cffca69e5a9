#include "issue/sheet_layout.h"

#include <algorithm>
#include <cmath>

namespace velmora {

using namespace sheet;

const std::vector<SheetColumn>& CustomerColumns() {
    // A product name of 30 full-width characters fits the name column at the
    // size lines are set in.
    static const std::vector<SheetColumn> columns = {
        {"No", 9.0, true},     {"品名", 88.0, false}, {"数量", 19.0, true},
        {"単位", 11.0, false}, {"単価", 25.0, true},  {"金額", 28.0, true},
    };
    return columns;
}

const std::vector<SheetColumn>& PurchaseColumns() {
    static const std::vector<SheetColumn> columns = {
        {"No", 8.0, true},        {"品名", 45.0, false},    {"仕入先", 28.0, false},
        {"数量", 15.0, true},     {"単位", 9.0, false},     {"原価", 19.0, true},
        {"仕入金額", 19.0, true}, {"見積金額", 19.0, true}, {"粗利", 18.0, true},
    };
    return columns;
}

double TailHeight(const TailContent& tail) {
    const double taxes = tail.taxRows > 0 ? (tail.taxRows + 1) * kTaxRowHeight : 0.0;
    const double totals = tail.totalRows * kTotalRowHeight;
    double height = std::max(taxes, totals);
    if (tail.remarkRows > 0) height += (height > 0 ? kTailGap : 0.0) + tail.remarkRows * kRemarkRowHeight;
    return height;
}

namespace {

int rowsBetween(double top, double bottom) {
    return static_cast<int>(std::floor((bottom - top) / kRowHeight + 1e-9));
}

}  // namespace

int LinesOnFirstPage() {
    return rowsBetween(kFirstTableTop + kColumnHeaderHeight, kBodyBottom);
}
int LinesOnNextPage() {
    return rowsBetween(kNextTableTop + kColumnHeaderHeight, kBodyBottom);
}

double TableTop(const SheetPage& page) {
    return page.first ? kFirstTableTop : kNextTableTop;
}
bool HasColumnHeader(const SheetPage& page) {
    return page.first || page.lineCount > 0;
}
double LinesTop(const SheetPage& page) {
    return TableTop(page) + (HasColumnHeader(page) ? kColumnHeaderHeight : 0.0);
}
double LineTop(const SheetPage& page, int lineIndex) {
    return LinesTop(page) + (lineIndex - page.firstLine) * kRowHeight;
}
double TailTop(const SheetPage& page) {
    return LinesTop(page) + page.lineCount * kRowHeight + (HasColumnHeader(page) ? kTailGap : 0.0);
}

SheetPlan PlanSheets(int lineCount, const TailContent& tail) {
    SheetPlan plan;
    int next = 0;
    do {
        SheetPage page;
        page.number = static_cast<int>(plan.pages.size()) + 1;
        page.first = plan.pages.empty();
        page.firstLine = next;
        page.lineCount = std::min(page.first ? LinesOnFirstPage() : LinesOnNextPage(), lineCount - next);
        next += page.lineCount;
        plan.pages.push_back(page);
    } while (next < lineCount);

    SheetPage& last = plan.pages.back();
    if (TailTop(last) + TailHeight(tail) <= kBodyBottom + 1e-9) {
        last.tail = true;
    } else {
        SheetPage page;
        page.number = last.number + 1;
        page.first = false;
        page.firstLine = lineCount;
        page.tail = true;
        plan.pages.push_back(page);
    }
    return plan;
}

}  // namespace velmora
