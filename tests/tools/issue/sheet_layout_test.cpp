#include <gtest/gtest.h>

#include "issue/sheet_layout.h"

namespace velmora {
namespace {

using namespace sheet;

double linesBottom(const SheetPage& page) {
    return LinesTop(page) + page.lineCount * kRowHeight;
}

// The most lines the first page takes with the tail still below them.
int linesBesideTail(const TailContent& tail) {
    SheetPage first;
    int n = 0;
    for (first.lineCount = 0; first.lineCount <= LinesOnFirstPage(); ++first.lineCount)
        if (TailTop(first) + TailHeight(tail) <= kBodyBottom + 1e-9) n = first.lineCount;
    return n;
}

void expectWellFormed(const SheetPlan& plan, int lineCount, const TailContent& tail) {
    ASSERT_FALSE(plan.pages.empty());
    int next = 0;
    for (size_t i = 0; i < plan.pages.size(); ++i) {
        const SheetPage& page = plan.pages[i];
        SCOPED_TRACE("page " + std::to_string(page.number));
        EXPECT_EQ(page.number, static_cast<int>(i) + 1);
        EXPECT_EQ(page.first, i == 0);
        EXPECT_EQ(page.firstLine, next) << "lines follow each other in order, none twice";
        next += page.lineCount;
        EXPECT_LE(linesBottom(page), kBodyBottom + 1e-9);
        EXPECT_EQ(page.tail, i + 1 == plan.pages.size()) << "the tail ends the last page";
        // A page followed by more lines is full.
        if (next < lineCount) {
            EXPECT_EQ(page.lineCount, page.first ? LinesOnFirstPage() : LinesOnNextPage());
        }
        if (page.lineCount > 0) {
            EXPECT_TRUE(HasColumnHeader(page)) << "every page with lines repeats the header";
        }
    }
    EXPECT_EQ(next, lineCount);
    const SheetPage& last = plan.pages.back();
    EXPECT_LE(TailTop(last) + TailHeight(tail), kBodyBottom + 1e-9);
    if (last.lineCount == 0 && !last.first) {
        // The tail has a page of its own only because it did not fit below the lines.
        const SheetPage& before = plan.pages[plan.pages.size() - 2];
        EXPECT_GT(TailTop(before) + TailHeight(tail), kBodyBottom);
        EXPECT_FALSE(HasColumnHeader(last));
    }
}

TEST(SheetLayout, ARowPerLineFillsEachPageToItsBottom) {
    for (bool first : {true, false}) {
        SheetPage page;
        page.first = first;
        page.lineCount = first ? LinesOnFirstPage() : LinesOnNextPage();
        EXPECT_LE(linesBottom(page), kBodyBottom) << first;
        EXPECT_GT(linesBottom(page) + kRowHeight, kBodyBottom) << "one more row would cross the bottom";
    }
    EXPECT_LT(LinesOnFirstPage(), LinesOnNextPage()) << "the letterhead takes room on the first page";
    for (const std::vector<SheetColumn>* columns : {&CustomerColumns(), &PurchaseColumns()}) {
        double width = 0;
        for (const SheetColumn& column : *columns) width += column.width;
        EXPECT_NEAR(width, kRight - kLeft, 1e-9) << "the columns fill the width between the margins";
    }
}

TEST(SheetLayout, PagesBreakWhereTheyAreFullAndTheTailFollowsWhereItFits) {
    const TailContent tails[] = {{3, 1, 0}, {3, 3, 2}, {6, 2, 2}, {0, 0, 0}, {0, 0, 2}};
    for (const TailContent& tail : tails) {
        const int first = LinesOnFirstPage(), next = LinesOnNextPage(), beside = linesBesideTail(tail);
        SCOPED_TRACE("tail " + std::to_string(tail.totalRows) + "/" + std::to_string(tail.taxRows) + "/" +
                     std::to_string(tail.remarkRows));
        struct Case {
            int lines;
            int pages;
            int linesOnLastPage;
        };
        // The first page that is exactly full, a line past it, a second page
        // exactly full, and the tail's own boundary.
        const bool fullPageTakesTail = beside == first;
        SheetPage fullNext;
        fullNext.first = false;
        fullNext.lineCount = next;
        const bool fullNextTakesTail = TailTop(fullNext) + TailHeight(tail) <= kBodyBottom + 1e-9;
        const Case cases[] = {
            {0, 1, 0},
            {1, 1, 1},
            {beside, 1, beside},
            {beside + 1, 2, beside + 1 > first ? 1 : 0},
            {first, fullPageTakesTail ? 1 : 2, fullPageTakesTail ? first : 0},
            {first + 1, 2, 1},
            {first + next, fullNextTakesTail ? 2 : 3, fullNextTakesTail ? next : 0},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.lines) + " lines");
            SheetPlan plan = PlanSheets(c.lines, tail);
            expectWellFormed(plan, c.lines, tail);
            EXPECT_EQ(static_cast<int>(plan.pages.size()), c.pages);
            EXPECT_EQ(plan.pages.back().lineCount, c.linesOnLastPage);
        }
    }
}

TEST(SheetLayout, RemarksMakeTheTailTaller) {
    const TailContent without{3, 2, 0}, with{3, 2, 2};
    EXPECT_NEAR(TailHeight(with) - TailHeight(without), kTailGap + 2 * kRemarkRowHeight, 1e-9);
    EXPECT_LE(linesBesideTail(with), linesBesideTail(without));
    // The taller of the two side-by-side blocks decides.
    EXPECT_NEAR(TailHeight({6, 1, 0}), 6 * kTotalRowHeight, 1e-9);
    EXPECT_NEAR(TailHeight({1, 3, 0}), 4 * kTaxRowHeight, 1e-9);
    EXPECT_EQ(TailHeight({}), 0.0);
}

}  // namespace
}  // namespace velmora
