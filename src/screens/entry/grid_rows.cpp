#include "screens/entry/grid_rows.h"

#include <array>

#include "app/program.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/line_pricing.h"
#include "pricing/line_tax.h"
#include "pricing/numeric_formats.h"
#include "pricing/pricing_changes.h"
#include "pricing/totals.h"
#include "quotation/column_table.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/lookup_opening.h"
#include "text/byte_limit.h"
#include "text/code_pattern.h"
#include "text/control_chars.h"

namespace velmora {

namespace {

constexpr const char* kNotFound = "該当情報がありません。";
constexpr const char* kNotANumber = "数値を入力してください。";
constexpr const char* kOutOfRange = "金額が大きすぎます。";
constexpr const char* kTailFirstField = "見積伝票備考A";

struct FigureField {
    const char* name;
    LineFigure figure;
    Currency PricedLine::* member;
};

constexpr std::array<FigureField, 8> kFigures = {{
    {"見積数量", LineFigure::見積数量, &PricedLine::見積数量},
    {"見積単価", LineFigure::見積単価, &PricedLine::見積単価},
    {"見積金額", LineFigure::見積金額, &PricedLine::見積金額},
    {"見積消費税", LineFigure::見積消費税, &PricedLine::見積消費税},
    {"仕入数量", LineFigure::仕入数量, &PricedLine::仕入数量},
    {"仕入単価", LineFigure::仕入単価, &PricedLine::仕入単価},
    {"仕入金額", LineFigure::仕入金額, &PricedLine::仕入金額},
    {"仕入消費税", LineFigure::仕入消費税, &PricedLine::仕入消費税},
}};

const FigureField* figureOf(const std::string& name) {
    for (const auto& f : kFigures)
        if (name == f.name) return &f;
    return nullptr;
}

// Decimals a figure is typed and shown with.
int decimalsOf(const CompanySettings& c, LineFigure figure) {
    switch (figure) {
        case LineFigure::見積数量:
            return c.売上数量少数以下桁数;
        case LineFigure::見積単価:
            return c.売上単価少数以下桁数;
        case LineFigure::仕入数量:
            return c.仕入数量少数以下桁数;
        case LineFigure::仕入単価:
            return c.仕入単価少数以下桁数;
        default:
            return 0;
    }
}

// The texts a row keeps, with the member each is stored in.
struct TextField {
    const char* name;
    std::string QuotationLine::* member;
};
constexpr std::array<TextField, 4> kTexts = {{
    {"商品名", &QuotationLine::商品名},
    {"見積単位", &QuotationLine::見積単位},
    {"仕入先名称A", &QuotationLine::仕入先名称A},
    {"仕入単位", &QuotationLine::仕入単位},
}};

// Fields whose tab stop follows the line kind.
constexpr std::array<const char*, 12> kTabFields = {"商品コード", "商品名",   "見積数量", "見積単位",
                                                    "見積単価",   "見積金額", "仕入先コード", "仕入先名称A",
                                                    "仕入数量",   "仕入単位", "仕入単価", "仕入金額"};

bool tabStopFor(const QuotationLine& line, const std::string& field) {
    if (line.行区分 == kLineUnset) return field == "商品コード" || field == "商品名";
    if (line.行区分 >= kLineSubtotal) return field == "商品名";
    if (field == "見積金額") return line.見積数量.isZero() || line.見積単価.isZero();
    if (field == "仕入金額") return line.仕入数量.isZero() || line.仕入単価.isZero();
    return true;
}

bool isTax(LineFigure figure) { return figure == LineFigure::見積消費税 || figure == LineFigure::仕入消費税; }
bool isUnitPrice(LineFigure figure) { return figure == LineFigure::見積単価 || figure == LineFigure::仕入単価; }

// A cell that shows something else than the line holds (taxes while the
// quotation hides them) is for reading only: what it shows is never taken
// back into the line.
bool displayOnly(const QuotationHeader& header, LineFigure figure) {
    return isTax(figure) && header.消費税表示区分 == 0;
}

// Hand-typed amounts and taxes in their own colours.
Colour typedColour(const QuotationLine& line, LineFigure figure) {
    constexpr Colour amount = Colour::Rgb(0, 128, 128);
    constexpr Colour tax = Colour::Rgb(128, 128, 255);
    switch (figure) {
        case LineFigure::見積金額: return line.sellingAmountTyped ? amount : Colour::Default();
        case LineFigure::仕入金額: return line.purchaseAmountTyped ? amount : Colour::Default();
        case LineFigure::見積消費税: return line.sellingTaxTyped ? tax : Colour::Default();
        case LineFigure::仕入消費税: return line.purchaseTaxTyped ? tax : Colour::Default();
        default: return Colour::Default();
    }
}

}  // namespace

void GridRows::FillLists() {
    std::vector<std::string> names;
    std::unique_ptr<Recordset> rs;
    if (m_s.program.access().OpenDataRecordset(rs, std::string("SELECT * FROM ") + kLineKindTable + " ORDER BY 区分")) {
        for (; !rs->eof(); rs->moveNext()) names.push_back(rs->text("名称"));
        rs->close();
    }
    m_lineKinds = static_cast<int>(names.size());
    if (m_s.view) m_s.view->SetListItems("行区分名称", names);
}

int GridRows::lineOf(const Control& control) const { return m_s.state.TopLine + control.row; }

bool GridRows::IsBlankLine(int index) const {
    if (index < 0 || index >= static_cast<int>(kLineSlots)) return true;
    // What the row does not show (memo, approvals, the line's unique number,
    // the counting flag) counts as much as what it shows. The tax categories
    // are worked out again from the header and the product's own categories
    // whenever the line is priced: they hold nothing of the line's own.
    QuotationLine line = m_s.quotation.lines[static_cast<size_t>(index)];
    static const QuotationLine cleared;
    line.売上課税区分 = cleared.売上課税区分;
    line.売上消費税区分 = cleared.売上消費税区分;
    line.仕入課税区分 = cleared.仕入課税区分;
    line.仕入消費税区分 = cleared.仕入消費税区分;
    return LineIsCleared(line);
}

void GridRows::DropBlankLastLine() {
    const int last = m_s.LastLine();
    if (last >= 0 && IsBlankLine(last)) dropLastLine();
}

void GridRows::dropLastLine() {
    Quotation& q = m_s.quotation;
    q.ClearLine(static_cast<size_t>(q.LastLine));
    m_s.state.LineMark[static_cast<size_t>(q.LastLine)] = 0;
    --q.LastLine;
    m_s.scope->RecomputeTotals();
    // One line less may no longer fill the rows from TopLine on: a grid that
    // fits in the rows again starts at line 0.
    m_s.focus->ScrollTo(m_s.state.TopLine);
    RedrawTotals();
}

// ---- drawing ----------------------------------------------------------------

void GridRows::drawTabStops(int row, int line) {
    const QuotationLine& l = m_s.quotation.lines[static_cast<size_t>(line)];
    for (const char* field : kTabFields) m_s.focus->SetTabStop({field, row}, tabStopFor(l, field));
    m_s.focus->SetTabStop({"見積消費税", row}, false);
    m_s.focus->SetTabStop({"仕入消費税", row}, false);
    m_s.focus->SetTabStop({"行区分", row}, false);
}

void GridRows::DrawRow(int row) {
    EntryView* v = m_s.view;
    if (!v) return;
    RedrawGuard guard(m_s.state);
    const int line = m_s.state.TopLine + row;
    const bool shown = line <= m_s.LastLine() + 1 && line < kMaxLinesInUse;
    const QuotationHeader& h = m_s.quotation.header;
    for (const EntryField& f : RowFields()) {
        if (f.kind == EntryFieldKind::Sentinel) continue;
        const FigureField* figure = figureOf(f.name);
        m_s.focus->SetEnabled({f.name, row}, shown && !(figure && displayOnly(h, figure->figure)));
    }
    if (!shown) {
        v->SetText({"Lab_行No", row}, "");
        for (const EntryField& f : RowFields()) {
            if (f.kind == EntryFieldKind::Check) v->SetChecked({f.name, row}, false);
            else if (f.kind == EntryFieldKind::List) v->SetListIndex({f.name, row}, -1);
            else if (f.kind != EntryFieldKind::Sentinel) v->SetText({f.name, row}, "");
        }
        return;
    }
    const QuotationLine& l = m_s.quotation.lines[static_cast<size_t>(line)];
    const CompanySettings& c = m_s.context.company;
    const bool blank = line > m_s.LastLine() || IsBlankLine(line);
    auto number = [&](const FigureField& f) -> std::string {
        if (blank) return "";
        Currency value = l.*f.member;
        // A caption line has no price of its own.
        if (l.行区分 >= kLineSubtotal && isUnitPrice(f.figure) && value.isZero()) return "";
        if (isTax(f.figure)) value = LineTaxToShow(h, value);
        return value.format(DisplayFormat(decimalsOf(c, f.figure)));
    };
    v->SetText({"Lab_行No", row}, std::to_string(line + 1));
    v->SetText({"行区分", row}, std::to_string(l.行区分));
    v->SetListIndex({"行区分名称", row}, l.行区分);
    v->SetChecked({"chb_複写区分", row}, m_s.state.LineMark[static_cast<size_t>(line)] != 0);
    v->SetText({"商品コード", row}, l.商品コード);
    v->SetText({"仕入商品名", row}, l.商品名);
    for (const auto& t : kTexts) v->SetText({t.name, row}, l.*t.member);
    for (const auto& f : kFigures) {
        v->SetText({f.name, row}, number(f));
        if (!isUnitPrice(f.figure) && f.figure != LineFigure::見積数量 && f.figure != LineFigure::仕入数量)
            v->SetTextColour({f.name, row}, typedColour(l, f.figure));
    }
    v->SetChecked({"chb_計区分", row}, l.計区分 != 0);
    m_s.focus->SetEnabled({"chb_計区分", row}, l.行区分 == kLineOrdinary);
    v->SetChecked({"chb_仕入先対応先", row}, l.仕入先対応先区分 != 0);
    v->SetText({"仕入先コード", row}, l.仕入先コード);
    const Colour taxInput = h.得意先消費税算出区分 == 2   ? Colour::Rgb(224, 224, 224)
                            : h.得意先消費税算出区分 == 3 ? Colour::Rgb(255, 255, 192)
                                                         : Colour::Default();
    v->SetBackColour({"見積消費税", row}, taxInput);
    drawTabStops(row, line);
}

void GridRows::RedrawRows() {
    for (int row = 0; row < kVisibleRows; ++row) DrawRow(row);
}

void GridRows::RedrawColumns() {
    if (!m_s.view) return;
    const bool on = m_s.state.SupplierColumns;
    m_s.view->SetCaption({"itm_ttl_仕入商品"}, on ? "対応先区分/仕入先コード/名称" : "商品名");
    for (int row = 0; row < kVisibleRows; ++row) {
        for (const char* name : {"chb_仕入先対応先", "仕入先コード", "btn_仕入先コード", "仕入先名称A"})
            m_s.view->SetVisible({name, row}, on);
        m_s.view->SetVisible({"仕入商品名", row}, !on);
    }
}

void GridRows::RedrawTotals() {
    if (!m_s.view) return;
    RedrawGuard guard(m_s.state);
    const ShownTotals t = TotalsToShow(m_s.quotation.header);
    const CompanySettings& c = m_s.context.company;
    const std::string amount = DisplayFormat(0);
    const std::pair<const char*, std::string> shown[] = {
        {"見積数量合計", t.見積数量合計.format(DisplayFormat(c.売上数量少数以下桁数))},
        {"税抜見積金額合計", t.税抜見積金額合計.format(amount)},
        {"見積消費税合計", t.見積消費税合計.format(amount)},
        {"税込見積金額合計", t.税込見積金額合計.format(amount)},
        {"仕入数量合計", t.仕入数量合計.format(DisplayFormat(c.仕入数量少数以下桁数))},
        {"税抜仕入金額合計", t.税抜仕入金額合計.format(amount)},
        {"仕入消費税合計", t.仕入消費税合計.format(amount)},
        {"税込仕入金額合計", t.税込仕入金額合計.format(amount)},
    };
    for (const auto& [name, text] : shown) m_s.view->SetText({name}, text);
}

// ---- field exits ------------------------------------------------------------

void GridRows::lineChanged() {
    m_s.state.Changed = true;
    // The totals run rewrites the subtotal lines and may move the document's
    // tax correction onto another line: every row shown may have changed.
    RedrawRows();
    RedrawTotals();
}

bool GridRows::storeLineKind(int row, const std::string& text) {
    const int line = m_s.state.TopLine + row;
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const std::int64_t kind = digits ? ValInteger(text) : -1;
    if (kind < 0 || kind >= std::max(m_lineKinds, 1)) {
        DrawRow(row);
        return false;
    }
    Quotation& q = m_s.quotation;
    if (m_s.pricing().EnterLineKind(q.header, q.linesInUse(), static_cast<std::size_t>(line),
                                    static_cast<std::int16_t>(kind)) != PricingOutcome::Unchanged)
        lineChanged();
    return true;
}

void GridRows::endOfLines(int row, int line) {
    Quotation& q = m_s.quotation;
    // A kind of 0 is no line a quotation keeps: inside the lines it has to be
    // chosen again; at the end it closes the lines and the tail follows.
    if (line == 0 || line != q.LastLine) return m_s.focus->Transfer({"行区分", row}, false);
    dropLastLine();
    m_s.focus->MoveFocus({kTailFirstField});
}

void GridRows::readProduct(int line, const std::string& code) {
    Quotation& q = m_s.quotation;
    const ProductRead product = ReadProduct(m_s.program.access(), q.lines[static_cast<std::size_t>(line)], code);
    if (!product.found) {
        m_s.scope->RecomputeTotals();
        m_s.Notice(kNotFound);
        return lineChanged();
    }
    if (m_s.pricing().ProductEntered(q.header, q.linesInUse(), static_cast<std::size_t>(line)) ==
        PricingOutcome::OutOfRange)
        m_s.Notice(kOutOfRange);
    if (product.supplierNotFound) m_s.Notice(kNotFound);
    lineChanged();
}

void GridRows::readSupplier(int line, const std::string& code, bool priceAgain) {
    QuotationLine& l = m_s.quotation.lines[static_cast<std::size_t>(line)];
    const MasterRead read = ReadSupplier(m_s.program.access(), l, code, l.仕入先対応先区分 != 0);
    if (!read.found) {
        m_s.Notice(kNotFound);
        return lineChanged();
    }
    // The supplier's rounding prices the purchase side.
    if (read.taxSettingsChanged || priceAgain) pricePurchaseSide(line);
    lineChanged();
}

void GridRows::pricePurchaseSide(int line) {
    const QuotationPricing pricing = m_s.pricing();
    QuotationLine& l = m_s.quotation.lines[static_cast<std::size_t>(line)];
    // The unit price stays as taken or typed; amount and tax follow the
    // supplier's settings.
    const bool ok = PurchaseAmount(pricing.rules(), l) && PurchaseLineTax(pricing.rules(), m_s.quotation.header, l);
    m_s.scope->RecomputeTotals();
    if (!ok) m_s.Notice(kOutOfRange);
}

bool GridRows::takePickedItem(const Control& field, int line) {
    std::string& picked = m_s.state.PickedKey;
    // "C" + office (3) + base date (8) + number (8) + the line's unique number.
    const std::string key = TrimBlanks(picked);
    if (key.size() <= 20 || key[0] != 'C') return false;
    // The list gives the focus to the name and then to the code; the line is
    // taken as the name is left, and the focus comes back to the name.
    if (m_s.state.Focused == field) return true;
    picked.clear();
    QuotationLoader loader(*m_s.scope);
    if (!loader.TakeStoredItem(key.substr(1, 3), key.substr(4, 8), key.substr(12, 8), key.substr(20), line))
        return false;
    lineChanged();
    m_s.focus->MoveFocus({"商品名", field.row});
    return true;
}

void GridRows::Leave(const Control& field, const std::string& typed) {
    const int line = lineOf(field);
    Quotation& q = m_s.quotation;
    if (line < 0 || line > q.LastLine) return;
    QuotationLine& l = q.lines[static_cast<size_t>(line)];
    const QuotationPricing pricing = m_s.pricing();
    const std::string text = TrimBlanks(typed);
    const auto i = static_cast<std::size_t>(line);

    if (field.name == "行区分") {
        storeLineKind(field.row, text);
        // Its own drop-down is still the line: choosing there is no leaving.
        const Control& to = m_s.state.Focused;
        if (l.行区分 == kLineUnset && to != field && to != Control{"行区分名称", field.row}) endOfLines(field.row, line);
        return;
    }
    if (field.name == "商品コード") {
        if (text == l.商品コード) return;
        m_s.Notice("");
        if (text.empty()) {
            l.商品コード.clear();
            return lineChanged();
        }
        return readProduct(line, text);
    }
    if (field.name == "仕入先コード") {
        const std::string code = FormatCode(text, "000000");
        if (code == l.仕入先コード) return;
        m_s.Notice("");
        if (code.empty()) {
            l.仕入先コード.clear();
            return lineChanged();
        }
        return readSupplier(line, code, false);
    }
    if (field.name == "商品名" && takePickedItem(field, line)) return;
    for (const auto& t : kTexts) {
        if (field.name != t.name) continue;
        const EntryField* f = FindEntryField(field.name);
        const std::string clean = StripControlCharacters(typed);
        std::string value = FitToBytes(clean, f ? f->maxBytes : 0);
        // The overflow reported while typing is gone once the text is cut to fit.
        if (value != clean) m_s.Notice("");
        if (value == l.*t.member) {
            if (value != typed) DrawRow(field.row);
            return;
        }
        l.*t.member = std::move(value);
        return lineChanged();
    }
    if (const FigureField* f = figureOf(field.name)) {
        if (displayOnly(q.header, f->figure)) return DrawRow(field.row);
        std::optional<Currency> value = text.empty() ? Currency() : Currency::Parse(text);
        if (value) value = Currency::Parse(value->format(StorageFormat(decimalsOf(m_s.context.company, f->figure))));
        if (!value) {
            m_s.Notice(kNotANumber);
            DrawRow(field.row);
            return;
        }
        const PricingOutcome outcome = pricing.EnterFigure(q.header, q.linesInUse(), i, f->figure, *value);
        if (outcome == PricingOutcome::Unchanged) return DrawRow(field.row);
        m_s.Notice(outcome == PricingOutcome::OutOfRange ? kOutOfRange : "");
        return lineChanged();
    }
}

void GridRows::RereadProduct(int line) {
    if (line < 0 || line > m_s.LastLine()) return;
    const std::string code = TrimBlanks(m_s.quotation.lines[static_cast<std::size_t>(line)].商品コード);
    m_s.Notice("");
    if (code.empty()) return RedrawRows();
    readProduct(line, code);
}

void GridRows::RereadSupplier(int line) {
    if (line < 0 || line > m_s.LastLine()) return;
    const QuotationLine& l = m_s.quotation.lines[static_cast<std::size_t>(line)];
    const std::string code = FormatCode(TrimBlanks(l.仕入先コード), "000000");
    m_s.Notice("");
    if (code.empty()) return RedrawRows();
    // A counterparty carries no tax settings: nothing to price.
    readSupplier(line, code, l.仕入先対応先区分 == 0);
}

void GridRows::Edited(const Control& field, const std::string& text) {
    const EntryField* f = FindEntryField(field.name);
    if (f && f->kind == EntryFieldKind::Text && f->maxBytes > 0) m_s.Notice(OverflowNotice(text, f->maxBytes));
}

void GridRows::CheckToggled(const Control& box, bool checked) {
    const int line = lineOf(box);
    Quotation& q = m_s.quotation;
    if (line < 0 || line > q.LastLine) return DrawRow(box.row);
    QuotationLine& l = q.lines[static_cast<size_t>(line)];
    if (box.name == "chb_複写区分") {
        m_s.state.LineMark[static_cast<size_t>(line)] = checked ? 1 : 0;
        return;
    }
    if (box.name == "chb_計区分") {
        if (m_s.pricing().EnterCountFlag(q.header, q.linesInUse(), static_cast<size_t>(line), checked ? 1 : 0) !=
            PricingOutcome::Unchanged)
            lineChanged();
        return;
    }
    if (box.name == "chb_仕入先対応先") {
        const std::int16_t value = checked ? 1 : 0;
        if (l.仕入先対応先区分 == value) return;
        l.仕入先対応先区分 = value;
        lineChanged();
    }
}

void GridRows::ListChosen(const Control& list, int index) {
    if (list.name != "行区分名称") return;
    if (lineOf(list) > m_s.LastLine()) return DrawRow(list.row);
    storeLineKind(list.row, std::to_string(index));
}

bool GridRows::OpenLookup(const Control& field, bool byButton) {
    if (!m_s.lookups || lineOf(field) > m_s.LastLine()) return false;
    const std::string typed = m_s.view ? TrimBlanks(m_s.view->Text(field)) : std::string();
    if (field.name == "商品コード") {
        std::string condition = std::string("M商品.品区分 < '9'") + " AND M商品.得意先コード = '" +
                                QuoteSql(FormatCode(m_s.quotation.header.得意先コード, "000000")) + "'";
        if (!typed.empty()) condition += " AND M商品.コード >= '" + QuoteSql(typed) + "'";
        OpenLookupWindow(m_s, LookupWindowId::商品一覧, condition, field, {"商品名", field.row});
        return true;
    }
    if (field.name == "商品名") {
        // The list of stored lines starts from the name typed so far; its
        // choice comes back as the stored line's key (PickedKey).
        if (byButton)
            OpenLookupWindow(m_s, LookupWindowId::営業見積品名一覧, typed, field, {"商品コード", field.row});
        else
            OpenLookupWindow(m_s, LookupWindowId::見積商品名一覧, "", field, {"見積数量", field.row});
        return true;
    }
    if (field.name == "仕入先コード") {
        const bool counterparty = m_s.quotation.lines[static_cast<size_t>(lineOf(field))].仕入先対応先区分 != 0;
        const std::string code = FormatCode(typed, "000000");
        std::string condition;
        if (!code.empty()) condition = std::string(counterparty ? "M対応先" : "M仕入先") + ".コード >= '" + QuoteSql(code) + "'";
        OpenLookupWindow(m_s, counterparty ? LookupWindowId::対応先一覧 : LookupWindowId::仕入先一覧, condition, field,
                         {"仕入数量", field.row});
        return true;
    }
    if (field.name == "仕入先名称A") {
        OpenLookupWindow(m_s, LookupWindowId::見積仕入先名一覧, "", field, {"仕入数量", field.row});
        return true;
    }
    return false;
}

}  // namespace velmora
