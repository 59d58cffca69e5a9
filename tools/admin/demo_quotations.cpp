#include "admin/demo_quotations.h"

#include <memory>
#include <span>
#include <vector>

#include "admin/demo_random.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/document_scope.h"
#include "quotation/load.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"

namespace velmora {

namespace {

class CollectingPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string& text) override { last = text; }
    bool AskYesNo(const std::string&) override { return false; }
    std::string last;
};

struct Row {
    std::unique_ptr<Recordset> rs;
    std::vector<size_t> positions;
};

const char* const kTitles[] = {"事務用品一式のお見積り",   "オフィス家具入替の件",   "消耗品定期納入について",
                               "新事務所開設に伴う備品", "年度末一括購入のご提案", "トナー・用紙の単価見直し",
                               "会議室設備更新の件",     "倉庫用品のお見積り",     "梱包資材のご提案"};
const char* const kDeliveries[] = {"ご注文後7日以内", "ご注文後10日以内", "受注後2週間", "別途ご相談"};
const char* const kValidity[] = {"発行後30日", "発行後1ヶ月", "今月末まで"};

std::string dateBefore(const CalendarDate& today, int days) { return RollOver(today.year, today.month, today.day - days).Text(); }

Currency scaledOf(const Recordset& rs, const char* column) { return Currency::FromScaled(rs.scaled4(column).value_or(0)); }

// The salesperson's follow-ups of a quotation: a visit on its day, a call and
// a mail the day after, as the activity report program records them.
bool recordFollowUps(DataAccess& access, const QuotationHeader& h) {
    CalendarDate day;
    CalendarDate::Parse(h.営業見積日付, day);
    const std::string next = RollOver(day.year, day.month, day.day + 1).Text();
    struct Activity {
        std::string date;
        const char *start, *end, *direction, *method, *stage, *contact, *note;
    };
    const Activity activities[] = {
        {h.営業見積日付, "13:15", "14:15", "1", "0", "0", "ご担当者様", "見積書を持参し説明"},
        {next, "15:45", "16:15", "1", "3", "2", "", "見積条件の補足をメールで送付"},
        {next, "10:15", "10:45", "0", "2", "1", "ご担当者様", "見積内容について問合せ"},
    };
    for (const Activity& a : activities)
        if (!access.ExecuteData(
                "INSERT INTO T営業活動明細 (担当者コード, 日付, 開始時刻, 終了時刻, 事業所コード, 発信区分, 応対方法, "
                "要件分類, 対応分類, 得意先対応先区分, 得意先コード, 相手先名称, 相手先御担当者名, 営業活動摘要, "
                "営業見積事業所コード, 営業見積番号基準日付, 営業見積No, ユーザID, 登録日付) VALUES ('" +
                h.担当者コード + "', '" + a.date + "', '" + a.start + "', '" + a.end + "', '" + h.事業所コード + "', '" +
                a.direction + "', '" + a.method + "', '2', '" + a.stage + "', '0', '" + h.得意先コード + "', '" +
                QuoteSql(h.得意先名称A) + "', '" + a.contact + "', '" + a.note + "', '" + h.事業所コード + "', '" + h.番号基準日付 +
                "', '" + h.営業見積No + "', 'demo" + h.担当者コード + "DEMO-PC', '" + a.date + " 180000')"))
            return false;
    return true;
}

}  // namespace

