#include "screens/lookup/window_catalog.h"

namespace velmora::lookup_catalog {

namespace {

FieldDescription Field(std::string name, FieldKind kind, std::string button, std::string caption,
                       ConditionForm form, std::vector<std::string> columns, std::string orderBy = "") {
    FieldDescription f;
    f.name = std::move(name);
    f.label = f.name;
    f.kind = kind;
    f.button = std::move(button);
    f.caption = std::move(caption);
    f.form = form;
    f.columns = std::move(columns);
    f.orderBy = std::move(orderBy);
    f.onward = form == ConditionForm::Onward;
    if (kind == FieldKind::Date) f.maxLength = 8;
    return f;
}

FieldDescription NumberField(std::string name, std::string button, std::string caption, std::string column,
                             std::string orderBy) {
    FieldDescription f = Field(std::move(name), FieldKind::Code, std::move(button), std::move(caption),
                               ConditionForm::Onward, {std::move(column)}, std::move(orderBy));
    f.pattern = "00000000";
    f.maxLength = 8;
    return f;
}

// The customer code with the customer/counterparty switch of the number windows.
FieldDescription CustomerWithSwitch(const std::string& table, std::string negativeBoxColumn, bool boxInCompound) {
    FieldDescription f = Field("得意先コード", FieldKind::Code, "btn_得意先コード検索", "得意先検索",
                               ConditionForm::CodeAndBox, {table + ".得意先コード"});
    f.label = "得意先";
    f.altCaption = "対応先検索";
    f.pattern = "000000";
    f.maxLength = 6;
    f.box = "chb_得意先対応先";
    f.boxColumn = table + ".得意先対応先区分";
    f.negativeBoxColumn = std::move(negativeBoxColumn);
    f.boxInCompound = boxInCompound;
    f.nameField = "得意先略称";
    f.nameSql = "SELECT 略称 FROM M得意先 WHERE コード = '";
    f.altNameSql = "SELECT 略称 FROM M対応先 WHERE コード = '";
    f.opens = LookupWindowId::得意先一覧;
    f.altOpens = LookupWindowId::対応先一覧;
    f.opensNextFocus = "btn_得意先コード検索";
    return f;
}

void Opens(FieldDescription& f, LookupWindowId window, std::string nextFocus) {
    f.opens = window;
    f.opensNextFocus = std::move(nextFocus);
}

WindowDescription QuotationNumbers() {
    WindowDescription w;
    w.id = LookupWindowId::営業見積No一覧;
    w.title = "営業見積No一覧";
    w.objectName = "wnd営業見積No一覧";
    w.family = LookupFamily::QuotationNumber;
    w.select =
        "SELECT TOP 1000 T営業見積.事業所コード,T営業見積.番号基準日付,T営業見積.営業見積No,T営業見積.営業見積日付,"
        "T営業見積.得意先コード,T営業見積.得意先名称A,T営業見積.タイトル,T営業見積.見積金額合計";
    w.fromJoin = " FROM T営業見積";
    w.fromComma = w.fromJoin;
    w.office = OfficeRule::CurrentOffice;
    w.officeColumn = "T営業見積.事業所コード";
    w.officeFirst = true;

    FieldDescription date = Field("営業見積日付", FieldKind::Date, "btn_営業見積日付検索", "見積日付検索",
                                  ConditionForm::Onward, {"T営業見積.営業見積日付"},
                                  "T営業見積.営業見積日付, T営業見積.営業見積No ");
    date.label = "見積日付";
    w.fields.push_back(date);
    FieldDescription number = NumberField("営業見積No", "btn_営業見積No検索", "見積No検索", "T営業見積.営業見積No",
                                          "T営業見積.営業見積No,T営業見積.営業見積日付 DESC");
    number.label = "見積No";
    w.fields.push_back(number);
    FieldDescription name = Field("得意先名", FieldKind::Text, "btn_得意先名検索", "得意先名検索", ConditionForm::Like,
                                  {"T営業見積.得意先名称A", "T営業見積.得意先名称B"});
    name.maxLength = 60;
    Opens(name, LookupWindowId::見積得意先名一覧, "件名");
    w.fields.push_back(name);
    FieldDescription title = Field("件名", FieldKind::Text, "btn_件名検索", "見積件名検索", ConditionForm::Like,
                                   {"T営業見積.タイトル"});
    title.maxLength = 60;
    Opens(title, LookupWindowId::営業見積タイトル一覧, "得意先コード");
    w.fields.push_back(title);
    w.fields.push_back(CustomerWithSwitch("T営業見積", "T営業見積.得意先対応先区分", true));

    w.compoundOrder = {"営業見積日付", "営業見積No", "件名", "得意先名", "得意先コード"};
    w.boxes.push_back({"chb_得意先対応先", "対応先"});
    w.negativeCaption = "否検索";
    w.defaultOrder = "T営業見積.営業見積日付 DESC, T営業見積.営業見積No DESC";
    w.extractions = {{"T営業見積.営業見積日付", Extraction::Into::Field, "営業見積日付", ""},
                     {"T営業見積.営業見積No", Extraction::Into::Field, "営業見積No", ""},
                     {"T営業見積.得意先対応先区分", Extraction::Into::Box, "chb_得意先対応先", ""},
                     {"T営業見積.得意先コード", Extraction::Into::Field, "得意先コード", ""}};
    w.listName = "List営業見積";
    w.columns = {{"見積No", 1150, "営業見積No", Digits(8)},
                 {"見積日付", 1150, "営業見積日付", Digits(8)},
                 {"得コード", 1100, "得意先コード", Digits(6)},
                 {"得意先名称A", 3400, "得意先名称A", FullWidth(40)},
                 {"タイトル", 3400, "タイトル", FullWidth(60)},
                 {"見積金額", 1700, "見積金額合計", Digits(13), CellFormat::PaddedAmount, true}};
    w.keyColumns = {"事業所コード", "番号基準日付", "営業見積No"};
    w.choice = ChoiceCondition::RowKey;
    w.buttonsAfterSearch = true;
    return w;
}

WindowDescription InquiryNumbers() {
    WindowDescription w;
    w.id = LookupWindowId::営業引合No一覧;
    w.title = "営業引合No一覧";
    w.objectName = "wnd営業引合No一覧";
    w.family = LookupFamily::InquiryNumber;
    w.select =
        "SELECT TOP 1000 T営業引合.事業所コード,T営業引合.番号基準日付,T営業引合.営業引合No,T営業引合.営業引合日付,"
        "T営業引合.営業引合納期,T営業引合.営業引合納期,T営業引合.得意先コード,T営業引合.得意先名称A,"
        "T営業引合.営業引合商品名A,T営業引合.営業引合金額";
    w.fromJoin = " FROM T営業引合";
    w.fromComma = w.fromJoin;
    w.office = OfficeRule::CurrentOffice;
    w.officeColumn = "T営業引合.事業所コード";
    w.officeFirst = true;

    FieldDescription date = Field("営業引合日付", FieldKind::Date, "btn_営業引合日付検索", "引合日付検索",
                                  ConditionForm::Onward, {"T営業引合.営業引合日付"},
                                  "T営業引合.営業引合日付, T営業引合.営業引合No");
    date.label = "引合日付";
    w.fields.push_back(date);
    FieldDescription number = NumberField("営業引合No", "btn_営業引合No検索", "引合No検索", "T営業引合.営業引合No",
                                          "T営業引合.営業引合No, T営業引合.営業引合日付 DESC");
    number.label = "引合No";
    w.fields.push_back(number);
    FieldDescription due = Field("営業引合納期", FieldKind::Date, "btn_営業引合納期検索", "納期検索",
                                 ConditionForm::Onward, {"T営業引合.営業引合納期"},
                                 "T営業引合.営業引合納期, T営業引合.営業引合日付 DESC");
    due.label = "引合納期";
    w.fields.push_back(due);
    FieldDescription name = Field("得意先名", FieldKind::Text, "btn_得意先名検索", "得意先名検索", ConditionForm::Like,
                                  {"T営業引合.得意先名称A", "T営業引合.得意先名称B"});
    name.maxLength = 60;
    Opens(name, LookupWindowId::引合得意先名一覧, "商品名");
    w.fields.push_back(name);
    FieldDescription product = Field("商品名", FieldKind::Text, "btn_商品名検索", "品名検索", ConditionForm::Like,
                                     {"T営業引合.営業引合商品名A", "T営業引合.営業引合商品名B"});
    product.maxLength = 60;
    Opens(product, LookupWindowId::引合商品名一覧, "得意先コード");
    w.fields.push_back(product);
    w.fields.push_back(CustomerWithSwitch("T営業引合", "得意先対応先区分", false));

    w.compoundOrder = {"営業引合日付", "営業引合No", "営業引合納期", "得意先名", "商品名", "得意先コード"};
    w.boxes.push_back({"chb_得意先対応先", "対応先"});
    w.negativeCaption = "否検索";
    w.defaultOrder = "T営業引合.営業引合日付 DESC, T営業引合.営業引合No DESC";
    w.extractions = {{"T営業引合.営業引合日付", Extraction::Into::Field, "営業引合日付", ""},
                     {"T営業引合.営業引合No", Extraction::Into::Field, "営業引合No", ""},
                     {"T営業引合.得意先コード", Extraction::Into::Field, "得意先コード", ""}};
    w.listName = "List営業引合";
    w.columns = {{"引合No", 1150, "営業引合No", Digits(8)},
                 {"引合日付", 1150, "営業引合日付", Digits(8)},
                 {"引合納期", 1150, "営業引合納期", Digits(8)},
                 {"得意先名", 3000, "得意先名称A", FullWidth(40)},
                 {"商品名", 3000, "営業引合商品名A", FullWidth(40)},
                 {"引合金額", 1700, "営業引合金額", Digits(13), CellFormat::Amount, true}};
    w.keyColumns = {"事業所コード", "番号基準日付", "営業引合No"};
    w.choice = ChoiceCondition::RowKey;
    w.buttonsAfterSearch = true;
    return w;
}

WindowDescription ItemNames() {
    const std::string firstSort =
        "T営業見積明細.営業見積日付 DESC,T営業見積明細.事業所コード DESC,T営業見積明細.番号基準日付 DESC,"
        "T営業見積明細.営業見積No DESC";
    WindowDescription w;
    w.id = LookupWindowId::営業見積品名一覧;
    w.title = "営業見積品名一覧";
    w.objectName = "wnd営業見積品名一覧";
    w.family = LookupFamily::ItemName;
    w.select =
        "SELECT TOP 1000 T営業見積明細.事業所コード,T営業見積明細.番号基準日付,T営業見積明細.営業見積No,"
        "T営業見積明細.営業見積固有行No,T営業見積明細.営業見積日付,T営業見積明細.商品名,T営業見積明細.見積単価,"
        "T営業見積明細.見積単位,T営業見積.得意先名称A";
    const std::string join =
        "T営業見積.事業所コード = T営業見積明細.事業所コード AND T営業見積.番号基準日付 = T営業見積明細.番号基準日付 AND "
        "T営業見積.営業見積No = T営業見積明細.営業見積No";
    w.fromJoin = " FROM T営業見積 INNER JOIN T営業見積明細 ON " + join;
    w.fromComma = " FROM T営業見積 ,T営業見積明細 WHERE " + join;
    w.commaWhereStarted = true;
    w.appendsCondition = false;

    FieldDescription words = Field("品名1", FieldKind::Text, "btn_品名検索", "品名検索", ConditionForm::Words,
                                   {"T営業見積明細.商品名"}, firstSort);
    words.secondField = "品名2";
    words.narrowBox = "chb_絞込み";
    words.maxLength = 60;
    w.fields.push_back(words);
    FieldDescription second;
    second.name = "品名2";
    second.label = "品名2";
    second.role = FieldRole::Part;
    second.maxLength = 60;
    w.fields.push_back(second);
    FieldDescription date = Field("営業見積日付", FieldKind::Date, "btn_営業見積日付検索", "見積日付検索",
                                  ConditionForm::Onward, {"T営業見積明細.営業見積日付"},
                                  "T営業見積明細.営業見積日付,T営業見積明細.事業所コード DESC,"
                                  "T営業見積明細.番号基準日付 DESC,T営業見積明細.営業見積No DESC");
    date.label = "見積日付";
    w.fields.push_back(date);
    FieldDescription customer = Field("得意先コード", FieldKind::Code, "btn_得意先コード検索", "得意先検索",
                                      ConditionForm::Exact, {"T営業見積明細.得意先コード"}, firstSort);
    customer.label = "得意先";
    customer.pattern = "000000";
    customer.maxLength = 6;
    customer.nameField = "得意先略称";
    customer.nameSql = "SELECT 略称 FROM M得意先 WHERE コード = '";
    Opens(customer, LookupWindowId::得意先一覧, "btn_得意先コード検索");
    w.fields.push_back(customer);

    w.compoundOrder = {"品名1", "営業見積日付", "得意先コード"};
    w.boxes.push_back({"chb_絞込み", "絞込み"});
    w.defaultOrder = firstSort;
    w.trailingCondition = "T営業見積明細.行区分 = '1'";
    w.conditionInto = "品名1";
    w.customerPrefill = "得意先コード";
    w.listName = "List品名";
    w.columns = {{"品名", 7600, "商品名", FullWidth(60)},
                 {"営業見積単価", 1000, "見積単価", Digits(14), CellFormat::SellingPrice, true},
                 {"営業見積日付", 1150, "営業見積日付", Digits(8)},
                 {"得意先名", 2550, "得意先名称A", FullWidth(40)}};
    w.keyColumns = {"事業所コード", "番号基準日付", "営業見積No", "営業見積固有行No"};
    w.choice = ChoiceCondition::RowKey;
    w.buttonsAfterSearch = true;
    return w;
}

struct HistoryVariant {
    LookupWindowId id;
    std::string title;
    std::string caption;  // list header
    std::string column;   // listed column as written in the query
    std::string table;
    std::string dateColumn;
    std::vector<std::string> textColumns;
    std::string nonEmptyTest;
    ChoiceCondition choice;
    int widest;  // bytes of the longest text the listed column holds
};

WindowDescription History(const HistoryVariant& v) {
    WindowDescription w;
    w.id = v.id;
    w.title = v.title;
    w.objectName = "wnd" + v.title;
    w.family = LookupFamily::History;
    w.select = "SELECT DISTINCT " + v.column;
    w.fromJoin = " FROM " + v.table;
    w.fromComma = w.fromJoin;
    w.appendsCondition = false;
    FieldDescription text;
    text.name = "検索文字列";
    text.label = "検索文字列";
    text.maxLength = 60;
    w.fields.push_back(text);
    w.compoundOrder = {"検索文字列"};
    w.negativeCaption = "否検索";
    w.defaultOrder = v.column;
    w.history = HistoryDescription{v.column, v.table, v.dateColumn, v.textColumns, v.nonEmptyTest, v.column};
    w.listName = "List" + v.caption;
    const auto dot = v.column.find('.');
    const std::string source = dot == std::string::npos ? v.column : v.column.substr(dot + 1);
    w.columns = {{v.caption, 6400, source, FullWidth(v.widest)}};
    w.keyColumns = {source};
    w.choice = v.choice;
    return w;
}

}  // namespace

std::vector<WindowDescription> DocumentWindows() {
    std::vector<WindowDescription> all;
    all.push_back(QuotationNumbers());
    all.push_back(InquiryNumbers());
    all.push_back(ItemNames());
    const auto header = ChoiceCondition::RowKey;
    const auto name = ChoiceCondition::Unchanged;
    const std::vector<HistoryVariant> histories = {
        {LookupWindowId::営業見積タイトル一覧, "営業見積タイトル一覧", "タイトル", "T営業見積.タイトル", "T営業見積",
         "T営業見積.営業見積日付", {"T営業見積.タイトル"}, "T営業見積.タイトル <> ''", header, 60},
        {LookupWindowId::営業見積条件一覧, "営業見積条件一覧", "見積条件", "T営業見積.見積条件", "T営業見積",
         "T営業見積.営業見積日付", {"T営業見積.見積条件"}, "T営業見積.見積条件 <> ''", header, 40},
        {LookupWindowId::営業見積納期一覧, "営業見積納期一覧", "見積納期", "T営業見積.見積納期", "T営業見積",
         "T営業見積.営業見積日付", {"T営業見積.見積納期"}, "T営業見積.見積納期 <> ''", header, 40},
        {LookupWindowId::見積得意先名一覧, "見積得意先名一覧", "見積得意先名", "得意先名称A", "T営業見積",
         "営業見積日付", {"得意先名称A", "得意先名称B"}, "得意先名称A <> ''", name, 40},
        {LookupWindowId::見積納品先名一覧, "見積納品先名一覧", "見積納品先名", "納品先名称A", "T営業見積",
         "営業見積日付", {"納品先名称A", "納品先名称B"}, "納品先名称A <> ''", name, 40},
        {LookupWindowId::引合得意先名一覧, "引合得意先名一覧", "引合得意先名", "得意先名称A", "T営業引合",
         "営業引合日付", {"得意先名称A", "得意先名称B"}, "得意先名称A <> ''", name, 40},
        {LookupWindowId::引合商品名一覧, "引合商品名一覧", "引合商品名", "営業引合商品名A", "T営業引合",
         "営業引合日付", {"営業引合商品名A", "営業引合商品名B"}, "営業引合商品名A <> ''", name, 60},
        {LookupWindowId::見積仕入先名一覧, "見積仕入先名一覧", "見積仕入先名", "仕入先名称A", "T営業見積明細",
         "営業見積日付", {"仕入先名称A", "仕入先名称B"}, "仕入先名称A <> ''", name, 40},
        {LookupWindowId::見積商品名一覧, "見積商品名一覧", "見積商品名", "商品名", "T営業見積明細", "営業見積日付",
         {"商品名"}, "行区分 = '1' AND 商品名 <> '' AND 見積金額 <> 0", name, 60},
    };
    for (const HistoryVariant& v : histories) all.push_back(History(v));
    return all;
}

}  // namespace velmora::lookup_catalog
