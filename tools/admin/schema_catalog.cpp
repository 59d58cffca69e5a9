#include "admin/schema_catalog.h"

#include <sstream>

namespace velmora {

namespace {

std::string_view Trim(std::string_view text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(" \t\r,");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<CatalogTable> ParseSchema(std::string_view ddl) {
    std::vector<CatalogTable> tables;
    CatalogTable* current = nullptr;
    std::istringstream lines{std::string(ddl)};
    std::string raw;
    while (std::getline(lines, raw)) {
        std::string_view line = Trim(raw);
        if (line.empty() || line.starts_with("--")) continue;
        if (line.starts_with("CREATE TABLE ")) {
            std::string_view rest = line.substr(13);
            tables.push_back({std::string(Trim(rest.substr(0, rest.find('(')))), {}});
            current = &tables.back();
            continue;
        }
        if (line.starts_with(")")) {
            current = nullptr;
            continue;
        }
        if (current == nullptr || line.starts_with("PRIMARY KEY")) continue;
        size_t blank = line.find(' ');
        if (blank == std::string_view::npos) continue;
        std::string_view type = Trim(line.substr(blank + 1));
        current->columns.push_back({std::string(line.substr(0, blank)), type.starts_with("NUMERIC")});
    }
    return tables;
}

const CatalogTable* FindTable(const std::vector<CatalogTable>& tables, std::string_view name) {
    for (const CatalogTable& table : tables)
        if (table.name == name) return &table;
    return nullptr;
}

}  // namespace velmora