bool SeedDemoQuotations(const std::string& connection, const CalendarDate& today, int count, std::string& error) {
    auto now = std::make_shared<TimePoint>(ParseTimestamp(dateBefore(today, count * 3) + " 090000"));
    DataAccess access([now] { return *now; });
    access.identity() = {"Velmora", "001", "00101", "demo", "DEMO-PC"};
    DbError failure;
    if (!access.OpenDataConnection(connection, &failure)) {
        error = "cannot open the business database: " + failure.description;
        return false;
    }
    QuotationContext context;
    context.operatingOffice = "001";
    context.startStaffCode = "00101";
    context.userName = "demo";
    context.computerName = "DEMO-PC";
    // The notices go to the business database and are removed at the end:
    // nothing waits for an update program in a new installation.
    context.updateRunFlag = 1;
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") ||
        !ReadCompanySettings(*rs, context.company)) {
        error = "no company record to price the demo quotations with";
        return false;
    }
    std::unique_ptr<Recordset> customers, products;
    if (!access.OpenDataRecordset(customers, "SELECT TOP 40 * FROM M得意先 WHERE 取引状況区分 <> '3' ORDER BY コード") ||
        !access.OpenDataRecordset(products, "SELECT TOP 160 * FROM M商品 WHERE 取扱状況区分 <> '3' AND 品区分 < '9' "
                                            "ORDER BY コード")) {
        error = "no customers or products for the demo quotations";
        return false;
    }

    Quotation q;
    CollectingPrompts prompts;
    DocumentScope scope(access, q, context, prompts);
    DemoRandom random(20241206);
    for (int n = 0; n < count; ++n) {
        *now = ParseTimestamp(dateBefore(today, (count - n) * 3) + " 09" + std::to_string(10 + n % 50) + "00");
        StartNewQuotation(scope, FormatDate(*now));
        QuotationHeader& h = q.header;
        customers->moveFirst();
        for (int skip = random.below(static_cast<int>(customers->rowCount())); skip > 0; --skip) customers->moveNext();
        h.得意先対応先区分 = 0;
        h.得意先コード = customers->text("コード");
        h.得意先名称A = customers->text("名称A");
        h.得意先名称B = customers->text("名称B");
        h.御担当者名 = customers->text("御担当者名");
        h.担当者コード = customers->text("担当者コード");
        std::unique_ptr<Recordset> staff;
        if (access.OpenDataRecordset(staff, "SELECT * FROM M担当者 WHERE コード = '" + h.担当者コード + "'")) {
            h.担当者名 = staff->text("氏名");
            h.部門コード = staff->text("部門コード");
            h.セクションコード = staff->text("セクションコード");
        }
        h.得意先消費税区分 = customers->code("消費税区分");
        h.得意先消費税算出区分 = customers->code("消費税算出区分");
        h.得意先消費税丸め方法 = customers->code("消費税丸め方法");
        h.得意先消費税丸め桁位置 = customers->code("消費税丸め桁位置");
        h.得意先消費税端数調整区分 = customers->code("消費税端数調整区分");
        h.定価掛率 = scaledOf(*customers, "定価掛率");
        h.タイトル = random.pick(std::span<const char* const>(kTitles));
        h.見積条件 = "従来通り";
        h.見積納期 = random.pick(std::span<const char* const>(kDeliveries));
        h.見積期限 = random.pick(std::span<const char* const>(kValidity));

        QuotationPricing pricing(context.company, scope.rates);
        int lines = random.between(2, 12);
        for (int i = 0; i < lines; ++i) {
            products->moveFirst();
            for (int skip = random.below(static_cast<int>(products->rowCount())); skip > 0; --skip) products->moveNext();
            QuotationLine& line = q.lines[static_cast<size_t>(i)];
            line.行区分 = kLineOrdinary;
            line.商品コード = products->text("コード");
            line.商品名 = products->text("名称A");
            line.見積単位 = products->text("単位");
            line.仕入単位 = products->text("単位");
            line.仕入先コード = products->text("仕入先コード");
            line.商品売上課税区分 = products->code("売上課税区分");
            line.商品売上消費税区分 = products->code("売上消費税区分");
            line.商品仕入課税区分 = products->code("仕入課税区分");
            line.商品仕入消費税区分 = products->code("仕入消費税区分");
            line.商品税抜販売定価 = scaledOf(*products, "税抜販売定価");
            line.商品税込販売定価 = scaledOf(*products, "税込販売定価");
            line.商品税抜販売単価 = scaledOf(*products, "税抜販売単価");
            line.商品税込販売単価 = scaledOf(*products, "税込販売単価");
            line.商品税抜仕入単価 = scaledOf(*products, "税抜仕入単価");
            line.商品税込仕入単価 = scaledOf(*products, "税込仕入単価");
            q.LastLine = i;
            pricing.ProductEntered(h, q.linesInUse(), static_cast<size_t>(i));
            pricing.EnterFigure(h, q.linesInUse(), static_cast<size_t>(i), LineFigure::見積数量,
                                Currency::FromScaled(random.between(1, 40) * 10000LL));
        }
        if (n % 4 == 3) {
            q.LastLine = lines;
            pricing.EnterLineKind(h, q.linesInUse(), static_cast<size_t>(lines), kLineSubtotal);
        }
        pricing.Totals(h, q.linesInUse());
        if (!QuotationSaver(scope, nullptr).Save().stored) {
            error = "demo quotation " + std::to_string(n + 1) + " was not stored: " + q.SaveMessage + prompts.last;
            return false;
        }
        if (n == count - 1 && !recordFollowUps(access, q.header)) {
            error = "the activities of demo quotation " + q.header.営業見積No + " were not stored";
            return false;
        }
        // Every fifth one was changed a day later: its history has a red and a black half.
        if (n % 5 == 1) {
            std::string office = q.header.事業所コード, baseDate = q.header.番号基準日付, number = q.header.営業見積No;
            *now += std::chrono::hours(24);
            QuotationLoader loader(scope);
            if (!loader.OpenStored(office, baseDate, number)) {
                error = "demo quotation " + number + " cannot be read back";
                return false;
            }
            pricing.EnterFigure(q.header, q.linesInUse(), 0, LineFigure::見積数量,
                                Currency::Add(q.lines[0].見積数量, Currency::FromScaled(10000)).value_or(q.lines[0].見積数量));
            pricing.Totals(q.header, q.linesInUse());
            if (!QuotationSaver(scope, nullptr).Save().stored) {
                error = "demo quotation " + number + " was not changed: " + q.SaveMessage + prompts.last;
                return false;
            }
        }
    }
    access.ExecuteData("DELETE FROM 未集計情報");
    return true;
}

}  // namespace velmora
