#include "admin/config_seed.h"

#include <functional>

#include "admin/schema_catalog.h"
#include "admin/table_writer.h"
#include "data/schema_text.h"

namespace velmora {

const std::vector<MenuProgram>& CarneloPrograms() {
    // Category 0 registers masters, 1 handles sales documents, 9 runs system work.
    static const std::vector<MenuProgram> programs = {
        {"Velmora", "営業見積入力", "1"},       {"Orvessa", "営業見積書発行", "1"},
        {"Talmire", "顧客注文入力", "1"},       {"Kasmeri", "封筒印刷", "1"},
        {"Penrodi", "商品別営業活動照会", "1"}, {"Tovarek", "営業日程報告", "1"},
        {"Dunvale", "得意先登録", "0"},         {"Ferrano", "対応先登録", "0"},
        {"Galtesi", "得意先御担当者登録", "0"}, {"Hormeli", "対応先御担当者登録", "0"},
        {"Istavo", "納品先登録", "0"},          {"Juvenko", "仕入先登録", "0"},
        {"Lorrima", "商品登録", "0"},           {kUpdateProgramName, "更新処理", "9"},
    };
    return programs;
}

namespace {

bool Write(Connection& db, const std::vector<CatalogTable>& tables, const char* name, std::string& error,
           const std::function<bool(TableWriter&)>& fill) {
    const CatalogTable* table = FindTable(tables, name);
    if (table == nullptr) {
        error = std::string("no table ") + name + " in the configuration schema";
        return false;
    }
    TableWriter writer(db, *table);
    if (!fill(writer) || !writer.finish()) {
        error = writer.error();
        return false;
    }
    return true;
}

}  // namespace

bool SeedConfigurationDatabase(Connection& db, const DatabaseDefinition& source, const std::vector<DemoStaff>& staff,
                               std::string& error) {
    std::vector<CatalogTable> tables = ParseSchema(ConfigSchemaSql());
    bool ok = Write(db, tables, "データベース定義", error, [&](TableWriter& w) {
        return w.insert(w.row()("情報種類", "GNR")("db", source.db)("プロバイダ名", source.provider)(
            "データソース名", source.dataSource)("サーバー名", source.serverName)("データベース名", source.databaseName)(
            "ユーザーID", source.userId)("パスワード", source.password));
    });
    // This computer works for the Tokyo branch; its first salesperson is signed in.
    ok = ok && Write(db, tables, "動作環境定義", error, [&](TableWriter& w) {
        auto row = w.row()("動作環境定義ID", "001")("運用事業所コード", "001")("インストール区分", "0")(
            "起動担当者コード", "00101")("更新実行区分", "0")("バックアップ方法", "0")("バックアップ日", "")(
            "バックアップ開始時刻", "2200");
        for (const char* day : {"バックアップ日曜区分", "バックアップ月曜区分", "バックアップ火曜区分", "バックアップ水曜区分",
                                "バックアップ木曜区分", "バックアップ金曜区分", "バックアップ土曜区分"})
            row(day, "0");
        return w.insert(row);
    });
    ok = ok && Write(db, tables, "Carnelo", error, [&](TableWriter& w) {
        int order = 0;
        for (const MenuProgram& program : CarneloPrograms()) {
            auto row = w.row()("プログラムID", program.id)("プログラム名称", program.caption)("表示順", ++order * 10)(
                "処理分類", program.category);
            if (std::string(program.id) == "Velmora")
                row("条件項目名A", "事業所コード")("条件項目名B", "番号基準日付")("条件項目名C", "営業見積No");
            if (!w.insert(row)) return false;
        }
        return true;
    });
    // Everyone may run the quotation and issuing programs; the part-timer may
    // neither delete quotations nor make form images.
    ok = ok && Write(db, tables, "担当者別操作許可プログラム", error, [&](TableWriter& w) {
        static constexpr const char* kPermissions[] = {"操作許可", "入力許可", "修正許可", "削除許可",
                                                       "印刷許可", "プレビュ許可", "テキスト出力許可", "イメージ出力許可"};
        for (const DemoStaff& s : staff) {
            if (s.employed != "0") continue;
            for (const char* program : {"Velmora", "Orvessa"}) {
                auto row = w.row()("担当者コード", s.code)("業務メニュ", "Carnelo")("プログラムID", program);
                for (const char* permission : kPermissions) {
                    bool forbidden = s.partTime && ((std::string(program) == "Velmora" && std::string(permission) == "削除許可") ||
                                                    (std::string(program) == "Orvessa" && std::string(permission) == "イメージ出力許可"));
                    row(permission, forbidden ? "1" : "0");
                }
                if (!w.insert(row)) return false;
            }
        }
        return true;
    });
    return ok;
}

}  // namespace velmora
