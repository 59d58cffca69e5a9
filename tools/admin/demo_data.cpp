#include "admin/demo_data.h"

#include <chrono>
#include <set>

#include "admin/demo_context.h"
#include "data/schema_text.h"

namespace velmora {

bool DemoContext::write(std::string_view table, const std::function<bool(TableWriter&)>& fill) {
    const CatalogTable* found = FindTable(tables, table);
    if (found == nullptr) {
        error = "no table " + std::string(table) + " in the business schema";
        return false;
    }
    TableWriter writer(db, *found);
    bool filled = writer.error().empty() && fill(writer);
    if (!filled || !writer.finish()) {
        error = writer.error().empty() ? std::string(table) + ": not written" : writer.error();
        return false;
    }
    return true;
}

std::string Pad(long long value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), '0');
    return text;
}

std::string Cents(long long hundredths) {
    std::string text = std::to_string(hundredths / 100);
    long long rest = hundredths % 100;
    if (rest == 0) return text;
    text += "." + Pad(rest, 2);
    if (text.back() == '0') text.pop_back();
    return text;
}

long long WithTax(long long hundredths) { return hundredths * 110 / 100; }

std::string Phone(DemoRandom& random, const DemoPlace& place) {
    std::string area = place.areaCode;
    if (area.size() == 2) return area + "-" + Pad(random.between(3000, 6999), 4) + "-" + Pad(random.below(10000), 4);
    return area + "-" + Pad(random.between(200, 999), 3) + "-" + Pad(random.below(10000), 4);
}

std::string Postcode(DemoRandom& random, const DemoPlace& place) {
    return std::string(place.postcodeHead) + "-" + Pad(random.below(10000), 4);
}

std::string DaysBefore(const CalendarDate& today, int days) {
    return RollOver(today.year, today.month, today.day - days).Text();
}

std::string FiscalYearEnd(const std::string& date) {
    int year = std::stoi(date.substr(0, 4));
    std::string closing = std::to_string(year) + "0331";
    return closing < date ? std::to_string(year + 1) + "0331" : closing;
}

std::string DemoPin(const std::string& staffCode) {
    return staffCode.size() >= 4 ? staffCode.substr(staffCode.size() - 4) : staffCode;
}

std::vector<DemoStaff> DemoStaffList(const CalendarDate& today) {
    struct Post {
        const char* code;
        const char* office;
        const char* department;
        const char* section;
        const char* title;
        bool sales;
    };
    // Head office: management and administration; two branches with sales,
    // technical support and order handling.
    static constexpr Post kPosts[] = {
        {"00001", "000", "004", "041", "01", false}, {"00002", "000", "004", "041", "03", false},
        {"00003", "000", "004", "042", "02", false}, {"00004", "000", "004", "042", "", false},
        {"00101", "001", "001", "011", "02", true},  {"00102", "001", "001", "011", "03", true},
        {"00103", "001", "001", "011", "", true},    {"00104", "001", "001", "012", "02", true},
        {"00105", "001", "001", "012", "", true},    {"00106", "001", "001", "013", "", true},
        {"00107", "001", "002", "021", "03", false}, {"00108", "001", "001", "012", "", true},
        {"00109", "001", "003", "031", "", false},   {"00110", "001", "003", "031", "", false},
        {"00201", "002", "001", "011", "02", true},  {"00202", "002", "001", "011", "", true},
        {"00203", "002", "001", "012", "03", true},  {"00204", "002", "001", "012", "", true},
        {"00205", "002", "001", "013", "", true},    {"00206", "002", "002", "021", "", false},
        {"00207", "002", "003", "031", "03", false}, {"00208", "002", "003", "032", "", false},
        {"00209", "002", "001", "013", "", true},    {"00210", "002", "003", "031", "", false},
    };
    DemoRandom random(1868);
    std::set<std::string> used;
    std::vector<DemoStaff> list;
    for (const Post& post : kPosts) {
        const DemoWord* family = nullptr;
        const DemoWord* given = nullptr;
        do {
            family = &random.pick(FamilyNames());
            given = &random.pick(GivenNames());
        } while (!used.insert(std::string(family->roman) + "." + given->roman).second);
        DemoStaff s;
        s.code = post.code;
        s.name = std::string(family->text) + " " + given->text;
        s.kana = std::string(family->kana) + " " + given->kana;
        s.loginId = std::string(family->roman) + "." + given->roman;
        s.office = post.office;
        s.department = post.department;
        s.section = post.section;
        s.title = post.title;
        s.employeeKind = "0";
        s.employed = "0";
        s.accessLevel = (s.code == "00001" || s.code == "00003") ? "6" : "1";
        s.sales = post.sales;
        list.push_back(s);
    }
    // One member left half a year ago, one leaves next month, one works part-time,
    // one is on a fixed-term contract.
    for (DemoStaff& s : list) {
        if (s.code == "00108") {
            s.employed = "1";
            s.leavingDate = DaysBefore(today, 183);
        } else if (s.code == "00209") {
            s.employed = "1";
            s.leavingDate = DaysBefore(today, -30);
        } else if (s.code == "00110") {
            s.employeeKind = "2";
            s.partTime = true;
        } else if (s.code == "00210") {
            s.employeeKind = "1";
        }
    }
    return list;
}

bool SeedBusinessDatabase(Connection& db, const DemoSettings& settings, std::string& error) {
    DemoContext context{db, settings, ParseSchema(BusinessSchemaSql())};
    // Bulk loading needs no disk sync per transaction; the file is new.
    DbError ignored;
    if (db.kind() == EngineKind::SQLite) db.execute("PRAGMA synchronous=NORMAL", ignored);
    context.staff = DemoStaffList(settings.today);
    bool ok = SeedCompany(context) && SeedCodeTables(context) && SeedStaff(context) && SeedPartners(context) &&
              SeedProducts(context) && SeedDocuments(context);
    if (!ok) error = context.error;
    return ok;
}

}  // namespace velmora
