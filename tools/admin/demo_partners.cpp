#include "admin/demo_context.h"
#include "text/input_filters.h"

namespace velmora {

namespace {

constexpr int kCustomers = 100;
constexpr int kLargeCustomers = 100000;

// Name, reading, short name, address and telephone of a company.
struct Company {
    std::string nameA;
    std::string nameB;
    std::string shortName;
    std::string kana;
    std::string domain;
    std::string postcode;
    std::string addressA;
    std::string addressB;
    std::string addressC;
    std::string phone;
    std::string fax;
};

Company MakeCompany(DemoRandom& r, std::span<const DemoWord> trades, int branchChance) {
    const DemoWord& stem = r.pick(CompanyStems());
    const DemoWord& trade = r.pick(trades);
    const DemoPlace& place = r.pick(Places());
    Company c;
    c.shortName = std::string(stem.text) + trade.text;
    int form = r.below(10);
    c.nameA = form < 6 ? "株式会社" + c.shortName : form < 9 ? c.shortName + "株式会社" : "有限会社" + c.shortName;
    static constexpr const char* kBranches[] = {"本社", "東京支店", "大阪支店", "名古屋営業所", "横浜営業所", "九州支店"};
    if (r.percent(branchChance)) c.nameB = kBranches[r.below(6)];
    c.kana = std::string(stem.kana) + trade.kana;
    c.domain = std::string(stem.roman) + "-" + trade.roman + ".example.co.jp";
    c.postcode = Postcode(r, place);
    c.addressA = std::string(place.prefecture) + place.city;
    c.addressB = std::string(r.pick(TownNames())) + std::to_string(r.between(1, 5)) + "丁目" +
                 std::to_string(r.between(1, 30)) + "番" + std::to_string(r.between(1, 20)) + "号";
    const char* building = r.pick(BuildingNames());
    if (*building) c.addressC = std::string(stem.text) + building + std::to_string(r.between(1, 9)) + "F";
    c.phone = Phone(r, place);
    std::string fax = c.phone;
    fax.back() = static_cast<char>('0' + (fax.back() - '0' + 1) % 10);
    c.fax = fax;
    return c;
}

struct Person {
    std::string name;
    std::string kana;
    std::string roman;
};

Person MakePerson(DemoRandom& r) {
    const DemoWord& family = r.pick(FamilyNames());
    const DemoWord& given = r.pick(GivenNames());
    return {std::string(family.text) + " " + given.text, std::string(family.kana) + " " + given.kana,
            std::string(family.roman) + "." + given.roman};
}

TableWriter::Row& AddressRow(TableWriter::Row& row, const Company& c) {
    return row("名称A", c.nameA)("名称B", c.nameB)("略称", c.shortName)("カナ", c.kana)("郵便番号", c.postcode)(
        "住所A", c.addressA)("住所B", c.addressB)("住所C", c.addressC)("電話", c.phone)("電話番号", DigitsOnly(c.phone))(
        "FAX", c.fax)("EMAIL", "info@" + c.domain)("登録日付", "20200401 100000");
}

struct Contact {
    std::string parent;
    std::string code;
    Person person;
    std::string department;
    std::string title;
    std::string phone;
    std::string email;
};

// One to three contacts of a company, collected to be written after the
// company table (each table has its own transaction).
std::string AddContacts(DemoContext& ctx, std::vector<Contact>& list, const std::string& parent, const Company& company,
                        int count) {
    std::string first;
    for (int i = 1; i <= count; ++i) {
        Person p = MakePerson(ctx.random);
        std::string phone = company.phone;
        phone.replace(phone.size() - 2, 2, Pad(ctx.random.below(100), 2));
        if (i == 1) first = p.name;
        list.push_back({parent, Pad(i, 5), p, ctx.random.pick(ContactDepartments()), ctx.random.pick(ContactTitles()), phone,
                        p.roman + "@" + company.domain});
    }
    return first;
}

bool WriteContacts(DemoContext& ctx, const char* table, const char* parentColumn, const std::vector<Contact>& list) {
    return ctx.write(table, [&](TableWriter& w) {
        for (const Contact& c : list) {
            if (!w.insert(w.row()(parentColumn, c.parent)("御担当者コード", c.code)("氏名", c.person.name)(
                    "カナ", c.person.kana)("部署名", c.department)("役職名", c.title)("電話", c.phone)(
                    "電話番号", DigitsOnly(c.phone))("EMAIL", c.email)))
                return false;
        }
        return true;
    });
}

std::vector<const DemoStaff*> SalesStaff(const DemoContext& ctx) {
    std::vector<const DemoStaff*> list;
    for (const DemoStaff& s : ctx.staff)
        if (s.sales && s.employed == "0") list.push_back(&s);
    return list;
}

const DemoStaff* StaffByCode(const DemoContext& ctx, const std::string& code) {
    for (const DemoStaff& s : ctx.staff)
        if (s.code == code) return &s;
    return nullptr;
}

}  // namespace

bool SeedPartners(DemoContext& ctx) {
    DemoRandom& r = ctx.random;
    std::vector<const DemoStaff*> sales = SalesStaff(ctx);
    std::vector<Company> companies;
    const int total = kCustomers + (ctx.settings.large ? kLargeCustomers : 0);
    companies.reserve(kCustomers);

    std::vector<Contact> contacts;
    // Customers: most trade normally; a few are prospects, dormant or closed ('3').
    bool ok = ctx.write("M得意先", [&](TableWriter& w) {
        for (int i = 1; i <= total; ++i) {
            Company company = MakeCompany(r, CompanyTrades(), 15);
            const DemoStaff& staff = *sales[static_cast<size_t>(i) % sales.size()];
            std::string code = Pad(i, 6);
            const char* status = i % 37 == 0 ? "3" : i % 11 == 5 ? "0" : i % 13 == 7 ? "2" : "1";
            std::string contactName = i <= kCustomers ? AddContacts(ctx, contacts, code, company, 1 + i % 3) : "";
            auto row = w.row();
            AddressRow(row, company)("コード", code)("御担当者名", contactName)("担当者コード", staff.code)(
                "定価掛率", i % 7 == 0 ? "80" : i % 19 == 0 ? "85.5" : "0")("消費税区分", i % 10 == 3 ? "2" : "1")(
                "消費税算出区分", i % 17 == 4 ? "1" : i % 23 == 6 ? "3" : "2")(
                "消費税丸め方法", i % 9 == 2 ? "5" : i % 29 == 8 ? "9" : "0")("消費税丸め桁位置", "0")(
                "消費税端数調整区分", i % 8 == 1 ? "1" : "0")("名称入力区分", i % 12 == 0 ? "0" : "1")(
                "締日", i % 4 == 0 ? "20" : "31")("取引状況区分", status);
            if (!w.insert(row)) return false;
            if (i <= kCustomers) companies.push_back(company);
            ctx.customers.push_back({code, company.nameA, staff.code, staff.office, std::string(status) == "1"});
        }
        return true;
    });
    if (!ok || !WriteContacts(ctx, "M得意先御担当者", "得意先コード", contacts)) return false;

    // Delivery destinations: the company's own stock locations, then sites of
    // every third customer.
    ok = ctx.write("M納品先", [&](TableWriter& w) {
        static constexpr const char* kStock[][3] = {{"本社倉庫", "ﾎﾝｼｬｿｳｺ", "東京都江東区新木場一丁目"},
                                                    {"東京物流センター", "ﾄｳｷｮｳﾌﾞﾂﾘｭｳｾﾝﾀｰ", "東京都大田区平和島三丁目"},
                                                    {"大阪倉庫", "ｵｵｻｶｿｳｺ", "大阪府大阪市住之江区南港北一丁目"}};
        int next = 1;
        for (const auto& stock : kStock) {
            if (!w.insert(w.row()("コード", Pad(next++, 6))("名称A", stock[0])("略称", stock[0])("カナ", stock[1])(
                    "住所A", stock[2])("担当者コード", "00002")("在庫場所区分", "1")("名称入力区分", "0")("取引状況区分", "1")))
                return false;
        }
        static constexpr const char* kSites[][2] = {
            {"工場", "ｺｳｼﾞｮｳ"}, {"物流センター", "ﾌﾞﾂﾘｭｳｾﾝﾀｰ"}, {"第二工場", "ﾀﾞｲﾆｺｳｼﾞｮｳ"}, {"倉庫", "ｿｳｺ"}};
        for (int i = 3; i <= kCustomers; i += 3) {
            const DemoPartner& customer = ctx.customers[static_cast<size_t>(i - 1)];
            const Company& company = companies[static_cast<size_t>(i - 1)];
            for (int k = 0; k < (i % 9 == 0 ? 2 : 1); ++k) {
                Company site = MakeCompany(r, CompanyTrades(), 0);
                const auto& kind = kSites[static_cast<size_t>(i + k) % 4];
                auto row = w.row();
                AddressRow(row, site)("コード", Pad(next++, 6))("名称A", company.nameA)("名称B", kind[0])(
                    "略称", company.shortName + kind[0])("カナ", company.kana + kind[1])("担当者コード", customer.staff)(
                    "得意先コード", customer.code)("在庫場所区分", "0")("名称入力区分", "1")("取引状況区分", "1");
                if (!w.insert(row)) return false;
            }
        }
        return true;
    });

    // Suppliers: wholesalers, all with tax added per document.
    if (!ok) return false;
    contacts.clear();
    ok = ctx.write("M仕入先", [&](TableWriter& w) {
        for (int i = 1; i <= 20; ++i) {
            Company company = MakeCompany(r, SupplierTrades(), 0);
            std::string code = Pad(i, 6);
            std::string staff = i % 2 ? "00109" : "00207";
            AddContacts(ctx, contacts, code, company, 1 + i % 2);
            auto row = w.row();
            AddressRow(row, company)("コード", code)("担当者コード", staff)("消費税区分", "1")(
                "消費税算出区分", i % 5 == 0 ? "1" : "2")("消費税丸め方法", i % 6 == 0 ? "5" : "0")("消費税丸め桁位置", "0")(
                "消費税端数調整区分", "0")("名称入力区分", "0")("取引状況区分", i == 20 ? "3" : "1");
            if (!w.insert(row)) return false;
            ctx.suppliers.push_back({code, company.nameA, staff, StaffByCode(ctx, staff)->office, i != 20});
        }
        return true;
    });
    if (!ok || !WriteContacts(ctx, "M仕入先御担当者", "仕入先コード", contacts)) return false;
    contacts.clear();

    ok = ctx.write("Mメーカ", [&](TableWriter& w) {
        static constexpr DemoWord kMakerTrades[] = {
            {"製作所", "ｾｲｻｸｼｮ", "works"}, {"工業", "ｺｳｷﾞｮｳ", "ind"}, {"化学工業", "ｶｶﾞｸｺｳｷﾞｮｳ", "chem"}, {"電機", "ﾃﾞﾝｷ", "elec"}};
        for (int i = 1; i <= 15; ++i) {
            Company company = MakeCompany(r, kMakerTrades, 0);
            std::string code = Pad(i, 6);
            if (i <= 5) AddContacts(ctx, contacts, code, company, 1);
            auto row = w.row();
            AddressRow(row, company)("コード", code)("担当者コード", "00107")("取引状況区分", "1");
            if (!w.insert(row)) return false;
            ctx.makers.push_back({code, company.nameA, "00107", "001", true});
        }
        return true;
    });
    if (!ok || !WriteContacts(ctx, "Mメーカ御担当者", "メーカコード", contacts)) return false;
    contacts.clear();

    // Counterparties: prospects not yet registered as customers, a few group
    // companies of customers and one supplier that also buys.
    ok = ctx.write("M対応先", [&](TableWriter& w) {
        for (int i = 1; i <= 20; ++i) {
            Company company = MakeCompany(r, CompanyTrades(), 0);
            if (i % 4 == 0) company.nameA = "合同会社" + company.shortName;
            std::string code = Pad(i, 6);
            const DemoStaff& staff = *sales[static_cast<size_t>(i * 3) % sales.size()];
            std::string contactName = AddContacts(ctx, contacts, code, company, 1 + i % 2);
            auto row = w.row();
            AddressRow(row, company)("コード", code)("御担当者名", contactName)("担当者コード", staff.code)(
                "得意先コード", i % 5 == 0 ? ctx.customers[static_cast<size_t>(i)].code : "")(
                "仕入先コード", i == 7 ? ctx.suppliers[2].code : "")("消費税区分", "1")("消費税算出区分", "2")(
                "消費税丸め方法", "0")("消費税丸め桁位置", "0")("消費税端数調整区分", "0")("名称入力区分", "1")(
                "取引状況区分", i == 13 ? "3" : "1");
            if (!w.insert(row)) return false;
        }
        return true;
    });
    return ok && WriteContacts(ctx, "M対応先御担当者", "対応先コード", contacts);
}

}  // namespace velmora
