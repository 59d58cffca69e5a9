#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "admin/command_line.h"
#include "admin/installation.h"
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

}  // namespace

int main(int argc, char** argv) {
    AdminRequest request = ParseAdminArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (request.command) {
    case AdminCommand::Help:
        std::cout << AdminUsage();
        return 0;
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
        return 0;
    }
    }
    return 1;
}
