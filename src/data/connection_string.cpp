#include "data/connection_string.h"

#include <algorithm>

namespace velmora {

std::string ConfigConnectionString(int configKind, const std::string& path) {
    std::string provider = configKind == 2 ? "Provider=Microsoft.Jet.OLEDB.4.0;" : "Provider=Microsoft.ACE.OLEDB.12.0;";
    return provider + "User ID=;" + "Password=;" + "Data Source=" + path;
}

std::string FileConnectionString(const std::string& provider, const std::string& user,
                                 const std::string& password, const std::string& dataSource) {
    return "Provider=" + provider + ";" + "User ID=" + user + ";" + "Password=" + password + ";" +
           "Data Source=" + dataSource + ";";
}

std::string ServerConnectionString(const std::string& provider, const std::string& user,
                                   const std::string& password, const std::string& server,
                                   const std::string& catalog) {
    return "Provider=" + provider + ";" + "User ID=" + user + ";" + "Password=" + password + ";" +
           "Data Source=" + server + ";" + "Initial Catalog=" + catalog + ";";
}

static std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return s;
}

ConnectionParts ParseConnectionString(const std::string& text) {
    ConnectionParts parts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(';', pos);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(pos, end - pos);
        pos = end + 1;
        size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        std::string key = lower(item.substr(0, eq));
        while (!key.empty() && key.front() == ' ') key.erase(key.begin());
        while (!key.empty() && key.back() == ' ') key.pop_back();
        std::string value = item.substr(eq + 1);
        if (key == "provider") parts.provider = value;
        else if (key == "user id") parts.userId = value;
        else if (key == "password") parts.password = value;
        else if (key == "data source") parts.dataSource = value;
        else if (key == "initial catalog") {
            parts.initialCatalog = value;
            parts.hasInitialCatalog = true;
        }
    }
    return parts;
}

}  // namespace velmora
