#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The twenty-four lookup windows.
enum class LookupWindowId {
    得意先一覧,
    対応先一覧,
    納品先一覧,
    仕入先一覧,
    メーカ一覧,
    担当者一覧,
    部門一覧,
    セクション一覧,
    商品分類一覧,
    商品一覧,
    得意先御担当者一覧,
    対応先御担当者一覧,
    営業見積No一覧,
    営業引合No一覧,
    営業見積品名一覧,
    営業見積タイトル一覧,
    営業見積条件一覧,
    営業見積納期一覧,
    見積得意先名一覧,
    見積納品先名一覧,
    引合得意先名一覧,
    引合商品名一覧,
    見積仕入先名一覧,
    見積商品名一覧,
};
inline constexpr int kLookupWindowCount = 24;

enum class LookupFamily { NameAddress, Staff, CodeName, Product, Contact, QuotationNumber, InquiryNumber, ItemName, History };

// How a field's stored value is taken from its text when the field is left.
enum class FieldKind {
    Code,       // FormatCode with the field's pattern (empty pattern: as typed)
    Text,       // as typed
    Date,       // yyyymmdd, as typed
    Telephone,  // as typed, only when it holds a digit
    Postcode,   // NormalizePostcode, only when it holds a digit
};

// How a field becomes a condition; the negated form is used by the negative search.
enum class ConditionForm {
    Onward,             // col >= 'x'                     col < 'x'
    Exact,              // col = 'x'                      col <> 'x'
    ExactOrUnassigned,  // (col = 'x' OR col = '')        (col <> 'x' AND col <> '')
    Like,               // col LIKE '%X%', several columns ORed in parentheses
    Telephone,          // digits against the master and its contacts
    Words,              // one or two words against one or two columns (see secondField)
    CodeAndBox,         // document windows: customer code with the customer/counterparty switch
};

enum class FieldRole {
    Search,  // has its own search button and takes part in the compound search
    Filter,  // the staff filter of the name-and-address windows: always applied
    Part,    // the second word field, searched through the first one
};

struct FieldDescription {
    std::string name;  // control name, key of the stored value
    FieldKind kind = FieldKind::Text;
    std::string pattern;  // FormatCode pattern of code fields
    FieldRole role = FieldRole::Search;
    int maxLength = 0;  // characters; 0 for no limit
    std::string label;  // caption shown before the field
    bool onward = false;  // "以降" beside the field
    // Kana as stored: what an input method types is committed as half-width katakana.
    bool halfWidthKana = false;

    std::string button;   // btn_… of its own search; empty for filter fields
    std::string caption;  // the button's caption
    std::string altCaption;  // caption while the switch box is ticked

    ConditionForm form = ConditionForm::Like;
    std::vector<std::string> columns;
    std::string orderBy;  // sort of its own search, the text after " ORDER BY "

    // Words: the second word field and the narrowing box (two words ANDed).
    std::string secondField;
    std::string narrowBox;
    // CodeAndBox: the switch box, its column in the positive and in the
    // negative form, and whether the compound search tests it.
    std::string box;
    std::string boxColumn;
    std::string negativeBoxColumn;
    bool boxInCompound = true;
    // Telephone: the contact table and its key column.
    std::string contactTable;
    std::string contactKey;

    // Name shown beside a code: field and statement ("… WHERE コード = '").
    std::string nameField;
    std::string nameSql;
    std::string altNameSql;  // while the switch box is ticked

    // The window a double-click or Ctrl in the field opens, and the focus after it.
    std::optional<LookupWindowId> opens;
    std::optional<LookupWindowId> altOpens;  // while the switch box is ticked
    std::string opensNextFocus;
    std::string opensButton;  // a button that opens it too (btn_担当者コード)
    std::string opensCaption;
};

struct CheckBoxDescription {
    std::string name;  // chb_…
    std::string caption;
};

// A status filter: a code 0..N and the names of its K table, N meaning "全て".
struct FilterDescription {
    std::string name;     // 取引状況区分
    std::string caption;  // 取引状況
    std::string kTable;   // K取引状況区分
    std::string column;   // M得意先.取引状況区分
    int defaultValue = 0;  // kAll for "全て"
    // Negative search with the filter on "全て": col >= 'N' (name-and-address)
    // or nothing.
    bool negativeAllAtOrAbove = false;
};
inline constexpr int kAll = -1;

// A comparison taken out of the opener's condition at the first opening.
struct Extraction {
    enum class Into { Field, Filter, Box };
    std::string column;
    Into into = Into::Field;
    std::string target;  // field, filter or box name
    std::string onlyWhen;  // taken only when the condition holds this text
};

