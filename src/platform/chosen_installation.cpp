#include "platform/chosen_installation.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/identity.h"

namespace velmora {

namespace fs = std::filesystem;

fs::path ChosenInstallationFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    fs::path base = config != nullptr && *config == '/' ? fs::path(config) : fs::path(HomeFolder()) / ".config";
    return base / "velmora" / "installation";
}

fs::path ReadChosenInstallation() {
    std::ifstream in(ChosenInstallationFile());
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    const char* blanks = " \t\r\n";
    size_t first = line.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    size_t last = line.find_last_not_of(blanks);
    return fs::path(line.substr(first, last - first + 1));
}

bool WriteChosenInstallation(const fs::path& root, std::string& error) {
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec).lexically_normal();
    if (ec) {
        error = "cannot resolve " + root.string() + ": " + ec.message();
        return false;
    }
    // Without a trailing separator, so the file reads like the folder typed.
    if (absolute.has_parent_path() && absolute.filename().empty()) absolute = absolute.parent_path();
    const fs::path file = ChosenInstallationFile();
    fs::create_directories(file.parent_path(), ec);
    // Written beside and renamed over, so a reader never sees half a line.
    const fs::path partial = file.string() + ".new";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << absolute.string() << "\n";
        out.close();
        if (!out) {
            error = "cannot write " + file.string();
            fs::remove(partial, ec);
            return false;
        }
    }
    fs::rename(partial, file, ec);
    if (ec) {
        error = "cannot write " + file.string() + ": " + ec.message();
        fs::remove(partial, ec);
        return false;
    }
    return true;
}

ChosenInstallation CheckChosenInstallation() {
    ChosenInstallation chosen;
    chosen.root = ReadChosenInstallation();
    if (chosen.root.empty()) return chosen;
    std::error_code ec;
    if (!fs::is_directory(chosen.root, ec)) {
        chosen.choice = InstallationChoice::Missing;
        return chosen;
    }
    const fs::path program = chosen.root / "prgbin" / "Velmora";
    if (!fs::is_regular_file(chosen.root / "conf" / "usrcnfg.accdb", ec) || !fs::is_regular_file(program, ec) ||
        access(program.c_str(), X_OK) != 0) {
        chosen.choice = InstallationChoice::NotAnInstallation;
        return chosen;
    }
    chosen.choice = InstallationChoice::Ready;
    chosen.program = program;
    return chosen;
}

}  // namespace velmora
