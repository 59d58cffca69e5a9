#include "screens/lookup/lookup_presenter.h"

#include <algorithm>

#include "data/clock.h"
#include "data/sql_text.h"
#include "pricing/currency.h"
#include "pricing/numeric_formats.h"
#include "screens/lookup/lookup_windows.h"
#include "text/code_pattern.h"
#include "text/full_width.h"
#include "text/control_chars.h"
#include "text/input_filters.h"

namespace velmora {

std::string SystemToday() { return FormatDate(SystemNow()); }

namespace {

bool Blank(const std::string& text) { return TrimBlanks(text).empty(); }

}  // namespace

LookupPresenter::LookupPresenter(const WindowDescription& window, const LookupSession& session, LookupData& data,
                                 LookupContext& context, LookupWindows* windows, TodaySource today)
    : m_window(window),
      m_session(session),
      m_data(data),
      m_context(context),
      m_windows(windows),
      m_today(std::move(today)) {}

void LookupPresenter::open(std::function<void()> whenClosed) {
    m_whenClosed = std::move(whenClosed);
    m_opener = m_context.LookupTarget.host;
    if (!m_loaded) load();
    if (m_view) m_view->showModal();
}

// ---- loading and the fields ------------------------------------------------

void LookupPresenter::load() {
    m_loaded = true;
    loadFilters();
    initFields();
    showFields();
    if (m_view) {
        m_view->setButtonEnabled(kCompoundButton, true);
        m_view->setNotice({});
        m_view->setSortIndicator(m_sortColumn, m_ascending);
    }
    m_mode = SearchMode::Compound();
    search();
}

void LookupPresenter::loadFilters() {
    for (const auto& filter : m_window.filters) {
        std::vector<std::string> names;
        std::unique_ptr<Recordset> rs;
        if (m_data.open(rs, "SELECT * FROM " + filter.kTable + " ORDER BY 区分")) {
            for (; !rs->eof(); rs->moveNext()) names.push_back(rs->text("名称"));
        }
        if (rs) rs->close();
        const int all = static_cast<int>(names.size());
        names.push_back("全て");
        m_values.filterAll[filter.name] = all;
        m_values.filters[filter.name] = filter.defaultValue == kAll ? all : std::clamp(filter.defaultValue, 0, all);
        if (m_view) {
            m_view->setFilterNames(filter.name, names);
            m_view->setFilterValue(filter.name, m_values.filters[filter.name]);
        }
    }
}

void LookupPresenter::initFields() {
    m_values.fields.clear();
    m_values.boxes.clear();
    m_values.period = 0;
    m_names.clear();
    for (const auto& f : m_window.fields) m_values.fields[f.name] = "";
    for (const auto& b : m_window.boxes) m_values.boxes[b.name] = false;

    if (!m_window.conditionInto.empty()) {
        m_values.fields[m_window.conditionInto] = m_context.LookupCondition;
        m_context.LookupCondition.clear();
    }
    for (const auto& x : m_window.extractions) {
        if (!x.onlyWhen.empty() && m_context.LookupCondition.find(x.onlyWhen) == std::string::npos) continue;
        const std::string value = ExtractCondition(x.column, m_context.LookupCondition);
        switch (x.into) {
            case Extraction::Into::Field:
                m_values.fields[x.target] = value;
                break;
            case Extraction::Into::Filter:
                // Nothing found keeps the default rather than choosing the first status.
                if (!value.empty())
                    m_values.filters[x.target] =
                        std::clamp(static_cast<int>(ValInteger(value)), 0, m_values.filterAll[x.target]);
                break;
            case Extraction::Into::Box:
                m_values.boxes[x.target] = value == "1";
                break;
        }
    }
    auto copyFromOpener = [&](const std::string& field) {
        if (field.empty()) return;
        std::optional<std::string> text = m_opener ? m_opener->controlText(field) : std::nullopt;
        m_values.fields[field] = text ? *text : std::string();
    };
    copyFromOpener(m_window.staffPrefill);
    copyFromOpener(m_window.customerPrefill);
    for (const auto& f : m_window.fields)
        if (!f.nameField.empty()) lookUpName(f);
}

void LookupPresenter::showFields() {
    for (const auto& f : m_window.fields) {
        m_live[f.name] = m_values.field(f.name);
        if (m_view) m_view->setFieldText(f.name, m_live[f.name]);
    }
    if (m_view) {
        for (const auto& [field, name] : m_names) m_view->setFieldText(field, name);
        for (const auto& b : m_window.boxes) m_view->setChecked(b.name, m_values.box(b.name));
        for (const auto& f : m_window.fields)
            if (!f.box.empty() && !f.altCaption.empty())
                m_view->setButtonCaption(f.button, m_values.box(f.box) ? f.altCaption : f.caption);
        for (const auto& f : m_window.filters) m_view->setFilterValue(f.name, m_values.filters[f.name]);
        if (m_window.history) m_view->setPeriod(m_values.period);
    }
    updateButtons();
}

void LookupPresenter::updateButtons() {
    if (!m_view) return;
    for (const auto& f : m_window.fields) {
        if (f.role != FieldRole::Search || f.button.empty()) continue;
        bool enabled;
        if (f.kind == FieldKind::Telephone || f.kind == FieldKind::Postcode)
            enabled = !DigitsOnly(live(f.name)).empty();
        else if (f.form == ConditionForm::Words)
            enabled = !Blank(live(f.name)) || !Blank(live(f.secondField));
        else
            enabled = !Blank(live(f.name));
        m_view->setButtonEnabled(f.button, enabled);
    }
}

std::string LookupPresenter::live(const std::string& field) const {
    auto it = m_live.find(field);
    return it == m_live.end() ? std::string() : it->second;
}

std::string LookupPresenter::shownName(const std::string& nameField) const {
    auto it = m_names.find(nameField);
    return it == m_names.end() ? std::string() : it->second;
}

void LookupPresenter::commit(const std::string& fieldName, const std::string& typed) {
    // Search fields are single-line: a pasted NUL or line break would cut or
    // break the statement the search builds.
    const std::string text = StripControlCharacters(typed);
    const FieldDescription* f = m_window.field(fieldName);
    if (!f) return;
    m_live[fieldName] = text;
    std::string& stored = m_values.fields[fieldName];
    if (text == stored) return;
    switch (f->kind) {
        case FieldKind::Code:
            stored = FormatCode(text, f->pattern);
            break;
        case FieldKind::Telephone:
            // A field without a digit searches nothing, so it holds nothing.
            stored = DigitsOnly(text).empty() ? std::string() : text;
            break;
        case FieldKind::Postcode:
            stored = DigitsOnly(text).empty() ? std::string() : NormalizePostcode(text);
            break;
        case FieldKind::Text:
        case FieldKind::Date:
            stored = f->halfWidthKana ? ToHalfWidthKana(text) : text;
            break;
    }
    if (!f->nameField.empty()) lookUpName(*f);
    showFields();
}

void LookupPresenter::commitFocused() {
    if (m_focus.empty()) return;
    commit(m_focus, live(m_focus));
}

void LookupPresenter::lookUpName(const FieldDescription& f) {
    const std::string code = m_values.field(f.name);
    std::string name;
    if (!Blank(code)) {
        const std::string& sql = !f.box.empty() && m_values.box(f.box) && !f.altNameSql.empty() ? f.altNameSql : f.nameSql;
        std::unique_ptr<Recordset> rs;
        if (m_data.open(rs, sql + QuoteSql(code) + "'")) name = rs->text(size_t{0});
        if (rs) rs->close();
    }
    m_names[f.nameField] = name;
    if (m_view) m_view->setFieldText(f.nameField, name);
}

// ---- searching -------------------------------------------------------------

QueryContext LookupPresenter::queryContext() const {
    QueryContext q;
    q.databaseKind = m_session.databaseKind;
    q.condition = m_context.LookupCondition;
    q.currentOffice = m_session.currentOfficeCode;
    q.operatingOffice = m_session.operatingOfficeCode;
    q.today = m_today ? m_today() : SystemToday();
    return q;
}

void LookupPresenter::search() {
    m_rows.clear();
    m_lastQuery = BuildLookupQuery(m_window, m_mode, m_values, queryContext());
    if (!m_lastQuery.empty()) {
        std::unique_ptr<Recordset> rs;
        if (m_data.open(rs, m_lastQuery)) {
            while (!rs->eof() && static_cast<int>(m_rows.size()) < kMaxRows) {
                m_rows.push_back(makeRow(*rs));
                rs->moveNext();
            }
        }
        if (rs) rs->close();
    }
    // A search that found nothing says so: an empty list alone reads as
    // a window that did not search.
    m_notice = static_cast<int>(m_rows.size()) == kMaxRows  ? kNoticeRowLimit
               : m_rows.empty() && !m_lastQuery.empty() ? kNoticeNoRows
                                                         : "";
    if (m_view) {
        m_view->showRows(m_rows);
        m_view->setNotice(m_notice);
    }
    if (m_window.buttonsAfterSearch) updateButtons();
}

LookupRow LookupPresenter::makeRow(const Recordset& rs) const {
    LookupRow row;
    for (const auto& column : m_window.columns) row.cells.push_back(formatCell(rs, column));
    row.key = "C";
    for (const auto& key : m_window.keyColumns) row.key += rs.text(key);
    return row;
}

std::string LookupPresenter::formatCell(const Recordset& rs, const ColumnDescription& column) const {
    if (column.format == CellFormat::Plain) return rs.text(column.source);
    const auto scaled = rs.scaled4(column.source);
    if (!scaled) return rs.text(column.source);
    const Currency value = Currency::FromScaled(*scaled);
    switch (column.format) {
        case CellFormat::Amount:
            return value.format(DisplayFormat(0));
        case CellFormat::PaddedAmount: {
            std::string text = value.format(DisplayFormat(0));
            if (text.size() < 13) text.insert(0, 13 - text.size(), ' ');
            return text;
        }
        case CellFormat::SellingPrice:
            return value.format(DisplayFormat(m_session.sellingUnitPriceDecimals));
        case CellFormat::PurchasePrice:
            return value.format(DisplayFormat(m_session.purchaseUnitPriceDecimals));
        case CellFormat::Plain:
            break;
    }
    return rs.text(column.source);
}

void LookupPresenter::searchAndFocusList(SearchMode mode) {
    m_mode = std::move(mode);
    search();
    m_focus.clear();
    if (m_view) m_view->setFocusTo(m_window.listName);
}

void LookupPresenter::clearConditions() {
    if (m_window.history) {
        m_values.fields["検索文字列"] = "";
        m_values.period = 0;
        showFields();
    } else if (m_window.family != LookupFamily::CodeName) {
        m_context.LookupCondition.clear();
        initFields();
        showFields();
    }
    searchAndFocusList(SearchMode::Compound());
}

// ---- events ----------------------------------------------------------------

void LookupPresenter::onFieldEntered(const std::string& field) {
    if (!m_window.field(field)) return;
    m_focus = field;
    m_context.LookupFocusField = {this, field};
}

void LookupPresenter::onFieldEdited(const std::string& field, const std::string& text) {
    m_live[field] = text;
    updateButtons();
}

void LookupPresenter::onFieldLeft(const std::string& field, const std::string& text) {
    if (m_focus == field) m_focus.clear();
    commit(field, text);
}

void LookupPresenter::onFieldGesture(const std::string& field) {
    const FieldDescription* f = m_window.field(field);
    if (!f || !f->opens) return;
    if (m_context.LookupFocusField.host != this || m_context.LookupFocusField.name != field) return;
    openNested(*f);
}

void LookupPresenter::onButton(const std::string& button) {
    // Pressing a button takes the focus, which commits the field left.
    commitFocused();
    if (button == kCompoundButton) {
        searchAndFocusList(SearchMode::Compound());
    } else if (button == kNegativeButton) {
        if (!m_window.negativeCaption.empty()) searchAndFocusList(SearchMode::Negative());
    } else if (button == kClearButton) {
        if (m_window.hasClear) clearConditions();
    } else if (button == kReturnButton) {
        giveBack();
    } else if (const FieldDescription* f = m_window.fieldOfButton(button)) {
        searchAndFocusList(SearchMode::OfField(f->name));
    } else {
        for (const auto& field : m_window.fields)
            if (!field.opensButton.empty() && field.opensButton == button) openNested(field);
    }
}

void LookupPresenter::onCheckToggled(const std::string& box, bool checked) {
    m_values.boxes[box] = checked;
    if (!m_view) return;
    for (const auto& f : m_window.fields)
        if (f.box == box && !f.altCaption.empty()) m_view->setButtonCaption(f.button, checked ? f.altCaption : f.caption);
}

void LookupPresenter::onFilterChanged(const std::string& filter, int value) {
    if (!m_window.filter(filter)) return;
    const int all = m_values.filterAll[filter];
    m_values.filters[filter] = std::clamp(value, 0, all);
    if (m_view) m_view->setFilterValue(filter, m_values.filters[filter]);
}

void LookupPresenter::onPeriodChanged(int option) {
    const int last = static_cast<int>(HistoryPeriods().size()) - 1;
    m_values.period = std::clamp(option, 0, last);
}

void LookupPresenter::onRowChosen(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    choose(row);
}

void LookupPresenter::onEscape() { giveBack(); }

void LookupPresenter::onColumnClicked(int column) {
    if (column < 0 || column >= static_cast<int>(m_window.columns.size())) return;
    if (column == m_sortColumn)
        m_ascending = !m_ascending;
    else
        m_sortColumn = column;
    const auto index = static_cast<size_t>(column);
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const LookupRow& a, const LookupRow& b) {
        return m_ascending ? a.cells[index] < b.cells[index] : b.cells[index] < a.cells[index];
    });
    if (m_view) {
        m_view->showRows(m_rows);
        m_view->setSortIndicator(m_sortColumn, m_ascending);
    }
}

