#include "documents_fixture.h"

#include "data/sql_text.h"
#include "pricing/currency.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "quotation/save_status.h"
#include "support/statements.h"

namespace velmora::test {

void DocumentsTest::SetUp() {
    dbs = std::make_unique<Databases>(GetParam(), "20241206 093015", postgresSource());
    VELMORA_REQUIRE_DATABASE(*dbs);
    for (const auto& table :
         {InsertSql("A番号情報", "番号ID, 連番種類, 連番, 履歴連番, 更新プログラム",
                    {{"16210", "1", "00000000", "00000000", "Nelvaro"},
                     {"16130", "1", "00000000", "00000000", "Nelvaro"},
                     {"01110", "3", "00000000", "00000000", ""}}),
          InsertSql("G消費税", "施行日, 消費税率", {{"20140401", "8"}, {"20191001", "10"}}),
          InsertSql("M担当者", "コード, 氏名", {{"00012", "佐藤 一郎"}}),
          InsertSql("M部門", "コード, 名称", {{"010", "営業部"}})})
        for (const std::string& sql : table) exec(sql);
    context.operatingOffice = "001";
    context.startStaffCode = "00012";
    context.staffCode = "00012";
    context.staffName = "佐藤 一郎";
    context.userName = "sato";
    context.computerName = "PC-EIGYO01";
    context.company.決算月 = 3;
    context.company.決算日 = 31;
    context.company.売上数量少数以下桁数 = 2;
    context.company.売上単価少数以下桁数 = 2;
    context.updateRunFlag = 1;
    context.programFolder = dbs->dir().path().string();
    scope = std::make_unique<DocumentScope>(access(), quotation, context, prompts);
    session = std::make_unique<RecordingSession>(access(), dbs->configConnectionString(),
                                                 dbs->business().connectionString());
}

void DocumentsTest::setLines(int lines, const std::string& prefix) {
    for (int i = 0; i < lines; ++i) {
        QuotationLine& line = quotation.lines[static_cast<size_t>(i)];
        line.商品コード = "P" + std::to_string(1000 + i);
        line.商品名 = prefix + std::to_string(i + 1);
        line.見積数量 = Units(i + 1);
        line.見積単価 = Units(100);
        line.見積金額 = Units(100 * (i + 1));
        line.売上消費税区分 = 1;
        line.仕入数量 = Units(i + 1);
        line.仕入単価 = Units(60);
        line.仕入金額 = Units(60 * (i + 1));
    }
    for (size_t i = static_cast<size_t>(lines); i <= static_cast<size_t>(std::max(quotation.LastLine, 0)); ++i)
        quotation.ClearLine(i);
    quotation.LastLine = lines - 1;
    scope->RecomputeTotals();
}

void DocumentsTest::fillNew(const std::string& date, int lines, const std::string& title) {
    StartNewQuotation(*scope, date);
    QuotationHeader& h = quotation.header;
    h.得意先コード = "000101";
    h.得意先名称A = "株式会社 北斗";
    h.担当者コード = "00012";
    h.部門コード = "010";
    h.タイトル = title;
    setLines(lines, "品目");
}

void DocumentsTest::saveOk() {
    SaveOutcome outcome = QuotationSaver(*scope, session.get()).Save();
    ASSERT_TRUE(outcome.stored) << quotation.SaveStatus << " " << quotation.SaveMessage;
}

void DocumentsTest::open(const std::string& baseDate, const std::string& number) {
    ASSERT_TRUE(QuotationLoader(*scope).OpenStored("001", baseDate, number)) << baseDate << " " << number;
}

std::string DocumentsTest::value(const std::string& sql, const std::string& column) {
    std::unique_ptr<Recordset> rs;
    if (!access().OpenDataRecordset(rs, sql)) return "(no row)";
    return rs->text(column);
}

std::vector<std::string> DocumentsTest::rows(const std::string& sql, std::initializer_list<const char*> names) {
    std::unique_ptr<Recordset> rs;
    access().OpenDataRecordset(rs, sql);
    std::vector<std::string> out;
    for (; rs && !rs->eof(); rs->moveNext()) {
        std::string row;
        for (const char* name : names) row += (row.empty() ? "" : " ") + rs->text(name);
        out.push_back(row);
    }
    return out;
}

void DocumentsTest::addActivity(const std::string& start, const std::string& office, const std::string& baseDate,
                                const std::string& number) {
    exec("INSERT INTO T営業活動明細 (担当者コード, 日付, 開始時刻, 終了時刻, 営業活動摘要, 営業見積事業所コード, "
         "営業見積番号基準日付, 営業見積No) VALUES ('00012', '20241205', '" +
         start + "', '1800', '訪問', '" + office + "', '" + baseDate + "', '" + number + "')");
}

}  // namespace velmora::test
