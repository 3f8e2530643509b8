#include "platform/regtool/DeleteVerb.h"

#include "platform/registry/RegistryKey.h"
#include "platform/regtool/ToolArguments.h"

namespace korventa::regtool {
namespace {

// Deletes names from an open write key and commits; the first failure wins.
reg::RegStatus deleteNames(reg::RegistryKey& key, const std::vector<WString>& names) {
    reg::RegStatus status = reg::RegStatus::Ok;
    for (const WString& name : names) {
        status = key.deleteValue(name);
        if (status != reg::RegStatus::Ok) break;
    }
    const reg::RegStatus closed = key.close();
    return status != reg::RegStatus::Ok ? status : closed;
}

}  // namespace

int DeleteVerb::run(const std::vector<WString>& words, ToolConsole& console) {
    ToolArguments args;
    if (!ToolArguments::parse(words, {{"v", true}, {"ve"}, {"va"}, {"f"}}, args) ||
        args.positional().size() != 1 ||
        int(args.has("v")) + int(args.has("ve")) + int(args.has("va")) > 1) {
        return console.syntaxError("delete");
    }
    auto target = VerbTarget::resolve(args.positional()[0], VerbTarget::Reach::LocalOrRemote,
                                      console);
    if (!target) return ToolConsole::kFailure;
    DeleteVerb verb(std::move(*target), args.has("f"), console);
    if (args.has("va")) return verb.deleteAllValues();
    if (args.has("v") || args.has("ve")) return verb.deleteValue(args.value("v"));
    return verb.deleteKey();
}

int DeleteVerb::deleteKey() {
    if (target_.name().path().empty()) {
        return console_.fail("The root of a hive cannot be deleted; name a key below it.");
    }
    reg::RegistryKey key;
    const reg::RegStatus opened =
        reg::RegistryKey::open(target_.hive(), target_.name().path(), reg::KeyAccess::Read, key);
    if (opened != reg::RegStatus::Ok) return finish(opened);
    const WString fullName = target_.name().fullName(key.path());
    (void)key.close();
    if (!confirmed(u"Permanently delete the registry key " + fullName)) {
        return console_.cancelled();
    }
    return finish(reg::RegistryKey::deleteTree(target_.hive(), target_.name().path()));
}

int DeleteVerb::deleteValue(WStringView name) {
    reg::RegistryKey key;
    reg::RegValue value;
    reg::RegStatus status =
        reg::RegistryKey::open(target_.hive(), target_.name().path(), reg::KeyAccess::Read, key);
    if (status == reg::RegStatus::Ok) status = key.value(name, value);
    if (status != reg::RegStatus::Ok) return finish(status);
    (void)key.close();
    const WString shown = name.empty() ? WString(u"(Default)") : WString(name);
    if (!confirmed(u"Delete the registry value " + shown)) return console_.cancelled();
    status = reg::RegistryKey::open(target_.hive(), target_.name().path(), reg::KeyAccess::Write,
                                    key);
    if (status != reg::RegStatus::Ok) return finish(status);
    return finish(deleteNames(key, {WString(name)}));
}

int DeleteVerb::deleteAllValues() {
    reg::RegistryKey key;
    reg::RegStatus status =
        reg::RegistryKey::open(target_.hive(), target_.name().path(), reg::KeyAccess::Read, key);
    if (status != reg::RegStatus::Ok) return finish(status);
    const WString fullName = target_.name().fullName(key.path());
    (void)key.close();
    if (!confirmed(u"Delete all values under the registry key " + fullName)) {
        return console_.cancelled();
    }
    status = reg::RegistryKey::open(target_.hive(), target_.name().path(), reg::KeyAccess::Write,
                                    key);
    std::vector<reg::RegValue> values;
    if (status == reg::RegStatus::Ok) status = key.values(values);
    if (status != reg::RegStatus::Ok) return finish(status);
    std::vector<WString> names;
    for (const reg::RegValue& value : values) names.push_back(value.name);
    return finish(deleteNames(key, names));
}

bool DeleteVerb::confirmed(WStringView question) { return force_ || console_.confirm(question); }

int DeleteVerb::finish(reg::RegStatus status) {
    if (status != reg::RegStatus::Ok) return console_.fail(status, target_.hive());
    return console_.succeed();
}

}  // namespace korventa::regtool
