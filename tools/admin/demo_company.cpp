#include <utility>

#include "admin/demo_context.h"

namespace velmora {

namespace {

using Names = std::initializer_list<const char*>;

// A code table: 区分 "0", "1", … in the order given.
bool WriteCodes(DemoContext& c, const char* table, Names names) {
    return c.write(table, [&](TableWriter& w) {
        int code = 0;
        for (const char* name : names)
            if (!w.insert(w.row()("区分", code++)("名称", name))) return false;
        return true;
    });
}

}  // namespace

bool SeedCompany(DemoContext& c) {
    const DemoSettings& s = c.settings;
    bool ok = c.write("Mユーザ", [&](TableWriter& w) {
        return w.insert(w.row()("ID", "0001")("名称", "株式会社ミツワ商事")("郵便番号", "101-0047")(
            "住所A", "東京都千代田区内神田二丁目")("住所B", "4番6号")("住所C", "ミツワビル5F")("代表者名", "代表取締役 三輪 正道")(
            "電話", "03-3251-4810")("FAX", "03-3251-4811")("HOMEPAGE", "https://www.mitsuwa-shoji.example.jp")(
            "EMAIL", "info@mitsuwa-shoji.example.jp")("銀行口座A", "みずなみ銀行 神田支店 普通 1234567")(
            "銀行口座B", "東和信用金庫 本店営業部 当座 7654321")("ドキュメントフォルダ", s.documentFolder)(
            "帳票イメージフォルダ", s.imageFolder)("テキスト出力フォルダ", s.textFolder)
                        // Fiscal year ends on March 31 (31 counts as month end); bills close at month end.
                        ("決算月", "3")("決算日", "31")("締日区分", "0")("締日", "31")("決済方法", "1")("決済月", "1")(
                            "決済日", "31")("手形サイト", "90")("現金決済金額", "100000")
                        // Amounts are truncated; prices and quantities carry two decimals.
                        ("売上金額丸め方法", "0")("仕入金額丸め方法", "0")("在庫評価方法", "1")("売上単価少数以下桁数", "2")(
                            "売上数量少数以下桁数", "2")("仕入単価少数以下桁数", "2")("仕入数量少数以下桁数", "2")(
                            "在庫単価少数以下桁数", "2")("在庫数量少数以下桁数", "2")("重量少数以下桁数", "3")(
                            "得意先単価自動更新区分", "0")("納品先単価自動更新区分", "0")("仕入先単価自動更新区分", "0")(
                            "明細保存月数", "84")("統計保存年数", "10")("整理実施可能日自", "1")("整理実施可能日至", "10")(
                            "整理実施可能時刻", "20")
                        // Company-wide counters, no PIN sign-in, the update program runs after each save.
                        ("伝票番号管理区分", "0")("暗証番号有無", "0")("更新実行区分", "0")("特権暗証番号", "")(
                            "システム特権暗証番号", "")("登録日付", "20190401 090000"));
    });
    ok = ok && c.write("M事業所", [&](TableWriter& w) {
        struct Office {
            const char* code;
            const char* name;
            const char* shortName;
            const char* postcode;
            const char* addressA;
            const char* addressB;
            const char* phone;
            const char* fax;
            const char* area;
        };
        static constexpr Office kOffices[] = {
            {"000", "本社", "本社", "101-0047", "東京都千代田区内神田二丁目", "4番6号 ミツワビル5F", "03-3251-4810", "03-3251-4811", "01"},
            {"001", "東京支店", "東京", "105-0013", "東京都港区浜松町一丁目", "12番3号 浜松町センタービル8F", "03-5401-2260", "03-5401-2261", "01"},
            {"002", "大阪支店", "大阪", "530-0001", "大阪府大阪市北区梅田三丁目", "3番20号 梅田産業会館4F", "06-6345-7120", "06-6345-7121", "02"},
        };
        for (const Office& o : kOffices) {
            if (!w.insert(w.row()("コード", o.code)("名称", o.name)("略称", o.shortName)("郵便番号", o.postcode)(
                    "住所A", o.addressA)("住所B", o.addressB)("代表者名", "")("電話", o.phone)("FAX", o.fax)(
                    "登録番号", "T1010001098765")("地区コード", o.area)("暗証番号有無", "0")("更新実行区分", "0")(
                    "特権暗証番号", "")("登録日付", "20190401 090000")))
                return false;
        }
        return true;
    });
    ok = ok && c.write("M他業務連携", [&](TableWriter& w) {
        static constexpr std::pair<const char*, const char*> kLinks[] = {
            {"002", "会計システム"}, {"003", "給与システム"}, {"004", "販売管理システム"}, {"005", "物流システム"}};
        for (auto [code, name] : kLinks) {
            auto row = w.row()("コード", code)("業務名", name)("連携有無区分", "0");
            for (const char* flag : {"顧客更新有無区分", "得意先更新有無区分", "納品先更新有無区分", "仕入先更新有無区分",
                                     "メーカ更新有無区分", "対応先更新有無区分", "商品更新有無区分", "社員更新有無区分"})
                row(flag, "0");
            if (!w.insert(row)) return false;
        }
        return true;
    });
    ok = ok && c.write("G消費税", [&](TableWriter& w) {
        static constexpr std::pair<const char*, const char*> kRates[] = {
            {"19890401", "3"}, {"19970401", "5"}, {"20140401", "8"}, {"20191001", "10"}};
        for (auto [from, rate] : kRates)
            if (!w.insert(w.row()("施行日", from)("消費税率", rate))) return false;
        return true;
    });
    ok = ok && c.write("K年号区分", [&](TableWriter& w) {
        static constexpr std::pair<const char*, const char*> kEras[] = {
            {"明治", "18681023"}, {"大正", "19120730"}, {"昭和", "19261225"}, {"平成", "19890108"}, {"令和", "20190501"}};
        int code = 0;
        for (auto [name, from] : kEras)
            if (!w.insert(w.row()("区分", code++)("名称", name)("開始日付", from))) return false;
        return true;
    });
    // Quotations and inquiries are numbered per fiscal year, the view log per day.
    ok = ok && c.write("A番号情報", [&](TableWriter& w) {
        return w.insert(w.row()("番号ID", "16210")("名称", "営業見積")("連番種類", "1")("連番", "00000000")(
                   "履歴連番", "00000000")("更新プログラム", kUpdateProgramName)) &&
               w.insert(w.row()("番号ID", "16130")("名称", "営業引合")("連番種類", "1")("連番", "00000000")(
                   "履歴連番", "00000000")("更新プログラム", kUpdateProgramName)) &&
               w.insert(w.row()("番号ID", "01110")("名称", "閲覧")("連番種類", "3")("連番", "00000000")(
                   "履歴連番", "00000000")("更新プログラム", ""));
    });
    return ok;
}

bool SeedCodeTables(DemoContext& c) {
    return WriteCodes(c, "K消費税区分", {"得意先設定", "外税", "内税"}) &&
           WriteCodes(c, "K消費税算出区分", {"計算しない", "明細単位", "伝票単位", "請求単位"}) &&
           WriteCodes(c, "K見積消費税表示区分", {"表示しない", "表示する"}) &&
           WriteCodes(c, "K見積合計表示区分", {"表示しない", "表示する"}) &&
           WriteCodes(c, "K見積行区分", {"未設定", "明細", "小計", "中計", "大計", "合計"}) &&
           WriteCodes(c, "K取引状況区分", {"見込", "取引中", "休眠", "取引停止"}) &&
           WriteCodes(c, "K取扱状況区分", {"準備中", "取扱中", "在庫限り", "取扱中止"}) &&
           WriteCodes(c, "K稼動状況区分", {"準備中", "稼動中", "休止"}) &&
           WriteCodes(c, "K使用状況区分", {"未使用", "使用中", "使用停止"}) &&
           WriteCodes(c, "K在籍区分", {"在籍", "退職"}) &&
           WriteCodes(c, "K社員区分", {"正社員", "契約社員", "パート", "派遣"}) &&
           WriteCodes(c, "K品区分", {"商品", "製品", "部品", "材料", "サービス", "諸口", "値引", "運賃", "その他", "非売品"}) &&
           WriteCodes(c, "K在庫管理区分", {"管理しない", "管理する"}) &&
           WriteCodes(c, "K発信区分", {"受信", "発信"}) &&
           WriteCodes(c, "K応対方法", {"訪問", "来社", "電話", "メール", "FAX", "Web会議"}) &&
           WriteCodes(c, "K要件分類", {"新規開拓", "引合", "見積", "受注", "納品", "クレーム", "その他"}) &&
           c.write("K対応分類", [&](TableWriter& w) {
               static constexpr const char* kStages[] = {"初回", "継続", "提案", "完了"};
               for (int subject = 0; subject < 7; ++subject) {
                   int code = 0;
                   for (const char* stage : kStages)
                       if (!w.insert(w.row()("要件分類", subject)("区分", code++)("名称", stage))) return false;
               }
               return true;
           });
}

bool SeedStaff(DemoContext& c) {
    bool ok = c.write("M部門", [&](TableWriter& w) {
        static constexpr std::pair<const char*, const char*> kDepartments[] = {
            {"001", "営業部"}, {"002", "技術部"}, {"003", "業務部"}, {"004", "管理部"}, {"009", "旧開発部"}};
        for (auto [code, name] : kDepartments)
            if (!w.insert(w.row()("コード", code)("名称", name)("略称", name)("稼動状況区分", code[2] == '9' ? "2" : "1")))
                return false;
        return true;
    });
    ok = ok && c.write("Mセクション", [&](TableWriter& w) {
        struct Section {
            const char* code;
            const char* name;
            const char* department;
        };
        static constexpr Section kSections[] = {
            {"011", "営業一課", "001"}, {"012", "営業二課", "001"}, {"013", "営業推進課", "001"},
            {"021", "技術サポート課", "002"}, {"031", "受発注課", "003"}, {"032", "物流課", "003"},
            {"041", "総務課", "004"}, {"042", "経理課", "004"}};
        for (const Section& s : kSections)
            if (!w.insert(w.row()("コード", s.code)("名称", s.name)("略称", s.name)("部門コード", s.department)("稼動状況区分", "1")))
                return false;
        return true;
    });
    ok = ok && c.write("M担当者", [&](TableWriter& w) {
        for (const DemoStaff& s : c.staff) {
            auto row = w.row();
            row("コード", s.code)("氏名", s.name)("カナ", s.kana)("事業所コード", s.office)("部門コード", s.department)(
                "セクションコード", s.section)("役職コード", s.title)("社員区分", s.employeeKind)("在籍区分", s.employed)(
                "入社日付", "20" + Pad(10 + std::stoi(s.code) % 13, 2) + "0401")("退社日付", s.leavingDate)(
                "ログインID", s.loginId)("暗証番号", c.settings.cipher ? c.settings.cipher->Encipher(DemoPin(s.code)) : "")(
                "アクセス権限", s.accessLevel)("電話", "")("EMAIL", s.loginId + "@mitsuwa-shoji.example.jp")(
                "登録日付", "20190401 090000");
            for (int category = 0; category < 10; ++category)
                row("処理分類" + std::to_string(category) + "操作許可", s.partTime && category == 3 ? "1" : "0");
            for (const char* permission : {"操作許可", "入力許可", "修正許可", "削除許可", "印刷許可", "プレビュ許可",
                                           "テキスト出力許可", "イメージ出力許可"})
                row(permission, s.partTime && std::string(permission) == "削除許可" ? "1" : "0");
            if (!w.insert(row)) return false;
        }
        return true;
    });
    return ok;
}

}  // namespace velmora
