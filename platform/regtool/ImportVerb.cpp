#include "platform/regtool/ImportVerb.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/regtool/ImportChanges.h"
#include "platform/regtool/RegFileParser.h"
#include "platform/regtool/ToolArguments.h"

namespace korventa::regtool {
namespace {

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !in.bad();
}

int applySteps(const std::vector<RegImportStep>& steps, ToolConsole& console) {
    ImportChanges changes;
    for (const RegImportStep& step : steps) {
        const reg::RegStatus status = changes.apply(step);
        if (status != reg::RegStatus::Ok) return console.fail(status, changes.failedHive());
    }
    const reg::RegStatus status = changes.commit();
    if (status == reg::RegStatus::Ok) return console.succeed();
    if (changes.committed() == 0) return console.fail(status, changes.failedHive());
    return console.fail("The machine hive's changes were saved, but the user hive's were not. " +
                        ToolConsole::describe(status, changes.failedHive()));
}

}  // namespace

int ImportVerb::run(const std::vector<WString>& words, ToolConsole& console) {
    ToolArguments args;
    if (!ToolArguments::parse(words, {}, args) || args.positional().size() != 1) {
        return console.syntaxError("import");
    }
    const std::string path = toUtf8(args.positional()[0]);
    std::string bytes;
    if (!readFile(path, bytes)) {
        return console.fail("Cannot read the file " + path + ": " + std::strerror(errno) + ".");
    }
    std::vector<RegImportStep> steps;
    RegParseError error;
    if (!RegFileParser::parse(bytes, steps, error)) {
        return console.fail(path + ", line " + std::to_string(error.line) + ": " +
                            error.message + ". Nothing was imported.");
    }
    return applySteps(steps, console);
}

}  // namespace korventa::regtool
