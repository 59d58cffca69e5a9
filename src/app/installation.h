#pragma once

#include <string>
#include <vector>

#include "app/session.h"
#include "app/startup_host.h"
#include "data/data_access.h"

namespace velmora {

// Tables without which a file is not this system's configuration or business
// database: another program's database is refused at the open, untouched.
const std::vector<std::string>& ConfigDatabaseTables();
const std::vector<std::string>& BusinessDatabaseTables();

// The installation root from the program's folder: the text before the first
// "prgbin" (any case), else before "prgsrc"; empty when neither is there.
std::string FindRootFolder(const std::string& programFolder);

// Folders, file kinds and both openings of the configuration connection; the
// database definition and the operating environment; the per-user copies.
bool OpenConfiguration(DataAccess& access, Session& session, StartUpHost& host, const std::string& programFolder);

// The connection string of the business database by its kind; empty for a
// kind this program does not know.
std::string DataConnectionString(const DatabaseDefinition& definition);

// The 'GNR' row of データベース定義 (Null columns left as they are).
void ReadDatabaseDefinition(const Recordset& row, DatabaseDefinition& definition);

// Opens an installation's configuration and business databases from its root
// folder, for tools that work on an installation without the start-up
// checks. A message in problem when it fails.
bool OpenInstallationDatabases(DataAccess& access, const std::string& root, DatabaseDefinition& definition,
                               std::string& problem);

// The per-user configuration and report copies (installation kind 1).
void PreparePerUserFolders(const InstallationLayout& layout, StartUpHost& host);

}  // namespace velmora
