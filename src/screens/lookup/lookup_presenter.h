#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "screens/lookup/condition_builder.h"
#include "screens/lookup/lookup_context.h"
#include "screens/lookup/lookup_data.h"
#include "screens/lookup/lookup_session.h"
#include "screens/lookup/lookup_view.h"
#include "screens/lookup/window_description.h"

namespace velmora {

class LookupWindows;

// "yyyymmdd" of today; replaced in tests.
using TodaySource = std::function<std::string()>;
std::string SystemToday();

// The behaviour of one lookup window, whatever its description: searching,
// field commits, filters, sorting, choice and return, nested openings.
class LookupPresenter : public LookupHost {
public:
    static constexpr int kMaxRows = 1000;
    static constexpr const char* kNoticeRowLimit = "一回の検索で1000件までを表示します。";
    static constexpr const char* kNoticeNoRows = "該当情報がありません。";
    static constexpr const char* kCompoundButton = "btn_複合検索";
    static constexpr const char* kNegativeButton = "btn_否定検索";
    static constexpr const char* kClearButton = "btn_画面クリア";
    static constexpr const char* kReturnButton = "btn_戻る";

    LookupPresenter(const WindowDescription& window, const LookupSession& session, LookupData& data,
                    LookupContext& context, LookupWindows* windows, TodaySource today = SystemToday);
    void setView(LookupView* view) { m_view = view; }

    // Shows the window modally. The first opening loads it; a master window
    // keeps what it showed. whenClosed runs once the window has handed over.
    void open(std::function<void()> whenClosed);

    // What the window reports.
    void onFieldEntered(const std::string& field);
    void onFieldEdited(const std::string& field, const std::string& text);
    void onFieldLeft(const std::string& field, const std::string& text);
    void onFieldGesture(const std::string& field);  // double-click or Ctrl
    void onButton(const std::string& button);
    void onCheckToggled(const std::string& box, bool checked);
    void onFilterChanged(const std::string& filter, int value);
    void onPeriodChanged(int option);
    void onRowChosen(int row);  // -1 when no row is selected
    void onEscape();
    void onColumnClicked(int column);

    // LookupHost: a nested window hands its choice to this window's fields.
    void setHostEnabled(bool enabled) override;
    void setControlText(const std::string& control, const std::string& text) override;
    void focusControl(const std::string& control) override;
    std::optional<std::string> controlText(const std::string& control) const override;

    const WindowDescription& window() const { return m_window; }
    const std::vector<LookupRow>& rows() const { return m_rows; }
    const std::string& notice() const { return m_notice; }
    const SearchValues& values() const { return m_values; }
    const SearchMode& mode() const { return m_mode; }
    int sortColumn() const { return m_sortColumn; }
    bool sortAscending() const { return m_ascending; }
    const std::string& lastQuery() const { return m_lastQuery; }
    std::string shownName(const std::string& nameField) const;
    bool loaded() const { return m_loaded; }

private:
    void load();
    void loadFilters();
    void initFields();
    void showFields();
    void updateButtons();
    void search();
    void commit(const std::string& field, const std::string& text);
    void commitFocused();
    void lookUpName(const FieldDescription& field);
    void searchAndFocusList(SearchMode mode);
    void clearConditions();
    void choose(int row);
    void giveBack();
    void enableOpener();
    void finish();
    void openNested(const FieldDescription& field);
    LookupRow makeRow(const Recordset& rs) const;
    std::string formatCell(const Recordset& rs, const ColumnDescription& column) const;
    std::string live(const std::string& field) const;
    QueryContext queryContext() const;

    const WindowDescription& m_window;
    const LookupSession& m_session;
    LookupData& m_data;
    LookupContext& m_context;
    LookupWindows* m_windows;
    TodaySource m_today;
    LookupView* m_view = nullptr;

    bool m_loaded = false;
    LookupHost* m_opener = nullptr;
    std::function<void()> m_whenClosed;
    SearchValues m_values;
    std::map<std::string, std::string> m_live;
    std::map<std::string, std::string> m_names;
    SearchMode m_mode;
    std::vector<LookupRow> m_rows;
    std::string m_notice;
    int m_sortColumn = 0;
    bool m_ascending = true;
    std::string m_focus;
    std::string m_lastQuery;
};

}  // namespace velmora
