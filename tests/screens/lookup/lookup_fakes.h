#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "screens/lookup/lookup_windows.h"

namespace velmora::test {

// Records what a presenter tells its window.
class FakeLookupView : public LookupView {
public:
    explicit FakeLookupView(LookupPresenter& presenter) : presenter(presenter) {}
    void setFieldText(const std::string& field, const std::string& text) override { fields[field] = text; }
    void setButtonEnabled(const std::string& button, bool enabled) override { buttons[button] = enabled; }
    void setButtonCaption(const std::string& button, const std::string& caption) override { captions[button] = caption; }
    void setChecked(const std::string& box, bool checked) override { boxes[box] = checked; }
    void setFilterNames(const std::string& filter, const std::vector<std::string>& names) override {
        filterNames[filter] = names;
    }
    void setFilterValue(const std::string& filter, int value) override { filters[filter] = value; }
    void setPeriod(int option) override { period = option; }
    void showRows(const std::vector<LookupRow>& shown) override { rows = shown; }
    void setSortIndicator(int column, bool ascending) override {
        sortColumn = column;
        sortAscending = ascending;
    }
    void setNotice(const std::string& text) override { notice = text; }
    void setFocusTo(const std::string& control) override { focus.push_back(control); }
    void setWindowEnabled(bool e) override { enabled = e; }
    void showModal() override {
        visible = true;
        ++shown;
    }
    void closeWindow() override { visible = false; }

    // The user types into a field: it takes the focus, changes, and is left.
    void type(const std::string& field, const std::string& text) {
        presenter.onFieldEntered(field);
        presenter.onFieldEdited(field, text);
        fields[field] = text;
    }
    void leave(const std::string& field) { presenter.onFieldLeft(field, fields[field]); }

    LookupPresenter& presenter;
    std::map<std::string, std::string> fields;
    std::map<std::string, bool> buttons;
    std::map<std::string, std::string> captions;
    std::map<std::string, bool> boxes;
    std::map<std::string, std::vector<std::string>> filterNames;
    std::map<std::string, int> filters;
    int period = -1;
    std::vector<LookupRow> rows;
    int sortColumn = -1;
    bool sortAscending = true;
    std::string notice;
    std::vector<std::string> focus;
    bool enabled = true;
    bool visible = false;
    int shown = 0;
};

class FakeViewFactory : public LookupViewFactory {
public:
    std::unique_ptr<LookupView> createView(const WindowDescription& window, LookupPresenter& presenter) override {
        auto view = std::make_unique<FakeLookupView>(presenter);
        views[window.id] = view.get();
        ++created[window.id];
        return view;
    }
    std::map<LookupWindowId, FakeLookupView*> views;
    std::map<LookupWindowId, int> created;
};

// Answers statements with prepared rows, by the longest matching beginning.
class FakeLookupData : public LookupData {
public:
    using Rows = std::vector<std::vector<std::string>>;
    void answer(const std::string& prefix, std::vector<std::string> columns, Rows rows) {
        m_answers[prefix] = {std::move(columns), std::move(rows)};
    }
    bool open(std::unique_ptr<Recordset>& rs, const std::string& sql) override {
        statements.push_back(sql);
        const Answer* best = nullptr;
        size_t bestLength = 0;
        for (const auto& [prefix, a] : m_answers)
            if (sql.starts_with(prefix) && prefix.size() >= bestLength) {
                best = &a;
                bestLength = prefix.size();
            }
        rs = std::make_unique<Recordset>(best ? best->columns : std::vector<std::string>{});
        if (best) {
            for (const auto& row : best->rows) {
                std::vector<Cell> cells;
                for (const auto& value : row) cells.push_back(Cell{Cell::Kind::Text, 0, 0.0, value});
                rs->addRow(std::move(cells));
            }
        }
        return !rs->eof();
    }
    // Statements that began with the text.
    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& s : statements) n += s.starts_with(prefix) ? 1 : 0;
        return n;
    }
    std::vector<std::string> statements;

private:
    struct Answer {
        std::vector<std::string> columns;
        Rows rows;
    };
    std::map<std::string, Answer> m_answers;
};

// The entry screen as an opener: a few named fields, focus and enabling recorded.
class FakeHost : public LookupHost {
public:
    void setHostEnabled(bool e) override { enabled = e; }
    void setControlText(const std::string& control, const std::string& text) override { controls[control] = text; }
    void focusControl(const std::string& control) override { focus.push_back(control); }
    std::optional<std::string> controlText(const std::string& control) const override {
        auto it = controls.find(control);
        if (it == controls.end()) return std::nullopt;
        return it->second;
    }
    void resolveNextFocus(std::string& control) override {
        resolved.push_back(control);
        auto it = replacements.find(control);
        if (it != replacements.end()) control = it->second;
    }
    bool enabled = true;
    std::map<std::string, std::string> controls;
    std::vector<std::string> focus;
    std::vector<std::string> resolved;
    std::map<std::string, std::string> replacements;
};

}  // namespace velmora::test
