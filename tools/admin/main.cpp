#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "admin/command_line.h"
#include "admin/installation.h"
#include "admin/installation_copy.h"
#include "platform/chosen_installation.h"
#include "platform/program_options.h"
#include "data/schema_text.h"
#include "platform/identity.h"

using namespace velmora;

namespace {

// "1,234,567"
std::string Grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// One line on a terminal, rewritten in place; elsewhere (a log file) a line
// per tenth of the work.
void ShowProgress(const std::string& step, long long done, long long total) {
    static const bool terminal = isatty(STDERR_FILENO) != 0;
    static long long lastTenth = -1;
    const bool finished = done >= total;
    if (!terminal) {
        long long tenth = total > 0 ? done * 10 / total : 10;
        if (tenth == lastTenth && !finished) return;
        lastTenth = finished ? -1 : tenth;
    }
    std::string text = step + " " + (total > 1 ? Grouped(done) + " / " + Grouped(total) : finished ? "done" : "...");
    std::fprintf(stderr, terminal ? "\r%-60s" : "%s\n", text.c_str());
    if (terminal && finished) std::fputc('\n', stderr);
    std::fflush(stderr);
}

// Makes root the user's installation and says so.
bool Choose(const std::filesystem::path& root) {
    std::string error;
    if (!WriteChosenInstallation(root, error)) {
        std::cerr << "velmora-admin: " << error << "\n";
        return false;
    }
    std::cout << "the menu entry and the command velmora now start " << ReadChosenInstallation().string() << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    AdminRequest request = ParseAdminArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (request.command) {
    case AdminCommand::Help:
        std::cout << AdminUsage();
        return 0;
    case AdminCommand::Version:
        std::cout << VersionText() << "\n";
        return 0;
    case AdminCommand::Use: {
        // Only an installation that can start: the menu entry would otherwise fail later.
        std::error_code ec;
        const std::filesystem::path root = std::filesystem::absolute(request.init.root, ec);
        InstallationPaths paths(root);
        if (!std::filesystem::is_regular_file(paths.configDatabase, ec) ||
            !std::filesystem::is_regular_file(paths.programs / "Velmora", ec)) {
            std::cerr << "velmora-admin: " << root.string() << " is not an installation (no "
                      << paths.configDatabase.string() << " or " << (paths.programs / "Velmora").string() << ")\n";
            return 1;
        }
        return Choose(root) ? 0 : 1;
    }
    case AdminCommand::Copy:
    case AdminCommand::Move: {
        CopyOutcome outcome = request.command == AdminCommand::Copy ? CopyInstallation(request.init.root, request.target)
                                                                     : MoveInstallation(request.init.root, request.target);
        (outcome.ok ? std::cout : std::cerr) << (outcome.ok ? "" : "velmora-admin: ") << outcome.message << "\n";
        if (outcome.ok)
            for (const std::string& setting : outcome.rewritten) std::cout << "  " << setting << "\n";
        return outcome.ok ? 0 : 1;
    }
    case AdminCommand::Invalid:
        std::cerr << "velmora-admin: " << request.problem << "\n\n" << AdminUsage();
        return 2;
    case AdminCommand::Schema:
        std::cout << (request.schemaName == "config" ? ConfigSchemaSql() : BusinessSchemaSql());
        return 0;
    case AdminCommand::SetPin:
    case AdminCommand::SignIn: {
        std::string message;
        bool ok = request.command == AdminCommand::SetPin ? SetPin(request.pin, message)
                                                          : SetSignIn(request.signIn, message);
        (ok ? std::cout : std::cerr) << (ok ? "" : "velmora-admin: ") << message << "\n";
        return ok ? 0 : 1;
    }
    case AdminCommand::RefreshPrograms: {
        std::vector<std::string> copied;
        std::string error;
        if (!RefreshPrograms(request.init.root, ExecutableFolder(), copied, error)) {
            std::cerr << "velmora-admin: " << error << "\n";
            return 1;
        }
        std::cout << "copied " << copied.size() << " programs into " << (request.init.root / "prgbin").string() << "\n";
        return 0;
    }
    case AdminCommand::Init: {
        InitOptions options = request.init;
        if (options.today.year == 0) CalendarDate::Parse(FormatDate(SystemNow()), options.today);
        options.programSource = ExecutableFolder();
        options.progress = ShowProgress;
        InitResult result = InitInstallation(options);
        if (!result.ok) {
            std::cerr << "velmora-admin: " << result.message << "\n";
            return 1;
        }
        std::cout << result.message << "\n";
        for (const std::string& program : result.programs) std::cout << "  prgbin/" << program << "\n";
        if (request.chooseInstallation && !Choose(options.root)) return 1;
        return 0;
    }
    }
    return 1;
}
