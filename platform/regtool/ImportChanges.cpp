#include "platform/regtool/ImportChanges.h"

namespace korventa::regtool {
namespace {

reg::RegStatus applyTo(reg::RegistryTransaction& transaction, const RegImportStep& step) {
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

}  // namespace

ImportChanges::ImportChanges()
    : hives_{reg::RegistryHive::local(reg::RootKey::LocalMachine),
             reg::RegistryHive::local(reg::RootKey::CurrentUser)} {}

reg::RegStatus ImportChanges::apply(const RegImportStep& step) {
    failed_ = step.root == reg::RootKey::LocalMachine ? 0 : 1;
    auto& transaction = transactions_[failed_];
    if (!transaction) {
        reg::RegistryTransaction begun;
        const reg::RegStatus status = reg::RegistryTransaction::begin(hives_[failed_], begun);
        if (status != reg::RegStatus::Ok) return status;
        transaction = std::move(begun);
    }
    return applyTo(*transaction, step);
}

reg::RegStatus ImportChanges::commit() {
    committed_ = 0;
    for (failed_ = 0; failed_ < transactions_.size(); ++failed_) {
        if (!transactions_[failed_]) continue;
        const reg::RegStatus status = transactions_[failed_]->commit();
        if (status != reg::RegStatus::Ok) return status;
        ++committed_;
    }
    return reg::RegStatus::Ok;
}

}  // namespace korventa::regtool
