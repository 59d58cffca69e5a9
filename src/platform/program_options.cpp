#include "platform/program_options.h"

#include <cstdio>

namespace velmora {

std::string VersionText() { return std::string("Velmora ") + VELMORA_VERSION; }

bool AnswerVersionOrHelp(int argc, char** argv, std::string_view usage) {
    if (argc < 2 || argv[1] == nullptr) return false;
    const std::string_view option = argv[1];
    if (option == "--version") {
        std::printf("%s\n", VersionText().c_str());
        return true;
    }
    if (option == "--help" || option == "-h") {
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        if (!usage.empty() && usage.back() != '\n') std::fputc('\n', stdout);
        return true;
    }
    return false;
}

}  // namespace velmora
