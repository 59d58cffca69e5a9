#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// Each user chooses the installation that the desktop menu entry and the
// command velmora start. The choice is one line, the installation's root
// folder, in $XDG_CONFIG_HOME/velmora/installation (~/.config when that is
// not set or not an absolute path).
std::filesystem::path ChosenInstallationFile();

// The folder the file names, trimmed of blanks and the line end; empty when
// there is no file or it names nothing.
std::filesystem::path ReadChosenInstallation();

// Names root (made absolute) in the file, creating its folder; a message in
// error when that fails.
bool WriteChosenInstallation(const std::filesystem::path& root, std::string& error);

// What the menu entry can start.
enum class InstallationChoice { Ready, NoneChosen, Missing, NotAnInstallation };

struct ChosenInstallation {
    InstallationChoice choice = InstallationChoice::NoneChosen;
    std::filesystem::path root;     // as the file names it
    std::filesystem::path program;  // root/prgbin/Velmora, when Ready
};

// Reads the choice and checks that it is an installation with a program to
// start: its configuration database and an executable prgbin/Velmora.
ChosenInstallation CheckChosenInstallation();

}  // namespace velmora
