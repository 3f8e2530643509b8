#include "platform/regtool/ImportVerb.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/registry/RegistryTransaction.h"
#include "platform/regtool/RegFileParser.h"
#include "platform/regtool/ToolArguments.h"

namespace korventa::regtool {
namespace {

// The two local hives in commit order, each with its transaction once a step needs it.
class HiveChanges {
public:
    HiveChanges()
        : hives_{reg::RegistryHive::local(reg::RootKey::LocalMachine),
                 reg::RegistryHive::local(reg::RootKey::CurrentUser)} {}

    [[nodiscard]] reg::RegStatus apply(const RegImportStep& step, std::size_t& hive) {
        hive = step.root == reg::RootKey::LocalMachine ? 0 : 1;
        auto& transaction = transactions_[hive];
        if (!transaction) {
            transaction.emplace();
            const reg::RegStatus begun = reg::RegistryTransaction::begin(hives_[hive], *transaction);
            if (begun != reg::RegStatus::Ok) return begun;
        }
        return applyTo(*transaction, step);
    }

    // Commits in order; committed counts the hives whose changes are in.
    [[nodiscard]] reg::RegStatus commit(std::size_t& hive, std::size_t& committed) {
        committed = 0;
        for (hive = 0; hive < transactions_.size(); ++hive) {
            if (!transactions_[hive]) continue;
            const reg::RegStatus status = transactions_[hive]->commit();
            if (status != reg::RegStatus::Ok) return status;
            ++committed;
        }
        return reg::RegStatus::Ok;
    }

    [[nodiscard]] const reg::RegistryHive& hive(std::size_t index) const { return hives_[index]; }

private:
    static reg::RegStatus applyTo(reg::RegistryTransaction& transaction,
                                  const RegImportStep& step) {
        reg::RegStatus status = reg::RegStatus::Ok;
        switch (step.action) {
            case RegImportStep::Action::CreateKey:
                return transaction.createKey(step.path);
            case RegImportStep::Action::DeleteKey:
                status = transaction.deleteKey(step.path);
                break;
            case RegImportStep::Action::SetValue:
                return transaction.setValue(step.path, step.name, step.type, step.data);
            case RegImportStep::Action::DeleteValue:
                status = transaction.deleteValue(step.path, step.name);
                break;
        }
        // Deleting what is already gone is what the file asked for.
        return status == reg::RegStatus::NotFound ? reg::RegStatus::Ok : status;
    }

    std::array<reg::RegistryHive, 2> hives_;
    std::array<std::optional<reg::RegistryTransaction>, 2> transactions_;
};

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !in.bad();
}

int applySteps(const std::vector<RegImportStep>& steps, ToolConsole& console) {
    HiveChanges changes;
    std::size_t hive = 0;
    for (const RegImportStep& step : steps) {
        const reg::RegStatus status = changes.apply(step, hive);
        if (status != reg::RegStatus::Ok) return console.fail(status, changes.hive(hive));
    }
    std::size_t committed = 0;
    const reg::RegStatus status = changes.commit(hive, committed);
    if (status == reg::RegStatus::Ok) return console.succeed();
    if (committed == 0) return console.fail(status, changes.hive(hive));
    return console.fail("The machine hive's changes were saved, but the user hive's were not. " +
                        ToolConsole::describe(status, changes.hive(hive)));
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
