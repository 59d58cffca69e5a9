#include "screens/entry/entry_fields.h"

#include "quotation/master_reads.h"

namespace velmora {
namespace {

using K = EntryFieldKind;
using R = EntryRegion;
using W = LookupWindowId;

EntryField Code(std::string name, std::string caption, std::string button, std::string pattern,
                std::optional<W> lookup, std::string next, std::optional<W> alt = std::nullopt) {
    EntryField f;
    f.name = std::move(name);
    f.caption = std::move(caption);
    f.kind = K::Code;
    f.button = std::move(button);
    f.width = static_cast<int>(pattern.size());
    f.pattern = std::move(pattern);
    f.lookup = lookup;
    f.altLookup = alt;
    f.nextFocus = std::move(next);
    return f;
}

EntryField Text(std::string name, std::string caption, int maxBytes, std::optional<W> lookup = std::nullopt,
                std::string next = "") {
    EntryField f;
    f.name = std::move(name);
    f.caption = std::move(caption);
    f.kind = K::Text;
    f.maxBytes = maxBytes;
    f.lookup = lookup;
    f.nextFocus = std::move(next);
    return f;
}

EntryField Of(std::string name, K kind, std::string caption = "", int width = 0) {
    EntryField f;
    f.name = std::move(name);
    f.kind = kind;
    f.caption = std::move(caption);
    f.width = width;
    return f;
}

EntryField Setting(std::string code, std::string list, std::string caption) {
    EntryField f = Of(std::move(code), K::SettingCode, std::move(caption), 1);
    f.partner = std::move(list);
    return f;
}

EntryField ListOf(std::string list, std::string code) {
    EntryField f = Of(std::move(list), K::List);
    f.partner = std::move(code);
    return f;
}

std::vector<EntryField> InRegion(std::vector<EntryField> fields, R region, int page = 0) {
    for (auto& f : fields) {
        f.region = region;
        f.page = page;
    }
    return fields;
}

std::vector<EntryField> MakeHeader() {
    return InRegion(
        {
            Of("営業見積日付年", K::DatePart, "見積日付", 4),
            Of("営業見積日付月", K::DatePart, "", 2),
            Of("営業見積日付日", K::DatePart, "", 2),
            Code("営業見積No", "見積No", "btn_営業見積No", "00000000", W::営業見積No一覧, "得意先名称A"),
            Code("参照営業見積No", "参照見積No", "btn_参照営業見積No", "00000000", W::営業見積No一覧,
                 "得意先名称A"),
            Code("参照営業引合No", "参照引合No", "btn_参照営業引合No", "00000000", W::営業引合No一覧,
                 "得意先名称A"),
            Of("chb_得意先対応先", K::Check, "対応先"),
            Code("得意先コード", "得意先", "btn_得意先コード", "000000", W::得意先一覧, "得意先名称A",
                 W::対応先一覧),
            Text("得意先名称A", "", kPartyNameBytes, W::見積得意先名一覧, "得意先名称B"),
            Text("得意先名称B", "", kPartyNameBytes),
            Code("得意先御担当者コード", "御担当者", "btn_得意先御担当者コード", "00000",
                 W::得意先御担当者一覧, "納品先コード", W::対応先御担当者一覧),
            Text("御担当者名", "", kContactNameBytes),
            Code("担当者コード", "担当者", "btn_担当者コード", "00000", W::担当者一覧, "担当者名"),
            Of("担当者名", K::Display),
            Code("部門コード", "部門", "btn_部門コード", "000", W::部門一覧, "部門名"),
            Of("部門名", K::Display),
            Code("セクションコード", "所属", "btn_セクションコード", "000", W::セクション一覧,
                 "セクション名"),
            Of("セクション名", K::Display),
            Of("chb_納品先対応先", K::Check, "対応先"),
            Code("納品先コード", "納品先", "btn_納品先コード", "000000", W::納品先一覧, "納品先名称A",
                 W::対応先一覧),
            Text("納品先名称A", "", kPartyNameBytes, W::見積納品先名一覧, "納品先名称B"),
            Text("納品先名称B", "", kPartyNameBytes),
            Of("定価掛率", K::Rate, "定価掛率", 6),
            Setting("得意先消費税算出区分", "得意先消費税算出区分名称", "消費税算出"),
            ListOf("得意先消費税算出区分名称", "得意先消費税算出区分"),
            Setting("得意先消費税区分", "得意先消費税区分名称", "税込税抜"),
            ListOf("得意先消費税区分名称", "得意先消費税区分"),
            Setting("消費税表示区分", "消費税表示区分名称", "消費税表示"),
            ListOf("消費税表示区分名称", "消費税表示区分"),
            Setting("合計表示区分", "合計表示区分名称", "総計表示"),
            ListOf("合計表示区分名称", "合計表示区分"),
            Text("タイトル", "案件名", 60, W::営業見積タイトル一覧, "見積条件"),
            Text("見積条件", "見積条件", 40, W::営業見積条件一覧, "見積納期"),
            Text("見積納期", "納期", 40, W::営業見積納期一覧, "見積期限"),
            Text("見積期限", "見積期限", 40),
            Of("chb_Kasmeri", K::Check, "封筒印刷"),
            Of(kHeadEnd, K::Sentinel),
        },
        R::Header);
}

std::vector<EntryField> MakeRow() {
    EntryField kind = Setting("行区分", "行区分名称", "");
    EntryField product = Code("商品コード", "商品コード", "btn_商品コード", "", W::商品一覧, "商品名");
    product.maxBytes = 16;
    product.width = 16;
    EntryField name = Text("商品名", "商品名", kProductNameBytes, W::営業見積品名一覧, "商品コード");
    name.button = "btn_品名";
    name.gestureLookup = W::見積商品名一覧;
    name.altNextFocus = "見積数量";
    std::vector<EntryField> page1 = InRegion(
        {
            kind,
            ListOf("行区分名称", "行区分"),
            Of("chb_複写区分", K::Check),
            product,
            name,
            Of("見積数量", K::Number, "数量"),
            Text("見積単位", "単位", kUnitBytes),
            Of("見積単価", K::Number, "単価"),
            Of("見積金額", K::Number, "金額"),
            Of("見積消費税", K::Number, "消費税"),
            Of("chb_計区分", K::Check),
            Of(kPage1End, K::Sentinel),
        },
        R::Row, 1);
    std::vector<EntryField> page2 = InRegion(
        {
            Of("chb_仕入先対応先", K::Check),
            Code("仕入先コード", "仕入先コード", "btn_仕入先コード", "000000", W::仕入先一覧, "仕入数量",
                 W::対応先一覧),
            Text("仕入先名称A", "名称", kSupplierNameBytes, W::見積仕入先名一覧, "仕入数量"),
            Of("仕入商品名", K::Display, "商品名"),
            Of("仕入数量", K::Number, "仕入数"),
            Text("仕入単位", "単位", kUnitBytes),
            Of("仕入単価", K::Number, "単価"),
            Of("仕入金額", K::Number, "金額"),
            Of("仕入消費税", K::Number, "消費税"),
            Of(kPage2End, K::Sentinel),
        },
        R::Row, 2);
    page1.insert(page1.end(), page2.begin(), page2.end());
    return page1;
}

std::vector<EntryField> MakeTail() {
    return InRegion(
        {Text("見積伝票備考A", "備考", 60), Text("見積伝票備考B", "", 60), Of(kTailEnd, K::Sentinel)},
        R::Tail);
}

std::vector<EntryField> MakeMemo() {
    EntryField memo = Of("営業見積メモ", K::Memo, "メモ");
    memo.maxBytes = 2000;
    return InRegion({memo, Of("見積納期日付年", K::DatePart, "消費税日付", 4),
                     Of("見積納期日付月", K::DatePart, "", 2), Of("見積納期日付日", K::DatePart, "", 2)},
                    R::Memo);
}

}  // namespace

const std::vector<EntryField>& HeaderFields() {
    static const std::vector<EntryField> fields = MakeHeader();
    return fields;
}

const std::vector<EntryField>& RowFields() {
    static const std::vector<EntryField> fields = MakeRow();
    return fields;
}

const std::vector<EntryField>& TailFields() {
    static const std::vector<EntryField> fields = MakeTail();
    return fields;
}

const std::vector<EntryField>& MemoFields() {
    static const std::vector<EntryField> fields = MakeMemo();
    return fields;
}

std::vector<Control> EntryTabOrder() {
    std::vector<Control> order;
    for (const auto& f : HeaderFields()) order.push_back({f.name});
    for (int page = 1; page <= 2; ++page)
        for (int row = 0; row < kVisibleRows; ++row)
            for (const auto& f : RowFields())
                if (f.page == page) order.push_back({f.name, row});
    for (const auto& f : MemoFields()) order.push_back({f.name});
    for (const auto& f : TailFields()) order.push_back({f.name});
    return order;
}

const EntryField* FindEntryField(const std::string& name) {
    for (const auto* table : {&HeaderFields(), &RowFields(), &TailFields(), &MemoFields()})
        for (const auto& f : *table)
            if (f.name == name) return &f;
    return nullptr;
}

const std::vector<EntryButton>& CommandButtons() {
    static const std::vector<EntryButton> buttons = {
        {"btn_画面クリア", "画面ｸﾘｱ"}, {"btn_登録", "登録"},         {"btn_削除", "削除"},
        {"btn_前No", "前No"},          {"btn_次No", "次No"},         {"btn_印刷", "印刷"},
        {"btn_プレビュ", "プレビュ"},  {"btn_帳票イメージ出力", "PDF出力"}, {"btn_Talmire", "注文書作成"},
        {"btn_参照営業見積", "新見積書"}, {"btn_参照元No", "参照元No"}, {"btn_終了", "終了"},
    };
    return buttons;
}

const std::vector<EntryButton>& LineCommandButtons() {
    static const std::vector<EntryButton> buttons = {
        {"btn_元に戻す", "元に戻す"},
        {"btn_やり直し", "やり直し"},
        {"btn_行クリア", "行ｸﾘｱ"},
        {"btn_行挿入", "行挿入"},
        {"btn_行複写", "前行複写"},
        {"btn_指定行複写", "指定行複写", true},
        {"btn_指定行コピー", "コピー", true},
        {"btn_指定行ペースト", "貼付", true},
        {"btn_指定行クリア", "クリア", true},
        {"btn_指定行連番", "Ｎo.", true},
        {"btn_連番タイプ", "1.", true},
        {"btn_仕入先表示", "仕入先"},
    };
    return buttons;
}

const std::vector<EntryButton>& AttachmentButtons() {
    static const std::vector<EntryButton> buttons = {
        {"btn_付属書類追加", "付属書類追加"},
        {"btn_付属書類削除", "付属書類削除"},
        {"btn_フォルダ追加", "ﾌｫﾙﾀﾞ追加"},
    };
    return buttons;
}

const std::vector<SettingList>& SettingLists() {
    static const std::vector<SettingList> lists = {
        {"得意先消費税算出区分", "得意先消費税算出区分名称", "K消費税算出区分", "区分 <= '2'"},
        {"得意先消費税区分", "得意先消費税区分名称", "K消費税区分", ""},
        {"消費税表示区分", "消費税表示区分名称", "K見積消費税表示区分", ""},
        {"合計表示区分", "合計表示区分名称", "K見積合計表示区分", ""},
    };
    return lists;
}

}  // namespace velmora
