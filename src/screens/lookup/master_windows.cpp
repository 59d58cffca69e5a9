#include "screens/lookup/window_catalog.h"

namespace velmora::lookup_catalog {

namespace {

FieldDescription SearchField(std::string name, std::string label, FieldKind kind, std::string caption,
                             ConditionForm form, std::vector<std::string> columns, std::string orderBy) {
    FieldDescription f;
    f.name = std::move(name);
    f.label = std::move(label);
    f.kind = kind;
    f.button = "btn_" + f.name + "検索";
    f.caption = std::move(caption);
    f.form = form;
    f.columns = std::move(columns);
    f.orderBy = std::move(orderBy);
    return f;
}

FieldDescription KanaField(FieldDescription f) {
    f.halfWidthKana = true;
    return f;
}

FieldDescription CodeField(std::string name, std::string label, std::string pattern, std::string caption,
                           ConditionForm form, std::string column, std::string orderBy) {
    FieldDescription f = SearchField(std::move(name), std::move(label), FieldKind::Code, std::move(caption), form,
                                     {std::move(column)}, std::move(orderBy));
    f.pattern = std::move(pattern);
    f.maxLength = static_cast<int>(f.pattern.empty() ? 20 : f.pattern.size());
    f.onward = form == ConditionForm::Onward;
    return f;
}

// A code whose name is shown beside it and which opens the master's own window.
void WithName(FieldDescription& f, std::string nameField, std::string nameSql, LookupWindowId opens,
              std::string nextFocus) {
    f.nameField = std::move(nameField);
    f.nameSql = std::move(nameSql);
    f.opens = opens;
    f.opensNextFocus = std::move(nextFocus);
}

FilterDescription Filter(std::string name, std::string caption, std::string column, int defaultValue,
                         bool negativeAllAtOrAbove) {
    FilterDescription f;
    f.kTable = "K" + name;
    f.name = std::move(name);
    f.caption = std::move(caption);
    f.column = std::move(column);
    f.defaultValue = defaultValue;
    f.negativeAllAtOrAbove = negativeAllAtOrAbove;
    return f;
}

struct NameAddressVariant {
    LookupWindowId id;
    std::string subject;       // 得意先
    std::string contactTable;  // M得意先御担当者
    std::string contactKey;    // 得意先コード
    bool staffPrefill;
    bool statusExtraction;
    bool sortPrefix;
};

WindowDescription NameAddress(const NameAddressVariant& v) {
    const std::string t = "M" + v.subject;
    WindowDescription w;
    w.id = v.id;
    w.title = v.subject + "一覧";
    w.objectName = "wnd" + w.title;
    w.family = LookupFamily::NameAddress;
    w.master = true;
    w.select = "SELECT TOP 1000 " + t + ".コード, " + t + ".略称, " + t + ".カナ, " + t + ".電話, " + t +
               ".郵便番号, " + t + ".住所A, " + t + ".住所B, M担当者.氏名 AS 担当者名";
    w.fromJoin = " FROM M担当者 INNER JOIN " + t + " ON " + t + ".担当者コード = M担当者.コード";
    w.fromComma = " FROM M担当者, " + t + " WHERE " + t + ".担当者コード = M担当者.コード";
    w.commaWhereStarted = true;
    w.office = OfficeRule::CurrentOffice;
    w.officeColumn = "M担当者.事業所コード";

    w.fields.push_back(
        CodeField("コード", "コード", "000000", "コード検索", ConditionForm::Onward, t + ".コード", t + ".コード"));
    w.fields.push_back(KanaField(SearchField("カナ", "カナ", FieldKind::Text, "カナ検索", ConditionForm::Like,
                                             {t + ".カナ"}, t + ".カナ")));
    w.fields.push_back(SearchField("名称", "名称", FieldKind::Text, "名称検索", ConditionForm::Like,
                                   {t + ".名称A", t + ".名称B", t + ".略称"}, t + ".名称A"));
    w.fields.push_back(SearchField("住所", "住所", FieldKind::Text, "住所検索", ConditionForm::Like,
                                   {t + ".住所A", t + ".住所B", t + ".住所C"}, t + ".住所A"));
    FieldDescription phone = SearchField("電話", "電話", FieldKind::Telephone, "電話番号検索", ConditionForm::Telephone,
                                         {t + ".電話番号"}, t + ".電話");
    phone.button = "btn_電話番号検索";
    phone.contactTable = v.contactTable;
    phone.contactKey = v.contactKey;
    phone.maxLength = 20;
    w.fields.push_back(phone);
    FieldDescription postcode = SearchField("郵便番号", "郵便番号", FieldKind::Postcode, "郵便番号検索",
                                            ConditionForm::Like, {t + ".郵便番号"}, t + ".郵便番号");
    postcode.maxLength = 10;
    w.fields.push_back(postcode);
    w.fields[1].maxLength = 40;
    w.fields[2].maxLength = 60;
    w.fields[3].maxLength = 60;

    FieldDescription staff = CodeField("担当者コード", "担当者", "00000", "", ConditionForm::Exact,
                                       t + ".担当者コード", "");
    staff.role = FieldRole::Filter;
    staff.button.clear();
    WithName(staff, "担当者名", "SELECT 氏名 FROM M担当者 WHERE コード = '", LookupWindowId::担当者一覧, "カナ");
    staff.opensButton = "btn_担当者コード";
    staff.opensCaption = "担当者";
    w.fields.push_back(staff);

    w.compoundOrder = {"コード", "名称", "カナ", "住所", "郵便番号", "電話"};
    w.filters.push_back(Filter("取引状況区分", "取引状況", t + ".取引状況区分", 1, true));
    w.negativeCaption = "否定検索";
    w.defaultOrder = t + ".コード";
    if (v.sortPrefix) w.sortPrefixTable = t;

    w.extractions.push_back({t + ".コード", Extraction::Into::Field, "コード", ""});
    if (v.statusExtraction)
        w.extractions.push_back(
            {t + ".取引状況区分", Extraction::Into::Filter, "取引状況区分", t + ".取引状況区分 ="});
    if (v.staffPrefill) w.staffPrefill = "担当者コード";

    w.listName = "List" + v.subject;
    // Kana names as long as the カナ field takes; addresses as long as a
    // prefecture, city and ward, or a street and number, usually run.
    w.columns = {{"コード", 1100, "コード", Digits(6)},
                 {"略称", 2550, "略称", FullWidth(20)},
                 {"担当者", 1600, "担当者名", FullWidth(12)},
                 {"電話", 1850, "電話", Digits(13)},
                 {"カナ", 1150, "カナ", HalfWidthKana(40)},
                 {"郵便No", 1150, "郵便番号", Digits(8)},
                 {"住所A", 2000, "住所A", FullWidth(36)},
                 {"住所B", 2000, "住所B", FullWidth(36)}};
    w.keyColumns = {"コード"};
    w.choice = ChoiceCondition::Clear;
    return w;
}

WindowDescription Staff() {
    WindowDescription w;
    w.id = LookupWindowId::担当者一覧;
    w.title = "担当者一覧";
    w.objectName = "wnd担当者一覧";
    w.family = LookupFamily::Staff;
    w.master = true;
    w.select =
        "SELECT TOP 1000 M担当者.コード,M担当者.氏名,M事業所.名称 AS 事業所名,M部門.名称 AS 部門名,Mセクション.名称 AS "
        "セクション名";
    w.fromJoin =
        " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN (M事業所 RIGHT JOIN M担当者 ON M事業所.コード = "
        "M担当者.事業所コード) ON M部門.コード = M担当者.部門コード) ON Mセクション.コード = M担当者.セクションコード";
    w.fromComma =
        " FROM Mセクション,M部門,M事業所,M担当者 WHERE M事業所.コード(+) = M担当者.事業所コード AND M部門.コード(+) = "
        "M担当者.部門コード AND Mセクション.コード(+) = M担当者.セクションコード";
    w.commaWhereStarted = true;
    w.office = OfficeRule::OperatingOrHead;
    w.officeColumn = "M担当者.事業所コード";

    w.fields.push_back(CodeField("コード", "コード", "00000", "コード検索", ConditionForm::Onward, "M担当者.コード",
                                 "M担当者.コード"));
    w.fields.push_back(KanaField(SearchField("カナ", "カナ", FieldKind::Text, "カナ検索", ConditionForm::Like,
                                             {"M担当者.カナ"}, "M担当者.カナ")));
    w.fields.push_back(SearchField("名称", "氏名", FieldKind::Text, "名称検索", ConditionForm::Like,
                                   {"M担当者.氏名"}, "M担当者.氏名"));
    FieldDescription department = CodeField("部門コード", "部門", "000", "部門検索", ConditionForm::Exact,
                                            "M担当者.部門コード", "M担当者.コード");
    WithName(department, "部門名", "SELECT 名称 FROM M部門 WHERE コード = '", LookupWindowId::部門一覧,
             "btn_部門コード検索");
    w.fields.push_back(department);
    FieldDescription section = CodeField("セクションコード", "セクション", "000", "部署検索", ConditionForm::Exact,
                                         "M担当者.セクションコード", "M担当者.コード");
    WithName(section, "セクション名", "SELECT 名称 FROM Mセクション WHERE コード = '", LookupWindowId::セクション一覧,
             "btn_セクションコード検索");
    w.fields.push_back(section);
    w.fields[1].maxLength = 40;
    w.fields[2].maxLength = 40;

    w.compoundOrder = {"コード", "名称", "カナ", "部門コード", "セクションコード"};
    w.filters.push_back(Filter("在籍区分", "在籍区分", "M担当者.在籍区分", 0, false));
    w.filters.push_back(Filter("社員区分", "社員区分", "M担当者.社員区分", kAll, false));
    w.negativeCaption = "否定検索";
    w.defaultOrder = "M担当者.コード";
    w.extractions = {{"M担当者.コード", Extraction::Into::Field, "コード", ""},
                     {"M担当者.部門コード", Extraction::Into::Field, "部門コード", ""},
                     {"M担当者.セクションコード", Extraction::Into::Field, "セクションコード", ""}};
    w.listName = "List担当者";
    w.columns = {{"コード", 750, "コード", Digits(5)},
                 {"氏名", 2500, "氏名", FullWidth(16)},
                 {"事業所", 2300, "事業所名", FullWidth(20)},
                 {"部門", 2300, "部門名", FullWidth(20)},
                 {"セクション", 2300, "セクション名", FullWidth(20)}};
    w.keyColumns = {"コード"};
    return w;
}

WindowDescription CodeName(LookupWindowId id, const std::string& subject, const std::string& filterName,
                           const std::string& filterCaption, int firstWidth, CellWidth code) {
    const std::string t = "M" + subject;
    WindowDescription w;
    w.id = id;
    w.title = subject + "一覧";
    w.objectName = "wnd" + w.title;
    w.family = LookupFamily::CodeName;
    w.master = true;
    w.select = "SELECT コード,名称";
    w.fromJoin = " FROM " + t;
    w.fromComma = w.fromJoin;
    w.appendsCondition = false;
    w.filters.push_back(Filter(filterName, filterCaption, t + "." + filterName, 1, false));
    w.defaultOrder = t + ".コード";
    w.extractions.push_back({t + "." + filterName, Extraction::Into::Filter, filterName, ""});
    w.listName = "List" + subject;
    w.columns = {{"コード", firstWidth, "コード", code}, {"名称", 2500, "名称", FullWidth(30)}};
    w.keyColumns = {"コード"};
    return w;
}

WindowDescription Product() {
    WindowDescription w;
    w.id = LookupWindowId::商品一覧;
    w.title = "商品一覧";
    w.objectName = "wnd商品一覧";
    w.family = LookupFamily::Product;
    w.master = true;
    w.select =
        "SELECT TOP 1000 M商品.コード, M商品.名称A, M商品.名称B, M商品.カナ, M商品.商品分類コード, M商品.品区分, "
        "M商品.税抜販売定価, M商品.税抜販売単価, M商品.税抜仕入単価, M商品分類.名称 AS 商品分類名, K品区分.名称 AS 品区分名";
    w.fromJoin =
        " FROM M商品分類 RIGHT JOIN (K品区分 INNER JOIN M商品 ON K品区分.区分 = M商品.品区分) ON M商品分類.コード = "
        "M商品.商品分類コード";
    w.fromComma =
        " FROM M商品分類, K品区分, M商品 WHERE K品区分.区分 = M商品.品区分 AND M商品分類.コード(+) = M商品.商品分類コード";
    w.commaWhereStarted = true;

    w.fields.push_back(
        CodeField("コード", "コード", "", "コード検索", ConditionForm::Onward, "M商品.コード", "M商品.コード"));
    FieldDescription name1 = SearchField("名称1", "名称1", FieldKind::Text, "名称検索", ConditionForm::Words,
                                         {"M商品.名称A", "M商品.名称B"}, "M商品.名称A");
    name1.button = "btn_名称検索";
    name1.secondField = "名称2";
    name1.narrowBox = "chb_絞込み";
    name1.maxLength = 40;
    w.fields.push_back(name1);
    FieldDescription name2;
    name2.name = "名称2";
    name2.label = "名称2";
    name2.role = FieldRole::Part;
    name2.maxLength = 40;
    w.fields.push_back(name2);
    FieldDescription kana = KanaField(SearchField("カナ", "カナ", FieldKind::Text, "カナ検索", ConditionForm::Like,
                                                  {"M商品.カナ"}, "M商品.カナ"));
    kana.maxLength = 40;
    w.fields.push_back(kana);
    FieldDescription category = CodeField("商品分類コード", "商品分類", "", "商品分類検索", ConditionForm::Exact,
                                          "M商品.商品分類コード", "M商品.コード");
    WithName(category, "商品分類名", "SELECT 名称 FROM M商品分類 WHERE コード = '", LookupWindowId::商品分類一覧,
             "btn_商品分類コード検索");
    w.fields.push_back(category);
    struct Partner {
        std::string field, label, table, caption;
        LookupWindowId window;
    };
    for (const Partner& p : {Partner{"仕入先コード", "仕入先", "M仕入先", "仕入先検索", LookupWindowId::仕入先一覧},
                             Partner{"メーカコード", "メーカ", "Mメーカ", "メーカ検索", LookupWindowId::メーカ一覧},
                             Partner{"得意先コード", "得意先", "M得意先", "得意先検索", LookupWindowId::得意先一覧}}) {
        FieldDescription f = CodeField(p.field, p.label, "000000", p.caption, ConditionForm::ExactOrUnassigned,
                                       "M商品." + p.field, "M商品.コード");
        WithName(f, p.label + "略称", "SELECT 略称 FROM " + p.table + " WHERE コード = '", p.window,
                 "btn_" + p.field + "検索");
        w.fields.push_back(f);
    }
    w.compoundOrder = {"コード", "名称1", "カナ", "商品分類コード", "仕入先コード", "メーカコード", "得意先コード"};
    w.boxes.push_back({"chb_絞込み", "絞込み"});
    w.filters.push_back(Filter("品区分", "品区分", "M商品.品区分", kAll, false));
    w.filters.push_back(Filter("在庫管理区分", "在庫管理", "M商品.在庫管理区分", kAll, false));
    w.filters.push_back(Filter("取扱状況区分", "取扱状況", "M商品.取扱状況区分", 1, false));
    w.negativeCaption = "否定検索";
    w.defaultOrder = "M商品.コード";
    w.extractions = {
        {"M商品.コード", Extraction::Into::Field, "コード", ""},
        {"M商品.品区分", Extraction::Into::Filter, "品区分", "M商品.品区分 ="},
        {"M商品.在庫管理区分", Extraction::Into::Filter, "在庫管理区分", "M商品.在庫管理区分 ="},
        {"M商品.取扱状況区分", Extraction::Into::Filter, "取扱状況区分", "M商品.取扱状況区分 ="},
        {"M商品.商品分類コード", Extraction::Into::Field, "商品分類コード", ""},
        {"M商品.仕入先コード", Extraction::Into::Field, "仕入先コード", ""},
        {"M商品.メーカコード", Extraction::Into::Field, "メーカコード", ""},
        {"M商品.得意先コード", Extraction::Into::Field, "得意先コード", ""},
    };
    w.listName = "List商品";
    // Prices up to 99,999,999.99 or 9,999,999.9999.
    w.columns = {{"コード", 1250, "コード", Letters(12)},
                 {"名称1", 3800, "名称A", FullWidth(40)},
                 {"名称2", 1400, "名称B", FullWidth(20)},
                 {"カナ", 1000, "カナ", HalfWidthKana(40)},
                 {"区分", 650, "品区分名", FullWidth(8)},
                 {"税抜販売定価", 1600, "税抜販売定価", Digits(14), CellFormat::SellingPrice, true},
                 {"税抜販売単価", 1600, "税抜販売単価", Digits(14), CellFormat::SellingPrice, true},
                 {"税抜仕入単価", 1600, "税抜仕入単価", Digits(14), CellFormat::PurchasePrice, true},
                 {"分類", 850, "商品分類コード", Letters(4)},
                 {"分類名", 2200, "商品分類名", FullWidth(20)}};
    w.keyColumns = {"コード"};
    return w;
}

WindowDescription Contact(LookupWindowId id, const std::string& subject) {
    const std::string t = "M" + subject + "御担当者";
    WindowDescription w;
    w.id = id;
    w.title = subject + "御担当者一覧";
    w.objectName = "wnd" + w.title;
    w.family = LookupFamily::Contact;
    w.select = "SELECT TOP 1000 *";
    w.fromJoin = " FROM " + t;
    w.fromComma = w.fromJoin;
    w.hasClear = false;
    w.defaultOrder = t + ".御担当者コード";
    w.listName = "List御担当者";
    w.columns = {{"コード", 750, "御担当者コード", Digits(5)},
                 {"氏名", 2500, "氏名", FullWidth(16)},
                 {"カナ", 2300, "カナ", HalfWidthKana(30)},
                 {"電話", 2300, "電話", Digits(13)},
                 {"EMAIL", 2300, "EMAIL", Letters(40)}};
    w.keyColumns = {"御担当者コード"};
    return w;
}

}  // namespace

std::vector<WindowDescription> MasterWindows() {
    std::vector<WindowDescription> all;
    all.push_back(NameAddress({LookupWindowId::得意先一覧, "得意先", "M得意先御担当者", "得意先コード", true, true, false}));
    all.push_back(NameAddress({LookupWindowId::対応先一覧, "対応先", "M対応先御担当者", "対応先コード", false, false, true}));
    all.push_back(NameAddress({LookupWindowId::納品先一覧, "納品先", "M納品先御担当者", "納品先コード", true, false, true}));
    all.push_back(NameAddress({LookupWindowId::仕入先一覧, "仕入先", "M仕入先御担当者", "仕入先コード", false, true, false}));
    all.push_back(NameAddress({LookupWindowId::メーカ一覧, "メーカ", "Mメーカ御担当者", "メーカコード", false, false, false}));
    all.push_back(Staff());
    all.push_back(CodeName(LookupWindowId::部門一覧, "部門", "稼動状況区分", "稼動状況", 750, Digits(3)));
    all.push_back(
        CodeName(LookupWindowId::セクション一覧, "セクション", "稼動状況区分", "稼動状況", 750, Digits(3)));
    all.push_back(
        CodeName(LookupWindowId::商品分類一覧, "商品分類", "使用状況区分", "使用状況", 800, Letters(6)));
    all.push_back(Product());
    all.push_back(Contact(LookupWindowId::得意先御担当者一覧, "得意先"));
    all.push_back(Contact(LookupWindowId::対応先御担当者一覧, "対応先"));
    return all;
}

}  // namespace velmora::lookup_catalog
