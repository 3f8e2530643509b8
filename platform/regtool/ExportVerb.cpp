#include "platform/regtool/ExportVerb.h"

#include <filesystem>

#include "platform/regtool/AtomicFile.h"
#include "platform/regtool/KeyWalker.h"
#include "platform/regtool/RegFileWriter.h"
#include "platform/regtool/ToolArguments.h"
#include "platform/regtool/VerbTarget.h"

namespace korventa::regtool {
namespace {

// Fills the writer; on a failure message is set (a status failure leaves it empty).
reg::RegStatus collect(const VerbTarget& target, RegFileWriter& writer, std::string& message) {
    reg::RegStatus failure = reg::RegStatus::Ok;
    const auto visit = [&](const reg::RegistryKey& key) {
        const WString fullName = target.name().fullName(key.path());
        if (!writer.addKey(fullName)) {
            message = "The key name \"" + toUtf8(fullName) + "\" holds a line break, which a "
                      ".reg file cannot hold.";
            return false;
        }
        std::vector<reg::RegValue> values;
        failure = key.values(values);
        if (failure != reg::RegStatus::Ok) return false;
        for (const reg::RegValue& value : values) {
            if (!writer.addValue(value)) {
                message = "The value name \"" + toUtf8(value.name) + "\" in " + toUtf8(fullName) +
                          " holds a line break, which a .reg file cannot hold.";
                return false;
            }
        }
        return true;
    };
    const reg::RegStatus walked = KeyWalker::walk(target.hive(), target.name().path(), visit);
    return walked != reg::RegStatus::Ok ? walked : failure;
}

}  // namespace

int ExportVerb::run(const std::vector<WString>& words, ToolConsole& console) {
    ToolArguments args;
    if (!ToolArguments::parse(words, {{"y"}}, args) || args.positional().size() != 2) {
        return console.syntaxError("export");
    }
    auto target =
        VerbTarget::resolve(args.positional()[0], VerbTarget::Reach::LocalOnly, console);
    if (!target) return ToolConsole::kFailure;
    RegFileWriter writer;
    std::string message;
    const reg::RegStatus status = collect(*target, writer, message);
    if (status != reg::RegStatus::Ok) return console.fail(status, target->hive());
    if (!message.empty()) return console.fail(message + " Nothing was written.");
    const WString& file = args.positional()[1];
    const std::string path = toUtf8(file);
    std::error_code ignored;
    if (!args.has("y") && std::filesystem::exists(path, ignored) &&
        !console.confirm(u"File " + file + u" already exists. Overwrite")) {
        return console.cancelled();
    }
    if (!AtomicFile::write(path, writer.bytes(), message)) {
        return console.fail("Cannot export to " + path + ": " + message);
    }
    return console.succeed();
}

}  // namespace korventa::regtool
