#pragma once

#include <string>

#include "screens/entry/entry_view.h"

namespace velmora {

struct EntryScreen;

// The detail grid: ten rows over the lines, on the sales and the purchase
// page. A row shows line TopLine + row; rows past the empty line after the
// last line show nothing and cannot be entered.
class GridRows {
public:
    explicit GridRows(EntryScreen& screen) : m_s(screen) {}

    // The line-kind list, once at start.
    void FillLists();
    void DrawRow(int row);
    void RedrawRows();
    void RedrawTotals();
    // Captions that follow the supplier columns switch.
    void RedrawColumns();

    // A row field was left with its text.
    void Leave(const Control& field, const std::string& text);
    void Edited(const Control& field, const std::string& text);
    void CheckToggled(const Control& box, bool checked);
    void ListChosen(const Control& list, int index);
    // The row's lookup window (button, double-click, Ctrl); false when the
    // field has none. 商品名 opens the list of stored lines by its button and
    // the history of product names by the gestures.
    bool OpenLookup(const Control& field, bool byButton);

    // After a registration program ran for the line: its product or its
    // supplier read again from the line's code (a code the program returned
    // is already in it) and the line priced again; not found empties the code.
    void RereadProduct(int line);
    void RereadSupplier(int line);

    // A line with nothing in it (kind 1, no code, no texts, no figures).
    bool IsBlankLine(int line) const;
    // The last line is empty: it stops being a line.
    void DropBlankLastLine();

private:
    int lineOf(const Control& control) const;
    void drawTabStops(int row, int line);
    void lineChanged();
    void dropLastLine();
    // 行区分 stored from its text; false when the text is no kind.
    bool storeLineKind(int row, const std::string& text);
    // The focus leaves 行区分 of a line of kind 0.
    void endOfLines(int row, int line);
    void readProduct(int line, const std::string& code);
    void readSupplier(int line, const std::string& code, bool priceAgain);
    void pricePurchaseSide(int line);
    // The item-name list's choice waiting in PickedKey, taken into the line;
    // false when there is none.
    bool takePickedItem(const Control& field, int line);

    EntryScreen& m_s;
    int m_lineKinds = 0;
};

}  // namespace velmora
