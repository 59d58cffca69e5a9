#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/clock.h"

namespace velmora {

// The files and folders of an installation tree below its root.
struct InstallationPaths {
    explicit InstallationPaths(const std::filesystem::path& root);
    std::filesystem::path root, programs, conf, configDatabase, cipherKey, report, reportDatabase, reportFormDatabase,
        manual, users, data, businessDatabase, documents, images, textOutput;
};

struct PostgresTarget {
    std::string dataSource;  // host, host:port, socket folder or folder:port
    std::string database;
    std::string user = "postgres";
    std::string password;
};

// What --size large stores besides its customers and products: ten years of
// quotations, about a million lines.
inline constexpr int kLargeQuotations = 100000;

struct InitOptions {
    std::filesystem::path root;
    std::optional<PostgresTarget> postgres;  // none: the business data is an SQLite file under data/
    bool large = false;
    int historyQuotations = 0;  // quotations of the years before the demo's own
    // Long steps report how far they are: the step, then done and total.
    std::function<void(const std::string& step, long long done, long long total)> progress;
    bool replace = false;
    std::filesystem::path programSource;  // folder with the built programs; empty copies none
    CalendarDate today;
};

struct InitResult {
    bool ok = false;
    std::string message;                   // what went wrong, or a summary
    std::vector<std::string> programs;     // programs copied into prgbin
};

// Builds the installation tree, both databases and the demo company.
InitResult InitInstallation(const InitOptions& options);

// This program and the sibling programs it starts, by their file names.
const std::vector<std::string>& InstalledProgramNames();

// Copies those of the programs that exist in the source folder into prgbin,
// replacing older copies (also while one of them runs).
bool RefreshPrograms(const std::filesystem::path& root, const std::filesystem::path& source,
                     std::vector<std::string>& copied, std::string& error);

}  // namespace velmora