// ---- choice, return and nesting ---------------------------------------------

void LookupPresenter::choose(int index) {
    const LookupRow row = m_rows[static_cast<size_t>(index)];
    if (m_window.choice == ChoiceCondition::RowKey) m_context.LookupCondition = row.key;
    const ControlRef target = m_context.LookupTarget;
    if (target.host) target.host->setControlText(target.name, row.text());
    if (m_view) m_view->closeWindow();
    enableOpener();
    if (m_window.choice == ChoiceCondition::Clear) m_context.LookupCondition.clear();
    if (target.host) target.host->focusControl(target.name);
    ControlRef next = m_context.LookupNextFocus;
    if (next.host) {
        if (!m_context.LookupNested) next.host->resolveNextFocus(next.name);
        next.host->focusControl(next.name);
    }
    finish();
}

void LookupPresenter::giveBack() {
    if (m_view) m_view->closeWindow();
    enableOpener();
    if (m_window.choice != ChoiceCondition::Unchanged) m_context.LookupCondition.clear();
    const ControlRef target = m_context.LookupTarget;
    if (target.host) target.host->focusControl(target.name);
    finish();
}

void LookupPresenter::enableOpener() {
    if (m_context.LookupNested && m_context.LookupCaller)
        m_context.LookupCaller->setHostEnabled(true);
    else if (m_context.entryScreen)
        m_context.entryScreen->setHostEnabled(true);
}

