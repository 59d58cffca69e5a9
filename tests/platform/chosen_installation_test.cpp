#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/chosen_installation.h"
#include "support/test_env.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

using Environment = test::ScopedEnvironment;

TEST(ChosenInstallationFile, FollowsTheXdgRules) {
    struct Case {
        std::optional<std::string> configHome;
        const char* expected;
    } cases[] = {
        {"/srv/cfg", "/srv/cfg/velmora/installation"},
        {std::nullopt, "/home/sato/.config/velmora/installation"},
        {"", "/home/sato/.config/velmora/installation"},
        {"relative/cfg", "/home/sato/.config/velmora/installation"},
    };
    Environment home("HOME", "/home/sato");
    for (const Case& c : cases) {
        Environment config("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(ChosenInstallationFile(), fs::path(c.expected)) << c.configHome.value_or("(unset)");
    }
}

// What the menu entry finds, from the file's text and the folder it names.
TEST(CheckChosenInstallation, StartsOnlyAFolderWithAProgramToRun) {
    test::TempDir dir;
    Environment config("XDG_CONFIG_HOME", dir.path().string());
    const fs::path good = dir.path() / "good";
    fs::create_directories(good / "prgbin");
    fs::create_directories(good / "conf");
    std::ofstream(good / "conf" / "usrcnfg.accdb") << "x";
    std::ofstream(good / "prgbin" / "Velmora") << "#!/bin/sh\n";
    chmod((good / "prgbin" / "Velmora").c_str(), 0755);
    const fs::path noProgram = dir.path() / "no-program";
    fs::create_directories(noProgram / "conf");
    std::ofstream(noProgram / "conf" / "usrcnfg.accdb") << "x";
    const fs::path notRunnable = dir.path() / "not-runnable";
    fs::create_directories(notRunnable / "prgbin");
    fs::create_directories(notRunnable / "conf");
    std::ofstream(notRunnable / "conf" / "usrcnfg.accdb") << "x";
    std::ofstream(notRunnable / "prgbin" / "Velmora") << "text";
    chmod((notRunnable / "prgbin" / "Velmora").c_str(), 0644);
    const fs::path noConfig = dir.path() / "no-config";
    fs::create_directories(noConfig / "prgbin");
    std::ofstream(noConfig / "prgbin" / "Velmora") << "#!/bin/sh\n";
    chmod((noConfig / "prgbin" / "Velmora").c_str(), 0755);

    struct Case {
        std::optional<std::string> text;  // none: no file at all
        InstallationChoice choice;
        fs::path root;
    } cases[] = {
        {std::nullopt, InstallationChoice::NoneChosen, {}},
        {"", InstallationChoice::NoneChosen, {}},
        {"  \n", InstallationChoice::NoneChosen, {}},
        {good.string() + "\n", InstallationChoice::Ready, good},
        {"  " + good.string() + " \r\n", InstallationChoice::Ready, good},
        {(dir.path() / "gone").string(), InstallationChoice::Missing, dir.path() / "gone"},
        {noProgram.string(), InstallationChoice::NotAnInstallation, noProgram},
        {noConfig.string(), InstallationChoice::NotAnInstallation, noConfig},
        {(good / "conf" / "usrcnfg.accdb").string(), InstallationChoice::Missing, good / "conf" / "usrcnfg.accdb"},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir.path() / "velmora");
        if (c.text) {
            fs::create_directories(dir.path() / "velmora");
            std::ofstream(dir.path() / "velmora" / "installation") << *c.text;
        }
        SCOPED_TRACE(c.text.value_or("(no file)"));
        ChosenInstallation chosen = CheckChosenInstallation();
        EXPECT_EQ(chosen.choice, c.choice);
        EXPECT_EQ(chosen.root, c.root);
        EXPECT_EQ(chosen.program, c.choice == InstallationChoice::Ready ? good / "prgbin" / "Velmora" : fs::path());
    }
    // Even root cannot run a file without any execute bit.
    std::ofstream(dir.path() / "velmora" / "installation") << notRunnable.string();
    EXPECT_EQ(CheckChosenInstallation().choice, InstallationChoice::NotAnInstallation);
}

TEST(WriteChosenInstallation, WritesTheAbsoluteFolderInAFreshConfigFolder) {
    test::TempDir dir;
    Environment config("XDG_CONFIG_HOME", (dir.path() / "new" / "cfg").string());
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    std::string error;
    const bool written = WriteChosenInstallation("sub/../velmora/", error);
    fs::current_path(before);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(test::ReadFile(dir.path() / "new" / "cfg" / "velmora" / "installation"),
              (dir.path() / "velmora").string() + "\n");
    EXPECT_FALSE(fs::exists(dir.path() / "new" / "cfg" / "velmora" / "installation.new"));
}

}  // namespace
}  // namespace velmora
