#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "admin/demo_data.h"
#include "admin/demo_random.h"
#include "admin/demo_words.h"
#include "admin/schema_catalog.h"
#include "admin/table_writer.h"

namespace velmora {

// What the demo tables share while they are written: later tables refer to
// the codes of earlier ones.
struct DemoPartner {
    std::string code;
    std::string name;      // 名称A
    std::string staff;     // 担当者コード
    std::string office;    // the staff member's office
    bool active = true;
};

struct DemoProduct {
    std::string code;
    std::string name;      // 名称A
    std::string nameB;
    std::string unit;
    long long priceCents = 0;     // 税抜販売単価 in hundredths
    long long purchaseCents = 0;  // 税抜仕入単価 in hundredths
    std::string supplier;
    bool service = false;
};

struct DemoContext {
    DemoContext(Connection& connection, const DemoSettings& demo, std::vector<CatalogTable> schema)
        : db(connection), settings(demo), tables(std::move(schema)) {}

    Connection& db;
    const DemoSettings& settings;
    std::vector<CatalogTable> tables;
    DemoRandom random{20240401};
    std::vector<DemoStaff> staff;
    std::vector<DemoPartner> customers;
    std::vector<DemoPartner> suppliers;
    std::vector<DemoPartner> makers;
    std::vector<DemoProduct> products;
    std::string error;

    // Writes one table in one transaction; false with the error set on failure.
    bool write(std::string_view table, const std::function<bool(TableWriter&)>& fill);
};

// Texts shared by the seeding steps.
std::string Pad(long long value, int width);
std::string Cents(long long hundredths);        // "48.5", "1200"
long long WithTax(long long hundredths);         // at 10 percent, cut to hundredths
std::string Phone(DemoRandom& random, const DemoPlace& place);
std::string Postcode(DemoRandom& random, const DemoPlace& place);
std::string DaysBefore(const CalendarDate& today, int days);
std::string FiscalYearEnd(const std::string& date);  // March 31 closing

bool SeedCompany(DemoContext& context);
bool SeedCodeTables(DemoContext& context);
bool SeedStaff(DemoContext& context);
bool SeedPartners(DemoContext& context);
bool SeedProducts(DemoContext& context);
bool SeedDocuments(DemoContext& context);

}  // namespace velmora