enum class OfficeRule {
    None,
    CurrentOffice,       // column = current office, unless "000"
    OperatingOrHead,     // (column = operating OR column = '000'), unless operating is "000"
};

enum class CellFormat {
    Plain,
    Amount,          // "#,###,###,##0"
    PaddedAmount,    // the same, padded on the left to 13 characters
    SellingPrice,    // display format of the selling unit-price decimals
    PurchasePrice,   // display format of the purchase unit-price decimals
};

// What a column's widest common value is made of, for a list that shows it
// whole: digits and signs, Latin letters, half-width kana or full-width text.
enum class CellText { Digits, Letters, HalfWidthKana, FullWidth };

// The widest common value of a column: so many bytes (Shift-JIS, two for a
// full-width character) of one kind of text.
struct CellWidth {
    CellText text = CellText::Digits;
    int bytes = 0;
};
inline CellWidth Digits(int bytes) { return {CellText::Digits, bytes}; }
inline CellWidth Letters(int bytes) { return {CellText::Letters, bytes}; }
inline CellWidth HalfWidthKana(int bytes) { return {CellText::HalfWidthKana, bytes}; }
inline CellWidth FullWidth(int bytes) { return {CellText::FullWidth, bytes}; }

struct ColumnDescription {
    std::string header;
    int widthTwips = 1000;  // the stored width; a column is never narrower
    std::string source;     // result column
    CellWidth widest;       // the value the column must show whole
    CellFormat format = CellFormat::Plain;
    bool rightAligned = false;
};

// What a choice hands back besides the row's text.
enum class ChoiceCondition {
    Clear,      // master and contact windows: LookupCondition emptied
    RowKey,     // document, item-name and header-text windows: the row's key
    Unchanged,  // name-history windows
};

// The history windows: distinct texts of one column within a period.
struct HistoryDescription {
    std::string column;      // the listed column
    std::string table;
    std::string dateColumn;
    std::vector<std::string> textColumns;
    std::string nonEmptyTest;  // the text after " AND "
    std::string orderBy;
};

struct PeriodOption {
    std::string caption;
    int months = 0;  // how far back from today; 0 for no range
};

struct WindowDescription {
    LookupWindowId id{};
    std::string objectName;  // wnd…
    std::string title;       // wnd_ttl caption
    LookupFamily family{};
    bool master = false;     // hidden between openings, keeps its state

    // Base query: select list, the JOIN form for kinds "A" and "S", the comma
    // form for "O" and whether that form already holds a WHERE clause.
    std::string select;
    std::string fromJoin;
    std::string fromComma;
    bool commaWhereStarted = false;

    bool appendsCondition = true;
    OfficeRule office = OfficeRule::None;
    std::string officeColumn;
    bool officeFirst = false;  // the number windows restrict the office before the opener's condition

    std::vector<FieldDescription> fields;     // in tab order
    std::vector<std::string> compoundOrder;   // search fields, in the order the compound search joins them
    std::vector<CheckBoxDescription> boxes;
    std::vector<FilterDescription> filters;
    std::string negativeCaption;  // "否検索", "否定検索" or empty when there is none
    bool hasClear = true;         // "条件ｸﾘｱ"
    std::string defaultOrder;     // compound and negative sort
    // ORDER BY prefix of the delivery and counterparty windows: the table whose
    // 得意先コード or 仕入先コード goes first when the condition names it.
    std::string sortPrefixTable;
    std::string trailingCondition;  // always last before the sort

    std::vector<Extraction> extractions;
    std::string staffPrefill;     // field copied from the opener's 担当者コード
    std::string customerPrefill;  // field copied from the opener's 得意先コード
    std::string conditionInto;    // field that takes the whole condition, which is then emptied

    std::string listName;  // List…
    std::vector<ColumnDescription> columns;
    std::vector<std::string> keyColumns;  // RowKey = "C" + these
    ChoiceCondition choice = ChoiceCondition::Clear;
    bool buttonsAfterSearch = false;  // document windows re-enable their buttons after a search

    std::optional<HistoryDescription> history;

    const FieldDescription* field(const std::string& name) const;
    const FilterDescription* filter(const std::string& name) const;
    // The field a search button belongs to.
    const FieldDescription* fieldOfButton(const std::string& button) const;
};

// The history windows' period choice.
const std::vector<PeriodOption>& HistoryPeriods();

// The one description of each window.
const WindowDescription& DescribeWindow(LookupWindowId id);
const std::vector<LookupWindowId>& AllLookupWindows();
// The window whose title is this text, for tools; nothing when unknown.
std::optional<LookupWindowId> LookupWindowByTitle(const std::string& title);

}  // namespace velmora
