#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/cipher.h"
#include "platform/files.h"
#include "platform/identity.h"
#include "platform/process.h"
#include "support/test_env.h"

namespace velmora {
namespace {

TEST(Cipher, RoundTripsUnderItsKeyOnly) {
    test::TempDir dir;
    ASSERT_TRUE(Cipher::CreateKeyFile(dir.file("cipher.key")));
    struct stat info {};
    ASSERT_EQ(stat(dir.file("cipher.key").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    auto cipher = Cipher::FromKeyFile(dir.file("cipher.key"));
    ASSERT_TRUE(cipher);

    std::string stored = cipher->Encipher("AB12");
    EXPECT_NE(stored, "AB12");
    EXPECT_NE(stored, cipher->Encipher("AB12")) << "a fresh nonce every time";
    EXPECT_EQ(cipher->Decipher(stored), "AB12");
    EXPECT_EQ(cipher->Decipher(cipher->Encipher("")), "");

    ASSERT_TRUE(Cipher::CreateKeyFile(dir.file("other.key")));
    EXPECT_FALSE(Cipher::FromKeyFile(dir.file("other.key"))->Decipher(stored));
    std::string tampered = stored;
    tampered[tampered.size() / 2] = tampered[tampered.size() / 2] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(cipher->Decipher(tampered));
    EXPECT_FALSE(cipher->Decipher("1234")) << "a plain PIN is not a stored one";
    EXPECT_FALSE(cipher->Decipher(""));
    EXPECT_FALSE(Cipher::FromKeyFile(dir.file("missing.key")));
}

TEST(Cipher, RefusesKeyFilesThatAreNotAKeyAndSaysWhy) {
    test::TempDir dir;
    ASSERT_EQ(mkdir(dir.file("folder.key").c_str(), 0700), 0);
    auto sized = [&](const std::string& name, off_t size) {
        std::ofstream(dir.file(name)).close();
        EXPECT_EQ(truncate(dir.file(name).c_str(), size), 0);
        return name;
    };
    struct Case {
        std::string name;
        std::string why;
    };
    // A 50 MB file is refused by its size, without being read.
    const Case cases[] = {{"missing.key", "no such file"},
                          {"folder.key", "not a regular file"},
                          {sized("empty.key", 0), "not a key of 32 bytes (0 bytes)"},
                          {sized("short.key", 31), "(31 bytes)"},
                          {sized("huge.key", 50 << 20), "(52428800 bytes)"}};
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_FALSE(Cipher::FromKeyFile(dir.file(c.name), &problem)) << c.name;
        EXPECT_NE(problem.find(dir.file(c.name)), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.why), std::string::npos) << problem;
    }
}

TEST(StartDetached, RunsTheProgramWithOneArgumentAndReportsMissingOnes) {
    test::TempDir dir;
    std::string script = dir.file("Dunvale");
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$(dirname \"$0\")/args.txt\"\n";
    }
    chmod(script.c_str(), 0755);
    ASSERT_TRUE(StartDetached(script, "001000123,,株式会社 テスト"));
    std::string got;
    for (int i = 0; i < 200 && (got = test::ReadFile(dir.file("args.txt"))).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(got, "1|001000123,,株式会社 テスト");

    EXPECT_FALSE(StartDetached(dir.file("Ferrano"), "x"));
    std::ofstream(dir.file("plain.txt")) << "not a program";
    EXPECT_FALSE(StartDetached(dir.file("plain.txt"), ""));
}

// A watched start tells when the program has ended; it runs in a session of
// its own; a watcher that goes away first leaves no zombie behind.
TEST(StartedProgram, TellsWhenTheProgramHasEnded) {
    test::TempDir dir;
    const std::string script = dir.file("Lorrima");
    std::ofstream(script) << "#!/bin/sh\n"
                             "cut -d' ' -f6 /proc/$$/stat > \"$(dirname \"$0\")/sid.txt\"\n"
                             "printf '%s' \"$1\" > \"$(dirname \"$0\")/arg.txt\"\n"
                             "while [ -e \"$(dirname \"$0\")/run\" ]; do sleep 0.05; done\n";
    chmod(script.c_str(), 0755);
    std::ofstream(dir.file("run")) << "";
    const auto endedWithin = [](StartedProgram& program, int ms) {
        for (int i = 0; i < ms / 10; ++i) {
            if (program.Ended()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return program.Ended();
    };
    StartedProgram program;
    ASSERT_TRUE(program.Start(script, "001 A1"));
    EXPECT_FALSE(endedWithin(program, 300)) << "still running";
    std::filesystem::remove(dir.file("run"));
    EXPECT_TRUE(endedWithin(program, 5000));
    EXPECT_TRUE(program.Ended()) << "and stays ended";
    EXPECT_EQ(test::ReadFile(dir.file("arg.txt")), "001 A1");
    EXPECT_EQ(test::ReadFile(dir.file("sid.txt")), std::to_string(program.pid()) + "\n")
        << "the leader of its own session";

    StartedProgram missing;
    EXPECT_FALSE(missing.Start(dir.file("Ferrano"), "x"));
    EXPECT_FALSE(missing.started());
    std::ofstream(dir.file("plain.txt")) << "not a program";
    EXPECT_FALSE(missing.Start(dir.file("plain.txt"), ""));

    // Dropped while running: reaped once it ends.
    std::ofstream(dir.file("run")) << "";
    int pid = 0;
    {
        StartedProgram dropped;
        ASSERT_TRUE(dropped.Start(script, ""));
        pid = dropped.pid();
    }
    std::filesystem::remove(dir.file("run"));
    const std::string proc = "/proc/" + std::to_string(pid);
    for (int i = 0; i < 500 && std::filesystem::exists(proc); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(std::filesystem::exists(proc)) << "no zombie is left";
}

TEST(Identity, TheProgramFolderIsKnownAndArgumentsJoin) {
    EXPECT_TRUE(FolderExists(ExecutableFolder()));
    char a0[] = "Velmora", a1[] = "001", a2[] = "20240401 00000012";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(JoinArguments(3, argv), "001 20240401 00000012");
    EXPECT_EQ(JoinArguments(1, argv), "");
}

TEST(Files, CopiesOverAndCreatesFolders) {
    test::TempDir dir;
    std::string deep = dir.file("users/sato/conf");
    ASSERT_TRUE(CreateFolders(deep));
    std::ofstream(dir.file("a")) << "one";
    std::ofstream(deep + "/a") << "old";
    ASSERT_TRUE(CopyFileOver(dir.file("a"), deep + "/a"));
    EXPECT_EQ(test::ReadFile(deep + "/a"), "one");
    EXPECT_FALSE(CopyFileOver(dir.file("missing"), deep + "/b"));
    EXPECT_TRUE(FileExists(deep + "/a"));
    EXPECT_FALSE(FileExists(deep));
}

}  // namespace
}  // namespace velmora
