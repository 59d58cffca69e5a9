#include <map>

#include "admin/demo_context.h"

namespace velmora {

namespace {

const DemoStaff& Staff(const DemoContext& ctx, const std::string& code) {
    for (const DemoStaff& s : ctx.staff)
        if (s.code == code) return s;
    return ctx.staff.front();
}

struct Inquiry {
    std::string office;
    std::string baseDate;
    std::string number;
    std::string date;
    std::string staff;
    std::string customer;
};

}  // namespace

// A few open sales inquiries of the last months, numbered per fiscal year as
// the inquiry program numbers them, and the sales activities around them.
bool SeedDocuments(DemoContext& ctx) {
    static constexpr int kDaysBack[] = {2, 5, 9, 16, 27, 41, 63, 95, 150};
    static constexpr int kQuantities[] = {10, 24, 5, 100, 3, 12, 50, 2, 36};
    std::vector<Inquiry> inquiries;
    std::map<std::string, int> counters;  // base date → last number given
    std::vector<const DemoPartner*> customers;
    for (const DemoPartner& c : ctx.customers)
        if (c.active && customers.size() < 40) customers.push_back(&c);
    std::vector<const DemoProduct*> goods;
    for (const DemoProduct& p : ctx.products)
        if (!p.service && !p.supplier.empty()) goods.push_back(&p);

    bool ok = ctx.write("T営業引合", [&](TableWriter& w) {
        for (size_t i = 0; i < std::size(kDaysBack); ++i) {
            const DemoPartner& customer = *customers[(i * 7) % customers.size()];
            const DemoProduct& product = *goods[(i * 37) % goods.size()];
            const DemoStaff& staff = Staff(ctx, customer.staff);
            const DemoPartner* supplier = nullptr;
            for (const DemoPartner& s : ctx.suppliers)
                if (s.code == product.supplier) supplier = &s;
            Inquiry inquiry;
            inquiry.date = DaysBefore(ctx.settings.today, kDaysBack[i]);
            inquiry.baseDate = FiscalYearEnd(inquiry.date);
            inquiry.number = Pad(++counters[inquiry.baseDate], 8);
            inquiry.office = staff.office;
            inquiry.staff = staff.code;
            inquiry.customer = customer.code;
            long long quantity = kQuantities[i];
            std::string nameA = product.name;
            std::string nameB = product.nameB;
            if (!w.insert(w.row()("事業所コード", inquiry.office)("番号基準日付", inquiry.baseDate)("営業引合No", inquiry.number)(
                    "営業引合日付", inquiry.date)("営業引合納期", DaysBefore(ctx.settings.today, kDaysBack[i] - 30))(
                    "得意先対応先区分", "0")("得意先コード", customer.code)("得意先名称A", customer.name)("得意先名称入力区分", "1")(
                    "担当者コード", staff.code)("部門コード", staff.department)("セクションコード", staff.section)(
                    "営業引合商品コード", product.code)("営業引合商品名A", nameA)("営業引合商品名B", nameB)(
                    "営業引合商品名称入力区分", "1")("営業引合数量", quantity)("営業引合単位", product.unit)(
                    "営業引合単価", Cents(product.priceCents))("営業引合金額", quantity * product.priceCents / 100)(
                    "仕入先対応先区分", "0")("仕入先コード", product.supplier)("仕入先名称A", supplier ? supplier->name : "")(
                    "仕入先名称入力区分", "0")("仕入単価", Cents(product.purchaseCents))(
                    "仕入金額", quantity * product.purchaseCents / 100)("承認区分", "0")(
                    "ユーザID", staff.loginId + staff.code + "DEMO")("登録日付", inquiry.date + " 100000")))
                return false;
            inquiries.push_back(inquiry);
        }
        return true;
    });
    // The inquiry counters stand at the numbers given.
    ok = ok && ctx.write("A期日別番号情報", [&](TableWriter& w) {
        for (const auto& [baseDate, last] : counters)
            if (!w.insert(w.row()("番号ID", "16130")("期日", baseDate)("連番", Pad(last, 8))("履歴連番", Pad(last, 8))))
                return false;
        return true;
    });
    ok = ok && ctx.write("T営業活動明細", [&](TableWriter& w) {
        static constexpr const char* kNotes[] = {"製品説明と価格の確認", "仕様の打合せ", "見積依頼を受領",
                                                 "納期の問合せに回答", "担当者変更のご挨拶", "展示会のご案内"};
        int n = 0;
        for (const Inquiry& inquiry : inquiries) {
            const DemoStaff& staff = Staff(ctx, inquiry.staff);
            for (int k = 0; k < 2; ++k, ++n) {
                std::string start = Pad(9 + (n * 2) % 8, 2) + ":" + (n % 2 ? "30" : "00");
                std::string end = Pad(10 + (n * 2) % 8, 2) + ":" + (n % 2 ? "30" : "00");
                bool linked = k == 0;
                std::string day = k == 0 ? inquiry.date : RollOver(std::stoi(inquiry.date.substr(0, 4)),
                                                                    std::stoi(inquiry.date.substr(4, 2)),
                                                                    std::stoi(inquiry.date.substr(6, 2)) + 1)
                                                              .Text();
                if (!w.insert(w.row()("担当者コード", staff.code)("日付", day)("開始時刻", start)("終了時刻", end)(
                        "事業所コード", staff.office)("発信区分", n % 3 == 0 ? "0" : "1")("応対方法", n % 6)(
                        "要件分類", linked ? "1" : "2")("対応分類", n % 4)("得意先対応先区分", "0")(
                        "得意先コード", inquiry.customer)("相手先御担当者名", n % 5 == 4 ? "" : "ご担当者様")(
                        "営業活動摘要", kNotes[n % 6])("営業引合事業所コード", linked ? inquiry.office : "")(
                        "営業引合番号基準日付", linked ? inquiry.baseDate : "")("営業引合No", linked ? inquiry.number : "")(
                        "ユーザID", staff.loginId + staff.code + "DEMO")("登録日付", day + " 180000")))
                    return false;
            }
        }
        return true;
    });
    return ok;
}

}  // namespace velmora
