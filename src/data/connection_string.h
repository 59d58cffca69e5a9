#pragma once

#include <map>
#include <string>

namespace velmora {

// The parts of the suite's connection strings.
struct ConnectionParts {
    std::string provider;
    std::string userId;
    std::string password;
    std::string dataSource;
    std::string initialCatalog;
    bool hasInitialCatalog = false;
};

// "Provider=…;User ID=;Password=;Data Source=<path>" (the shared file) or with
// a trailing ";" (the file in use); kind 1 is .accdb, kind 2 is .mdb.
std::string ConfigConnectionString(int configKind, const std::string& path);

// Data connection of database kind "A" or "O" and of kind "S".
std::string FileConnectionString(const std::string& provider, const std::string& user,
                                 const std::string& password, const std::string& dataSource);
std::string ServerConnectionString(const std::string& provider, const std::string& user,
                                   const std::string& password, const std::string& server,
                                   const std::string& catalog);

// Splits "Key=value;Key=value;…". Keys compare without regard to case;
// a value may itself hold no ";".
ConnectionParts ParseConnectionString(const std::string& text);

}  // namespace velmora
