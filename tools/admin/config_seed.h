#pragma once

#include <string>
#include <vector>

#include "admin/demo_data.h"
#include "app/session.h"
#include "data/connection.h"

namespace velmora {

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
