#pragma once

#include <string>
#include <vector>

namespace velmora {

// One row of a result list: the texts of its columns (the first is what a
// choice returns) and its RowKey.
struct LookupRow {
    std::vector<std::string> cells;
    std::string key;
    const std::string& text() const { return cells.front(); }
};

// What a lookup presenter tells its window. The window builds its controls
// from the window's description and reports the user's actions back to the
// presenter; it decides nothing itself.
class LookupView {
public:
    virtual ~LookupView() = default;
    virtual void setFieldText(const std::string& field, const std::string& text) = 0;
    virtual void setButtonEnabled(const std::string& button, bool enabled) = 0;
    virtual void setButtonCaption(const std::string& button, const std::string& caption) = 0;
    virtual void setChecked(const std::string& box, bool checked) = 0;
    // The names of a status filter, "全て" last.
    virtual void setFilterNames(const std::string& filter, const std::vector<std::string>& names) = 0;
    virtual void setFilterValue(const std::string& filter, int value) = 0;
    virtual void setPeriod(int option) = 0;
    // Replaces the list; no row is selected afterwards.
    virtual void showRows(const std::vector<LookupRow>& rows) = 0;
    virtual void setSortIndicator(int column, bool ascending) = 0;
    // The line under the list; an empty text hides it.
    virtual void setNotice(const std::string& text) = 0;
    // A field, a button or the list (by its List… name).
    virtual void setFocusTo(const std::string& control) = 0;
    virtual void setWindowEnabled(bool enabled) = 0;
    // Shows the window modally; a window that blocks returns once it is closed.
    virtual void showModal() = 0;
    // Hides the window, ending its modal show.
    virtual void closeWindow() = 0;
};

}  // namespace velmora