void LookupPresenter::finish() {
    auto whenClosed = std::move(m_whenClosed);
    m_whenClosed = nullptr;
    if (whenClosed) whenClosed();
}

void LookupPresenter::openNested(const FieldDescription& f) {
    if (!m_windows) return;
    const bool alternative = !f.box.empty() && m_values.box(f.box) && f.altOpens;
    const LookupWindowId id = alternative ? *f.altOpens : *f.opens;
    commitFocused();
    // A window that is itself nested (a customer list opened from the
    // product list) gets its own caller back, not the entry screen.
    const ControlRef savedTarget = m_context.LookupTarget;
    const ControlRef savedNext = m_context.LookupNextFocus;
    LookupHost* const savedCaller = m_context.LookupCaller;
    const bool savedNested = m_context.LookupNested;
    // The nested window starts without a condition and its choice writes one
    // for whoever reads it; the caller's own condition is given back after,
    // or its next search would carry the nested window's key.
    const std::string savedCondition = m_context.LookupCondition;
    m_context.LookupCaller = this;
    m_context.LookupNested = true;
    setHostEnabled(false);
    m_context.LookupCondition.clear();
    m_context.LookupTarget = {this, f.name};
    m_context.LookupNextFocus = {this, f.opensNextFocus};
    LookupContext& context = m_context;
    m_windows->show(id, [&context, savedTarget, savedNext, savedCaller, savedNested, savedCondition] {
        context.LookupCondition = savedCondition;
        context.LookupNested = savedNested;
        context.LookupCaller = savedCaller;
        context.LookupTarget = savedTarget;
        context.LookupNextFocus = savedNext;
    });
}

// ---- LookupHost --------------------------------------------------------------

void LookupPresenter::setHostEnabled(bool enabled) {
    if (m_view) m_view->setWindowEnabled(enabled);
}

void LookupPresenter::setControlText(const std::string& control, const std::string& text) {
    if (!m_window.field(control)) return;
    m_live[control] = text;
    if (m_view) m_view->setFieldText(control, text);
    updateButtons();
}

void LookupPresenter::focusControl(const std::string& control) {
    if (!m_focus.empty() && m_focus != control) {
        const std::string left = m_focus;
        m_focus.clear();
        commit(left, live(left));
    }
    if (m_window.field(control)) {
        m_focus = control;
        m_context.LookupFocusField = {this, control};
    }
    if (m_view) m_view->setFocusTo(control);
}

std::optional<std::string> LookupPresenter::controlText(const std::string& control) const {
    if (!m_window.field(control)) return std::nullopt;
    return live(control);
}

}  // namespace velmora
