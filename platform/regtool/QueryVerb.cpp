#include "platform/regtool/QueryVerb.h"

#include <ostream>

#include "platform/regtool/KeyWalker.h"
#include "platform/regtool/RegDataText.h"
#include "platform/regtool/ToolArguments.h"

namespace korventa::regtool {
namespace {

constexpr std::string_view kColumnGap = "    ";

reg::RegStatus firstFailure(reg::RegStatus walked, reg::RegStatus visited) {
    return walked != reg::RegStatus::Ok ? walked : visited;
}

}  // namespace

int QueryVerb::run(const std::vector<WString>& words, ToolConsole& console) {
    ToolArguments args;
    if (!ToolArguments::parse(words, {{"v", true}, {"ve"}, {"s"}}, args) ||
        args.positional().size() != 1 || (args.has("v") && args.has("ve"))) {
        return console.syntaxError("query");
    }
    auto target = VerbTarget::resolve(args.positional()[0], VerbTarget::Reach::LocalOrRemote,
                                      console);
    if (!target) return ToolConsole::kFailure;
    QueryVerb query(std::move(*target), console);
    const bool subtree = args.has("s");
    if (args.has("v") || args.has("ve")) return query.findValue(args.value("v"), subtree);
    return query.listKey(subtree);
}

int QueryVerb::listKey(bool subtree) {
    reg::RegStatus failure = reg::RegStatus::Ok;
    const auto visit = [&](const reg::RegistryKey& key) {
        std::vector<reg::RegValue> values;
        std::vector<WString> children;
        failure = key.values(values);
        if (failure == reg::RegStatus::Ok && !subtree) failure = key.subKeys(children);
        if (failure != reg::RegStatus::Ok) return false;
        printKey(key, values);
        for (const WString& child : children) {
            console_.write(target_.name().fullName(key.path()) + u"\\" + child + u"\n");
        }
        return subtree;
    };
    const reg::RegStatus walked = KeyWalker::walk(target_.hive(), target_.name().path(), visit);
    const reg::RegStatus status = firstFailure(walked, failure);
    if (status != reg::RegStatus::Ok) return console_.fail(status, target_.hive());
    return ToolConsole::kSuccess;
}

int QueryVerb::findValue(WStringView name, bool subtree) {
    std::size_t matches = 0;
    reg::RegStatus failure = reg::RegStatus::Ok;
    const auto visit = [&](const reg::RegistryKey& key) {
        reg::RegValue value;
        const reg::RegStatus found = key.value(name, value);
        if (found == reg::RegStatus::Ok) {
            printKey(key, {value});
            ++matches;
        } else if (found != reg::RegStatus::NotFound) {
            failure = found;
            return false;
        }
        return subtree;
    };
    const reg::RegStatus walked = KeyWalker::walk(target_.hive(), target_.name().path(), visit);
    const reg::RegStatus status = firstFailure(walked, failure);
    if (status != reg::RegStatus::Ok) return console_.fail(status, target_.hive());
    if (subtree) console_.out() << "End of search: " << matches << " match(es) found.\n";
    if (matches == 0) return console_.fail(reg::RegStatus::NotFound, target_.hive());
    return ToolConsole::kSuccess;
}

void QueryVerb::printKey(const reg::RegistryKey& key, const std::vector<reg::RegValue>& values) {
    std::ostream& out = console_.out();
    out << '\n' << toUtf8(target_.name().fullName(key.path())) << '\n';
    for (const reg::RegValue& value : values) {
        const std::string name = value.name.empty() ? "(Default)" : toUtf8(value.name);
        out << kColumnGap << name << kColumnGap << RegDataText::typeName(value.type)
            << kColumnGap << toUtf8(RegDataText::display(value)) << '\n';
    }
    out << '\n';
}

}  // namespace korventa::regtool
