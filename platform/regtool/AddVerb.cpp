#include "platform/regtool/AddVerb.h"

#include "platform/registry/RegistryKey.h"
#include "platform/regtool/RegDataText.h"
#include "platform/regtool/ToolArguments.h"
#include "platform/regtool/VerbTarget.h"

namespace korventa::regtool {
namespace {

struct NewValue {
    WString name;
    std::uint32_t type = reg::REG_SZ;
    std::string data;
};

bool valueExists(const VerbTarget& target, WStringView name) {
    reg::RegistryKey key;
    reg::RegValue value;
    return reg::RegistryKey::open(target.hive(), target.name().path(), reg::KeyAccess::Read,
                                  key) == reg::RegStatus::Ok &&
           key.value(name, value) == reg::RegStatus::Ok;
}

WString displayName(WStringView name) { return name.empty() ? WString(u"(Default)") : WString(name); }

int write(const VerbTarget& target, const NewValue* value, ToolConsole& console) {
    reg::RegistryKey key;
    reg::RegStatus status = reg::RegistryKey::create(target.hive(), target.name().path(), key);
    if (status == reg::RegStatus::Ok && value != nullptr) {
        status = key.setValue(value->name, value->type, value->data);
    }
    // Closing commits the batch; its status is the one that says whether anything was saved.
    const reg::RegStatus closed = key.isOpen() ? key.close() : reg::RegStatus::Ok;
    if (status == reg::RegStatus::Ok) status = closed;
    if (status != reg::RegStatus::Ok) return console.fail(status, target.hive());
    return console.succeed();
}

}  // namespace

int AddVerb::run(const std::vector<WString>& words, ToolConsole& console) {
    ToolArguments args;
    if (!ToolArguments::parse(words, {{"v", true}, {"ve"}, {"t", true}, {"d", true}, {"f"}},
                              args) ||
        args.positional().size() != 1 || (args.has("v") && args.has("ve"))) {
        return console.syntaxError("add");
    }
    const bool namesValue = args.has("v") || args.has("ve");
    if (!namesValue && (args.has("t") || args.has("d"))) return console.syntaxError("add");
    NewValue value;
    value.name = args.value("v");
    if (args.has("t") && !RegDataText::typeFromName(args.value("t"), value.type)) {
        return console.fail("Invalid type \"" + toUtf8(args.value("t")) +
                            "\". Use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, "
                            "REG_BINARY or REG_NONE.");
    }
    std::string error;
    if (!RegDataText::parse(value.type, args.value("d"), value.data, error)) {
        return console.fail(error);
    }
    auto target = VerbTarget::resolve(args.positional()[0], VerbTarget::Reach::LocalOrRemote,
                                      console);
    if (!target) return ToolConsole::kFailure;
    if (namesValue && !args.has("f") && valueExists(*target, value.name) &&
        !console.confirm(u"Value " + displayName(value.name) + u" exists, overwrite")) {
        return console.cancelled();
    }
    return write(*target, namesValue ? &value : nullptr, console);
}

}  // namespace korventa::regtool
