#include "screens/entry/header_entry.h"

#include <array>

#include "app/command_line.h"
#include "app/environment.h"
#include "app/program.h"
#include "data/clock.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "platform/files.h"
#include "pricing/pricing_changes.h"
#include "quotation/load.h"
#include "quotation/master_reads.h"
#include "quotation/quotation_date.h"
#include "quotation/save_status.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/document_commands.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/lookup_opening.h"
#include "text/byte_limit.h"
#include "text/code_pattern.h"
#include "text/control_chars.h"
#include "text/date_fix.h"
#include "text/serial_numbering.h"
#include "text/utf8.h"

namespace velmora {

namespace {

constexpr const char* kNotFound = "該当情報がありません。";
constexpr const char* kBadNumber = "数値を入力してください。";
constexpr const char* kBadDate = "日付を正しく入力してください。";
constexpr const Colour kCounterpartyCaption = Colour::Rgb(192, 64, 0);

using TextMember = std::string QuotationHeader::*;

// Every header, tail and memo field that holds text, with its member.
const std::map<std::string, TextMember>& TextMembers() {
    static const std::map<std::string, TextMember> members = {
        {"営業見積日付年", &QuotationHeader::営業見積日付年},
        {"営業見積日付月", &QuotationHeader::営業見積日付月},
        {"営業見積日付日", &QuotationHeader::営業見積日付日},
        {"営業見積No", &QuotationHeader::営業見積No},
        {"参照営業見積No", &QuotationHeader::参照営業見積No},
        {"参照営業引合No", &QuotationHeader::参照営業引合No},
        {"得意先コード", &QuotationHeader::得意先コード},
        {"得意先名称A", &QuotationHeader::得意先名称A},
        {"得意先名称B", &QuotationHeader::得意先名称B},
        {"得意先御担当者コード", &QuotationHeader::得意先御担当者コード},
        {"御担当者名", &QuotationHeader::御担当者名},
        {"担当者コード", &QuotationHeader::担当者コード},
        {"担当者名", &QuotationHeader::担当者名},
        {"部門コード", &QuotationHeader::部門コード},
        {"部門名", &QuotationHeader::部門名},
        {"セクションコード", &QuotationHeader::セクションコード},
        {"セクション名", &QuotationHeader::セクション名},
        {"納品先コード", &QuotationHeader::納品先コード},
        {"納品先名称A", &QuotationHeader::納品先名称A},
        {"納品先名称B", &QuotationHeader::納品先名称B},
        {"タイトル", &QuotationHeader::タイトル},
        {"見積条件", &QuotationHeader::見積条件},
        {"見積納期", &QuotationHeader::見積納期},
        {"見積期限", &QuotationHeader::見積期限},
        {"見積伝票備考A", &QuotationHeader::見積伝票備考A},
        {"見積伝票備考B", &QuotationHeader::見積伝票備考B},
        {"営業見積メモ", &QuotationHeader::営業見積メモ},
        {"見積納期日付年", &QuotationHeader::見積納期日付年},
        {"見積納期日付月", &QuotationHeader::見積納期日付月},
        {"見積納期日付日", &QuotationHeader::見積納期日付日},
    };
    return members;
}

std::int16_t* SettingMember(QuotationHeader& h, const std::string& field) {
    if (field == "得意先消費税算出区分") return &h.得意先消費税算出区分;
    if (field == "得意先消費税区分") return &h.得意先消費税区分;
    if (field == "消費税表示区分") return &h.消費税表示区分;
    if (field == "合計表示区分") return &h.合計表示区分;
    return nullptr;
}

// "令和 08 年 12 月 20 日": the era date cut into its pieces, one blank between.
std::string SpacedEraDate(const std::string& era) {
    static constexpr std::array<std::size_t, 7> pieces = {2, 2, 1, 2, 1, 2, 1};
    std::string result;
    std::size_t at = 0;
    for (std::size_t n : pieces) {
        std::string_view piece = MidChars(era, at, n);
        if (piece.empty()) break;
        if (!result.empty()) result += ' ';
        result += piece;
        at += n;
    }
    return result;
}

}  // namespace

// ---- lists and drawing ------------------------------------------------------

void HeaderEntry::FillLists() {
    for (const SettingList& setting : SettingLists()) {
        std::vector<std::string> names;
        std::string sql = "SELECT * FROM " + setting.table;
        if (!setting.where.empty()) sql += " WHERE " + setting.where;
        sql += " ORDER BY 区分";
        std::unique_ptr<Recordset> rs;
        if (m_s.program.access().OpenDataRecordset(rs, sql)) {
            for (; !rs->eof(); rs->moveNext()) names.push_back(rs->text("名称"));
            rs->close();
        }
        m_listSizes[setting.code] = static_cast<int>(names.size());
        if (m_s.view) m_s.view->SetListItems(setting.list, names);
    }
}

void HeaderEntry::drawSettings() {
    QuotationHeader& h = m_s.header();
    for (const SettingList& setting : SettingLists()) {
        const std::int16_t value = *SettingMember(h, setting.code);
        m_s.view->SetText({setting.code}, std::to_string(value));
        m_s.view->SetListIndex({setting.list}, value);
    }
}

void HeaderEntry::Redraw() {
    EntryView* v = m_s.view;
    if (!v) return;
    RedrawGuard guard(m_s.state);
    QuotationHeader& h = m_s.header();
    for (const auto& [name, member] : TextMembers()) v->SetText({name}, h.*member);
    v->SetText({"定価掛率"}, h.定価掛率.format("##0.00"));
    drawSettings();
    v->SetChecked({"chb_得意先対応先"}, h.得意先対応先区分 != 0);
    v->SetChecked({"chb_納品先対応先"}, h.納品先対応先区分 != 0);
    v->SetChecked({"chb_Kasmeri"}, m_s.state.Envelope);
    v->SetTextColour({"btn_得意先コード"}, h.得意先対応先区分 != 0 ? kCounterpartyCaption : Colour::Default());
    v->SetTextColour({"btn_納品先コード"}, h.納品先対応先区分 != 0 ? kCounterpartyCaption : Colour::Default());
    m_s.focus->SetTabStop({"得意先名称A"}, h.得意先名称入力区分 != 0);
    m_s.focus->SetTabStop({"得意先名称B"}, h.得意先名称入力区分 != 0);
    m_s.focus->SetTabStop({"納品先名称A"}, h.納品先名称入力区分 != 0);
    m_s.focus->SetTabStop({"納品先名称B"}, h.納品先名称入力区分 != 0);
    const std::string& reports = m_s.program.session().layout.ReportFolder;
    m_s.focus->SetEnabled({"btn_帳票イメージ出力"}, FileExists(reports + "/repfrmdb.accdb"));
    v->SetCaption({"btn_連番タイプ"}, std::string(NumberingStyleCaption(m_s.state.NumberingStyle)));
}

std::string HeaderEntry::FieldText(const std::string& field) const {
    auto it = TextMembers().find(field);
    if (it == TextMembers().end()) return {};
    return m_s.quotation.header.*(it->second);
}

void HeaderEntry::afterChange(bool linesTouched) {
    Redraw();
    if (linesTouched || m_s.LastLine() >= 0) m_s.RedrawLines();
}

// ---- field exits ------------------------------------------------------------

void HeaderEntry::Leave(const std::string& field, const std::string& text) {
    const EntryField* f = FindEntryField(field);
    if (!f) return;
    if (field.rfind("営業見積日付", 0) == 0) return leaveDate(field, text);
    if (field.rfind("見積納期日付", 0) == 0) return leaveTaxDate(field, text);
    if (field == "営業見積No" || field == "参照営業見積No" || field == "参照営業引合No") return leaveNumber(field, text);
    switch (f->kind) {
        case EntryFieldKind::Code:
            return leaveCode(*f, text);
        case EntryFieldKind::SettingCode:
            return leaveSetting(field, text);
        case EntryFieldKind::Rate:
            return leaveRate(text);
        case EntryFieldKind::Text:
        case EntryFieldKind::Memo: {
            auto it = TextMembers().find(field);
            if (it == TextMembers().end()) return;
            std::string& value = m_s.header().*(it->second);
            // The widget takes any length (the notice reports the overflow while
            // typing); what is kept fits the field's byte limit, as on the grid.
            std::string clean = StripControlCharacters(
                text, f->kind == EntryFieldKind::Memo ? LineBreaks::Keep : LineBreaks::Remove);
            if (f->maxBytes > 0) {
                std::string fitting = FitToBytes(clean, f->maxBytes);
                // The overflow reported while typing is gone once the text is cut to fit.
                if (fitting != clean) m_s.Notice("");
                clean = std::move(fitting);
            }
            if (clean != text && m_s.view) {
                RedrawGuard guard(m_s.state);
                m_s.view->SetText({field}, clean);
            }
            if (value == clean) return;
            value = std::move(clean);
            m_s.state.Changed = true;
            return;
        }
        default:
            return;
    }
}

void HeaderEntry::Edited(const std::string& field, const std::string& text) {
    const EntryField* f = FindEntryField(field);
    if (f && f->kind == EntryFieldKind::Text && f->maxBytes > 0) m_s.Notice(OverflowNotice(text, f->maxBytes));
}

std::optional<std::string> HeaderEntry::typedDate(const std::string& field, const std::string& text,
                                                  const char* stem) {
    QuotationHeader& h = m_s.header();
    const auto& members = TextMembers();
    const std::string parts[] = {"年", "月", "日"};
    std::string values[3];
    for (int i = 0; i < 3; ++i) {
        const std::string name = stem + parts[i];
        values[i] = name == field ? text : h.*(members.at(name));
    }
    if (h.*(members.at(field)) == text) return std::nullopt;
    const std::optional<std::string> date = DateFromParts(values[0], values[1], values[2]);
    if (!date) {
        m_s.Notice(kBadDate);
        Redraw();
    }
    return date;
}

void HeaderEntry::leaveDate(const std::string& field, const std::string& text) {
    QuotationHeader& h = m_s.header();
    const std::optional<std::string> date = typedDate(field, text, "営業見積日付");
    if (!date) return;
    const bool wasChanged = m_s.state.Changed;
    m_s.state.Changed = true;
    m_s.Notice("");
    if (!ChangeQuotationDate(*m_s.scope, *date)) {
        // The date returned to the stored one: what was pending before stays pending.
        m_s.state.Changed = wasChanged;
        m_s.Notice(m_s.quotation.LoadNotice);
        m_s.quotation.LoadNotice.clear();
        return Redraw();
    }
    if (m_s.state.NewEntry || h.見積期限.empty()) refillValidity();
    h.見積納期日付 = *date;
    SplitDate(*date, h.見積納期日付年, h.見積納期日付月, h.見積納期日付日);
    if (m_s.LastLine() >= 0) m_s.pricing().TaxBasisChanged(h, m_s.quotation.linesInUse());
    afterChange(true);
}

void HeaderEntry::refillValidity() {
    QuotationHeader& h = m_s.header();
    CalendarDate date;
    if (!CalendarDate::Parse(h.営業見積日付, date)) return;
    const std::string era = EraDate(m_s.program.access(), RollOver(date.year, date.month, date.day + 14).Text());
    if (!era.empty()) h.見積期限 = SpacedEraDate(era);
}

void HeaderEntry::leaveTaxDate(const std::string& field, const std::string& text) {
    QuotationHeader& h = m_s.header();
    const std::optional<std::string> date = typedDate(field, text, "見積納期日付");
    if (!date) return;
    m_s.state.Changed = true;
    m_s.Notice("");
    h.見積納期日付 = *date;
    SplitDate(*date, h.見積納期日付年, h.見積納期日付月, h.見積納期日付日);
    m_s.pricing().TaxBasisChanged(h, m_s.quotation.linesInUse());
    afterChange(true);
}

void HeaderEntry::leaveNumber(const std::string& field, const std::string& text) {
    Quotation& q = m_s.quotation;
    const std::string number = FormatCode(TrimBlanks(text), "00000000");
    QuotationLoader loader(*m_s.scope);
    q.LoadNotice.clear();
    // The database did not answer: nothing was read, the number typed is put
    // back and the user is told, never "not found".
    auto unanswered = [&] {
        if (loader.fault() == DbFault::None) return;
        const std::string message = DatabaseFaultMessage(loader.fault(), "表示");
        if (m_s.view) m_s.view->ShowMessage(message);
        m_s.Notice(message);
        Redraw();
    };
    if (field == "営業見積No") {
        if (!loader.OpenByTypedNumber(number, m_s.state.PickedKey)) {
            unanswered();
            return;
        }
        if (q.LoadNotice == kNoticeNumberKept) {
            // Nothing changed: the stored number is shown again.
            m_s.Notice(q.LoadNotice);
            q.LoadNotice.clear();
            return Redraw();
        }
        const bool opened = !number.empty() && q.LoadNotice.empty() && q.loaded() && q.header.営業見積No == number;
        if (opened) {
            m_s.commands->ShowLoaded();
        } else {
            m_s.state.Changed = true;
            m_s.Notice(q.LoadNotice);
            afterChange(false);
        }
        return;
    }
    const bool read = field == "参照営業見積No" ? loader.CopyReference(number, m_s.state.PickedKey)
                                               : loader.StartFromInquiry(number, m_s.state.PickedKey);
    if (!read) {
        unanswered();
        return;
    }
    m_s.state.Changed = true;
    m_s.Notice(q.LoadNotice);
    m_s.focus->ScrollBarSetUp();
    afterChange(true);
}

void HeaderEntry::leaveCode(const EntryField& field, const std::string& text) {
    auto it = TextMembers().find(field.name);
    if (it == TextMembers().end()) return;
    QuotationHeader& h = m_s.header();
    std::string& member = h.*(it->second);
    const std::string code = FormatCode(TrimBlanks(text), field.pattern);
    if (code == member) return;
    m_s.state.Changed = true;
    m_s.Notice("");
    if (code.empty()) {
        member.clear();
        return Redraw();
    }
    bool reprice = false;
    if (!readMaster(field.name, code, reprice)) m_s.Notice(kNotFound);
    if (reprice && m_s.LastLine() >= 0) m_s.pricing().TaxBasisChanged(h, m_s.quotation.linesInUse());
    afterChange(reprice);
}

bool HeaderEntry::readMaster(const std::string& field, const std::string& code, bool& repriceLines) {
    DataAccess& access = m_s.program.access();
    QuotationHeader& h = m_s.header();
    repriceLines = false;
    if (field == "得意先コード") {
        const bool counterparty = h.得意先対応先区分 != 0;
        const bool found = ReadCustomer(access, h, code, counterparty).found;
        repriceLines = found && !counterparty;
        return found;
    }
    if (field == "得意先御担当者コード") return ReadContact(access, h, code, h.得意先対応先区分 != 0).found;
    if (field == "担当者コード") return ReadStaffMember(access, h, code, m_s.program.session().運用事業所コード).found;
    if (field == "部門コード") return ReadDepartment(access, h, code).found;
    if (field == "セクションコード") return ReadSection(access, h, code).found;
    if (field == "納品先コード") return ReadDelivery(access, h, code, h.納品先対応先区分 != 0).found;
    return false;
}

void HeaderEntry::leaveSetting(const std::string& field, const std::string& text) {
    std::int16_t* member = SettingMember(m_s.header(), field);
    if (!member) return;
    const std::string t = TrimBlanks(text);
    const int size = m_listSizes.count(field) ? m_listSizes.at(field) : 0;
    if (t.size() != 1 || t[0] < '0' || t[0] > '9' || (size > 0 && t[0] - '0' >= size)) {
        m_s.Notice(kNotFound);
        return Redraw();
    }
    const auto value = static_cast<std::int16_t>(t[0] - '0');
    if (*member == value) return;
    *member = value;
    m_s.state.Changed = true;
    m_s.Notice("");
    m_s.pricing().TaxBasisChanged(m_s.header(), m_s.quotation.linesInUse());
    afterChange(true);
}

void HeaderEntry::leaveRate(const std::string& text) {
    std::string t = TrimBlanks(text);
    if (!t.empty() && t.back() == '%') t.pop_back();
    std::optional<Currency> rate = t.empty() ? Currency() : Currency::Parse(t);
    if (rate) rate = Currency::Parse(rate->format("##0.00"));
    if (!rate || rate->isNegative() || *rate > Units(999)) {
        m_s.Notice(kBadNumber);
        return Redraw();
    }
    QuotationHeader& h = m_s.header();
    if (*rate == h.定価掛率) return;
    m_s.state.Changed = true;
    m_s.Notice("");
    m_s.pricing().EnterListPriceRate(h, m_s.quotation.linesInUse(), *rate);
    afterChange(true);
}

void HeaderEntry::CheckToggled(const std::string& box, bool checked) {
    QuotationHeader& h = m_s.header();
    const std::int16_t value = checked ? 1 : 0;
    std::int16_t* member = box == "chb_得意先対応先"   ? &h.得意先対応先区分
                           : box == "chb_納品先対応先" ? &h.納品先対応先区分
                                                       : nullptr;
    if (box == "chb_Kasmeri") {
        m_s.state.Envelope = checked;
        return;
    }
    if (!member || *member == value) return;
    *member = value;
    m_s.state.Changed = true;
    Redraw();
}

void HeaderEntry::ListChosen(const std::string& list, int index) {
    for (const SettingList& setting : SettingLists())
        if (setting.list == list) return leaveSetting(setting.code, std::to_string(index));
}

// ---- lookups ----------------------------------------------------------------

bool HeaderEntry::OpenLookup(const std::string& field) {
    const EntryField* f = FindEntryField(field);
    if (!f || !f->lookup || !m_s.lookups) return false;
    QuotationHeader& h = m_s.header();
    const std::string typed = m_s.view ? TrimBlanks(m_s.view->Text({field})) : std::string();
    const std::string code = f->pattern.empty() ? typed : FormatCode(typed, f->pattern);
    const auto quoted = [](const std::string& text) { return "'" + QuoteSql(text) + "'"; };
    std::string condition;
    LookupWindowId id = *f->lookup;
    std::string yearBack;
    if (CalendarDate d; CalendarDate::Parse(h.営業見積日付, d)) yearBack = AddMonths(d, -12).Text();

    if (field == "営業見積No" || field == "参照営業見積No") {
        condition = std::string("T営業見積.番号基準日付 <> ''") + " AND T営業見積.営業見積日付 >= " + quoted(yearBack);
        if (!h.得意先コード.empty())
            condition += " AND T営業見積.得意先対応先区分 = '" + std::to_string(h.得意先対応先区分) +
                         "' AND T営業見積.得意先コード = " + quoted(h.得意先コード);
        if (!h.納品先コード.empty())
            condition += " AND T営業見積.納品先対応先区分 = '" + std::to_string(h.納品先対応先区分) +
                         "' AND T営業見積.納品先コード = " + quoted(h.納品先コード);
    } else if (field == "参照営業引合No") {
        condition = std::string("T営業引合.番号基準日付 <> ''") + " AND T営業引合.営業引合日付 >= " + quoted(yearBack);
        if (!h.担当者コード.empty()) condition += " AND T営業引合.担当者コード = " + quoted(h.担当者コード);
        if (!h.得意先コード.empty())
            condition += " AND T営業引合.得意先対応先区分 = '" + std::to_string(h.得意先対応先区分) +
                         "' AND T営業引合.得意先コード = " + quoted(h.得意先コード);
    } else if (field == "得意先コード") {
        const bool counterparty = h.得意先対応先区分 != 0;
        if (counterparty) id = *f->altLookup;
        if (!code.empty()) condition = std::string(counterparty ? "M対応先" : "M得意先") + ".コード >= " + quoted(code);
    } else if (field == "得意先御担当者コード") {
        if (h.得意先対応先区分 != 0) {
            id = *f->altLookup;
            condition = "M対応先御担当者.対応先コード = " + quoted(h.得意先コード);
        } else {
            condition = "M得意先御担当者.得意先コード = " + quoted(h.得意先コード);
        }
    } else if (field == "担当者コード") {
        condition = "M担当者.在籍区分 = '0'";
    } else if (field == "納品先コード") {
        if (h.納品先対応先区分 != 0) {
            id = *f->altLookup;
            if (!code.empty()) condition = " M対応先.コード >= " + quoted(code);
        } else {
            condition = "M納品先.在庫場所区分 <> '1'";
            if (!code.empty()) condition += " AND M納品先.コード >= " + quoted(code);
            if (!h.得意先コード.empty())
                condition += " AND (M納品先.得意先コード = " + quoted(h.得意先コード) + " OR M納品先.得意先コード = '')";
        }
    }
    OpenLookupWindow(m_s, id, condition, {field}, {f->nextFocus});
    return true;
}

// ---- presets and reads after registration ----------------------------------

void HeaderEntry::ApplyPresets(const CommandLine& command) {
    Quotation& q = m_s.quotation;
    QuotationHeader& h = q.header;
    DataAccess& access = m_s.program.access();
    QuotationLoader loader(*m_s.scope);
    const auto keyOf = [](const CommandKey& key) { return "C" + key.officeCode + key.baseDate + key.number; };

    if (command.reference.Given()) {
        std::string picked = keyOf(command.reference);
        loader.CopyReference(command.reference.number, picked);
        if (q.LoadNotice == kNoticeNotFound) {
            q.LoadNotice.clear();
            return;
        }
        m_s.state.Changed = true;
        return;
    }
    if (command.inquiry.Given()) {
        std::string picked = keyOf(command.inquiry);
        loader.StartFromInquiry(command.inquiry.number, picked);
        if (q.LoadNotice == kNoticeNotFound) {
            q.LoadNotice.clear();
            h.参照営業引合No.clear();
            return;
        }
        if (!h.担当者コード.empty() &&
            !ReadStaffMember(access, h, h.担当者コード, m_s.program.session().運用事業所コード).found)
            h.担当者コード.clear();
        m_s.scope->RecomputeTotals();
        m_s.state.Changed = true;
        return;
    }
    const std::string office = m_s.program.session().運用事業所コード;
    const std::string staff = FormatCode(TrimBlanks(command.staffCode), "00000");
    bool staffFound = false;
    if (!staff.empty()) {
        staffFound = ReadStaffMember(access, h, staff, office).found;
        if (staffFound)
            m_s.state.Changed = true;
        else
            h.担当者コード.clear();
    }
    const bool customerMode = command.partnerKind == "1";
    h.得意先対応先区分 = customerMode ? 0 : 1;
    std::string partner = FormatCode(TrimBlanks(command.partnerCode), "000000");
    std::string contact = FormatCode(TrimBlanks(command.contactCode), "00000");
    if (!customerMode && command.partnerKind != "5") partner.clear(), contact.clear();
    if (!TrimBlanks(command.contactName).empty()) {
        h.御担当者名 = FitToBytes(TrimBlanks(command.contactName), kContactNameBytes);
        m_s.state.Changed = true;
    }
    if (!partner.empty() && ReadCustomer(access, h, partner, !customerMode).found) {
        m_s.state.Changed = true;
        if (!contact.empty() && !ReadContact(access, h, contact, !customerMode).found) h.得意先御担当者コード.clear();
        // The staff member the starter named stays in charge, not the customer's own.
        if (staffFound) ReadStaffMember(access, h, staff, office);
    }
}

bool HeaderEntry::RereadCustomer(bool afterRegistration) {
    QuotationHeader& h = m_s.header();
    const std::string code = FormatCode(TrimBlanks(h.得意先コード), "000000");
    if (code.empty()) return false;
    const bool counterparty = h.得意先対応先区分 != 0;
    // The registration may have changed any column: read as if the code were new.
    h.得意先コード.clear();
    if (!ReadCustomer(m_s.program.access(), h, code, counterparty).found) {
        Redraw();
        return false;
    }
    m_s.state.Changed = true;
    if (afterRegistration && !counterparty && m_s.LastLine() >= 0)
        m_s.pricing().CustomerReread(h, m_s.quotation.linesInUse());
    afterChange(!counterparty);
    return true;
}

bool HeaderEntry::RereadContact() {
    QuotationHeader& h = m_s.header();
    const std::string code = FormatCode(TrimBlanks(h.得意先御担当者コード), "00000");
    if (code.empty()) return false;
    h.得意先御担当者コード.clear();
    const bool found = ReadContact(m_s.program.access(), h, code, h.得意先対応先区分 != 0).found;
    if (found) m_s.state.Changed = true;
    Redraw();
    return found;
}

bool HeaderEntry::RereadDelivery() {
    QuotationHeader& h = m_s.header();
    const std::string code = FormatCode(TrimBlanks(h.納品先コード), "000000");
    if (code.empty()) return false;
    h.納品先コード.clear();
    const bool found = ReadDelivery(m_s.program.access(), h, code, h.納品先対応先区分 != 0).found;
    if (found) m_s.state.Changed = true;
    Redraw();
    return found;
}

}  // namespace velmora
