#pragma once

#include <span>

namespace velmora {

// A word of the demo data with its reading in half-width katakana (as the
// suite stores カナ) and a romanisation for login IDs and mail addresses.
struct DemoWord {
    const char* text;
    const char* kana;
    const char* roman;
};

struct DemoPlace {
    const char* prefecture;
    const char* city;
    const char* postcodeHead;  // first three digits
    const char* areaCode;      // telephone area code
};

// A product line of a category: name, reading, unit, typical list price.
struct DemoItem {
    const char* name;
    const char* kana;
    const char* unit;
    int listPrice;
};

struct DemoCategory {
    const char* code;
    const char* name;
    const char* codePrefix;  // leading letters of its product codes
    std::span<const DemoItem> items;
    std::span<const char* const> variants;  // second name line
};

std::span<const DemoWord> FamilyNames();
std::span<const DemoWord> GivenNames();
std::span<const DemoWord> CompanyStems();
std::span<const DemoWord> CompanyTrades();
std::span<const DemoWord> SupplierTrades();
std::span<const DemoPlace> Places();
std::span<const char* const> TownNames();
std::span<const char* const> BuildingNames();
std::span<const char* const> ContactDepartments();
std::span<const char* const> ContactTitles();
std::span<const DemoCategory> ProductCategories();

}  // namespace velmora
