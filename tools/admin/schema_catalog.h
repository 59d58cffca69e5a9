#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The tables of a DDL text as the admin tool needs them for bulk inserts:
// column names in order and whether each holds a number.
struct CatalogColumn {
    std::string name;
    bool numeric = false;
};

struct CatalogTable {
    std::string name;
    std::vector<CatalogColumn> columns;
};

// Reads the plain CREATE TABLE statements of our schema files (one column per
// line, "--" comments, PRIMARY KEY clauses). Anything else is skipped.
std::vector<CatalogTable> ParseSchema(std::string_view ddl);

// Null when the table is not in the list.
const CatalogTable* FindTable(const std::vector<CatalogTable>& tables, std::string_view name);

}  // namespace velmora
