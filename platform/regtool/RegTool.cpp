#include "platform/regtool/RegTool.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "platform/regtool/AddVerb.h"
#include "platform/regtool/AsciiText.h"
#include "platform/regtool/DeleteVerb.h"
#include "platform/regtool/ExportVerb.h"
#include "platform/regtool/ImportVerb.h"
#include "platform/regtool/QueryVerb.h"

namespace korventa::regtool {
namespace {

struct Verb {
    std::string_view name;
    int (*run)(const std::vector<WString>& words, ToolConsole& console);
    std::string_view usage;
};

constexpr std::string_view kKeyHelp =
    "  KEY   [\\\\SERVER\\]ROOT[\\PATH], ROOT being HKLM or HKEY_LOCAL_MACHINE (the machine "
    "hive,\n"
    "        $TALVENIR_MACHINE_HIVE or /etc/talvenir/registry.db) or HKCU or "
    "HKEY_CURRENT_USER\n"
    "        (the user hive); \\\\SERVER reaches that machine's HKLM.\n";

constexpr std::array<Verb, 5> kVerbs = {{
    {"query", &QueryVerb::run,
     "korventa-reg query KEY [/v NAME | /ve] [/s]\n"
     "  /v NAME  only that value; /ve only the default value\n"
     "  /s       every key below KEY as well\n"},
    {"add", &AddVerb::run,
     "korventa-reg add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
     "  /t  REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ (items separated by \\0),\n"
     "      REG_DWORD, REG_QWORD (decimal or 0x hex), REG_BINARY, REG_NONE (hex digits)\n"
     "  /f  overwrite an existing value without asking\n"
     "  Example: korventa-reg add \"HKLM\\Software\\TALVENIR\\Veltrix\\PDF\\5.0\" /v "
     "InstallPath /d /opt/veltrix /f\n"},
    {"delete", &DeleteVerb::run,
     "korventa-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
     "  without /v, /ve or /va the key with everything below it\n"
     "  /va  every value of KEY; /f  delete without asking\n"},
    {"import", &ImportVerb::run,
     "korventa-reg import FILE\n"
     "  applies a .reg file (version 5.00 or REGEDIT4) all or nothing\n"},
    {"export", &ExportVerb::run,
     "korventa-reg export KEY FILE [/y]\n"
     "  writes KEY and everything below it; /y  overwrite FILE without asking\n"},
}};

bool isHelp(WStringView word) { return word == u"/?" || word == u"-?"; }

int printUsage(ToolConsole& console) {
    console.out() << "Reads and changes the registry hives.\n\n";
    for (const Verb& verb : kVerbs) console.out() << verb.usage;
    console.out() << kKeyHelp << "korventa-reg --version  shows the version\n";
    return ToolConsole::kSuccess;
}

}  // namespace

int RegTool::run(const std::vector<std::string>& arguments, ToolConsole& console) {
    std::vector<WString> words;
    for (const std::string& argument : arguments) words.push_back(fromUtf8(argument));
    if (words.empty()) {
        return console.fail("Invalid syntax. Type \"korventa-reg /?\" for usage.");
    }
    if (isHelp(words[0])) return printUsage(console);
    if (words[0] == u"--version") {
        console.out() << "korventa-reg " KORVENTA_VERSION "\n";
        return ToolConsole::kSuccess;
    }
    for (const Verb& verb : kVerbs) {
        if (!equalsIgnoringCase(words[0], verb.name)) continue;
        if (std::any_of(words.begin() + 1, words.end(), isHelp)) {
            console.out() << verb.usage << kKeyHelp;
            return ToolConsole::kSuccess;
        }
        words.erase(words.begin());
        return verb.run(words, console);
    }
    return console.fail("Unknown operation \"" + arguments[0] +
                        "\". Use query, add, delete, import or export.");
}

}  // namespace korventa::regtool
