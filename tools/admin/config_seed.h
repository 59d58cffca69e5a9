#pragma once

#include <string>
#include <vector>

#include "admin/demo_data.h"
#include "app/session.h"
#include "data/connection.h"

namespace velmora {

// Where the business data of the installation lives, as the データベース定義
// row names it: kind "A" is an SQLite file, kind "S" a PostgreSQL catalog.
// The programs of the business menu "Carnelo": this program and its siblings.
struct MenuProgram {
    const char* id;
    const char* caption;
    const char* category;  // 処理分類
};
const std::vector<MenuProgram>& CarneloPrograms();

// Fills a new configuration database: the data source, the operating
// environment of office 001, the menu rows and the staff permissions.
bool SeedConfigurationDatabase(Connection& db, const DatabaseDefinition& source, const std::vector<DemoStaff>& staff,
                               std::string& error);

}  // namespace velmora
