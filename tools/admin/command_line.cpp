#include "admin/command_line.h"

#include <algorithm>

namespace velmora {

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool SplitPostgresTarget(const std::string& text, std::string& dataSource, std::string& database) {
    size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    std::string tail = text.substr(colon + 1);
    if (AllDigits(tail)) return false;
    dataSource = text.substr(0, colon);
    database = tail;
    return true;
}

std::string AdminUsage() {
    return "Usage: velmora-admin COMMAND ...\n"
           "\n"
           "Commands:\n"
           "  init DIR [options]         build an installation tree in DIR with a demo company:\n"
           "                             prgbin/ (programs), conf/usrcnfg.accdb, conf/cipher.key,\n"
           "                             report/, manual/, users/ and the business database\n"
           "      --postgres SOURCE:DB   keep the business data in PostgreSQL database DB on SOURCE\n"
           "                             (host, host:port, socket folder or folder:port); created\n"
           "                             when missing\n"
           "      --pg-user NAME         PostgreSQL user (default postgres)\n"
           "      --pg-password TEXT     PostgreSQL password (default none)\n"
           "      --size large           add 100,000 customers, 50,000 products and ten years of\n"
           "                             100,000 quotations with about 1,000,000 lines and their history\n"
           "      --replace              build again over an existing installation\n"
           "      --today YYYYMMDD       date the demo documents count back from (default today)\n"
           "      --no-use               leave the user's chosen installation as it is\n"
           "  use DIR                    make DIR the installation the menu entry and the command\n"
           "                             velmora start for this user (init does this too)\n"
           "  refresh-programs DIR       copy the programs beside this velmora-admin (the installed\n"
           "                             package's, or the built ones) into DIR/prgbin again\n"
           "  copy DIR NEW               copy an installation; the copy uses its own databases and\n"
           "                             folders (a business database outside DIR stays shared)\n"
           "  move DIR NEW               move an installation, pointing it at its new place\n"
           "  schema config|business     print the DDL of a database\n"
           "  set-pin DIR WHO PIN        store a PIN enciphered (at least 4 characters, kept in upper case);\n"
           "                             WHO is --staff CODE, --office CODE (the office's privilege PIN),\n"
           "                             --company or --system (the company's privilege PINs)\n"
           "  sign-in DIR on|off         turn PIN sign-in on or off for the company and all its offices\n"
           "  --version                  show the version\n"
           "  --help                     show this text\n";
}

AdminRequest ParseAdminArguments(const std::vector<std::string>& arguments) {
    AdminRequest request;
    auto refuse = [&](const std::string& problem) {
        request.command = AdminCommand::Invalid;
        request.problem = problem;
        return request;
    };
    if (arguments.empty()) return refuse("a command is needed");
    if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") return request;
    if (arguments[0] == "--version") {
        request.command = AdminCommand::Version;
        return request;
    }
    const std::string& command = arguments[0];
    if (command == "use") {
        if (arguments.size() != 2 || arguments[1].starts_with("--")) return refuse("use takes one folder");
        request.command = AdminCommand::Use;
        request.init.root = arguments[1];
        return request;
    }
    if (command == "copy" || command == "move") {
        if (arguments.size() != 3 || arguments[1].starts_with("--") || arguments[2].starts_with("--"))
            return refuse(command + " takes the installation folder and the new folder");
        request.command = command == "copy" ? AdminCommand::Copy : AdminCommand::Move;
        request.init.root = arguments[1];
        request.target = arguments[2];
        return request;
    }
    if (command == "schema") {
        if (arguments.size() != 2 || (arguments[1] != "config" && arguments[1] != "business"))
            return refuse("schema takes one argument: config or business");
        request.command = AdminCommand::Schema;
        request.schemaName = arguments[1];
        return request;
    }
    if (command == "set-pin") {
        request.command = AdminCommand::SetPin;
        const std::string usage = "set-pin takes DIR, then --staff CODE, --office CODE, --company or --system, then the PIN";
        if (arguments.size() < 4) return refuse(usage);
        request.pin.root = arguments[1];
        const std::string& who = arguments[2];
        size_t next = 3;
        if (who == "--staff" || who == "--office") {
            if (arguments.size() != 5 || !AllDigits(arguments[3])) return refuse(usage);
            request.pin.holder = who == "--staff" ? PinHolder::Staff : PinHolder::Office;
            request.pin.code = arguments[3];
            next = 4;
        } else if (who == "--company" || who == "--system") {
            if (arguments.size() != 4) return refuse(usage);
            request.pin.holder = who == "--company" ? PinHolder::Company : PinHolder::System;
        } else {
            return refuse(usage);
        }
        request.pin.pin = arguments[next];
        return request;
    }
    if (command == "sign-in") {
        if (arguments.size() != 3 || (arguments[2] != "on" && arguments[2] != "off"))
            return refuse("sign-in takes DIR, then on or off");
        request.command = AdminCommand::SignIn;
        request.signIn.root = arguments[1];
        request.signIn.on = arguments[2] == "on";
        return request;
    }
    if (command != "init" && command != "refresh-programs") return refuse("unknown command " + command);
    request.command = command == "init" ? AdminCommand::Init : AdminCommand::RefreshPrograms;
    std::string user = "postgres";
    std::string password;
    std::string postgres;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        bool option = a.starts_with("--");
        if (!option) {
            if (!request.init.root.empty()) return refuse("more than one folder given: " + a);
            request.init.root = a;
            continue;
        }
        if (request.command != AdminCommand::Init) return refuse(command + " takes no option " + a);
        if (a == "--replace") {
            request.init.replace = true;
            continue;
        }
        if (a == "--no-use") {
            request.chooseInstallation = false;
            continue;
        }
        if (i + 1 >= arguments.size()) return refuse(a + " needs a value");
        const std::string& value = arguments[++i];
        if (a == "--postgres") {
            postgres = value;
        } else if (a == "--pg-user") {
            user = value;
        } else if (a == "--pg-password") {
            password = value;
        } else if (a == "--size") {
            if (value != "large" && value != "small") return refuse("--size is small or large");
            request.init.large = value == "large";
            request.init.historyQuotations = request.init.large ? kLargeQuotations : 0;
        } else if (a == "--today") {
            // The demo's documents are stamped with times, which hold years up to 2261.
            if (!CalendarDate::Parse(value, request.init.today) || value.size() != 8 ||
                request.init.today.year < 1900 || request.init.today.year > kLatestTimestampYear)
                return refuse("--today needs a date yyyymmdd from 19000101 to 22611231");
        } else {
            return refuse("unknown option " + a);
        }
    }
    if (request.init.root.empty()) return refuse(command + " needs the installation folder");
    if (!postgres.empty()) {
        PostgresTarget target;
        if (!SplitPostgresTarget(postgres, target.dataSource, target.database))
            return refuse("--postgres needs SOURCE:DATABASE, for example /run/postgresql:5432:velmora");
        target.user = user;
        target.password = password;
        request.init.postgres = target;
    }
    return request;
}

}  // namespace velmora
