#include "platform/registry/RegistryTransaction.h"

#include "platform/registry/HiveConnection.h"
#include "platform/registry/KeyPath.h"
#include "platform/registry/KeyStore.h"

namespace korventa::reg {

class RegistryTransaction::Impl {
public:
    HiveConnection connection_;
    KeyStore store_{connection_};
};

RegistryTransaction::RegistryTransaction() = default;

// Dropping the connection with its batch open rolls the batch back.
RegistryTransaction::~RegistryTransaction() = default;

RegistryTransaction::RegistryTransaction(RegistryTransaction&&) noexcept = default;

RegistryTransaction& RegistryTransaction::operator=(RegistryTransaction&&) noexcept = default;

RegStatus RegistryTransaction::begin(const RegistryHive& hive, RegistryTransaction& out) {
    out.impl_.reset();
    auto impl = std::make_unique<Impl>();
    RegStatus status =
        HiveConnection::open(hive.path(), HiveConnection::Mode::Create, impl->connection_);
    if (status == RegStatus::Ok)
        out.impl_ = std::move(impl);
    return status;
}

RegStatus RegistryTransaction::createKey(WStringView path) {
    KeyPath keyPath;
    KeyStore::Key key;
    if (!impl_ || KeyPath::parse(path, keyPath) != RegStatus::Ok)
        return RegStatus::InvalidArgument;
    return impl_->store_.create(keyPath, key);
}

RegStatus RegistryTransaction::deleteKey(WStringView path) {
    KeyPath keyPath;
    KeyStore::Key key;
    if (!impl_ || KeyPath::parse(path, keyPath) != RegStatus::Ok)
        return RegStatus::InvalidArgument;
    RegStatus status = impl_->store_.find(keyPath, key);
    return status == RegStatus::Ok ? impl_->store_.removeTree(key.id) : status;
}

RegStatus RegistryTransaction::deleteKeyIfPresent(WStringView path) {
    const RegStatus status = deleteKey(path);
    return status == RegStatus::NotFound ? RegStatus::Ok : status;
}

RegStatus RegistryTransaction::setValue(WStringView keyPath, WStringView name, std::uint32_t type,
                                        std::string data) {
    KeyPath parsed;
    KeyStore::Key key;
    if (!impl_ || KeyPath::parse(keyPath, parsed) != RegStatus::Ok) {
        return RegStatus::InvalidArgument;
    }
    RegStatus status = impl_->store_.create(parsed, key);
    return status == RegStatus::Ok ? impl_->store_.writeValue(key.id, name, type, data) : status;
}

RegStatus RegistryTransaction::deleteValue(WStringView keyPath, WStringView name) {
    KeyPath parsed;
    KeyStore::Key key;
    if (!impl_ || KeyPath::parse(keyPath, parsed) != RegStatus::Ok) {
        return RegStatus::InvalidArgument;
    }
    RegStatus status = impl_->store_.find(parsed, key);
    return status == RegStatus::Ok ? impl_->store_.removeValue(key.id, name) : status;
}

RegStatus RegistryTransaction::commit() {
    const std::unique_ptr<Impl> impl = std::move(impl_);
    return impl ? impl->connection_.commit() : RegStatus::InvalidArgument;
}

}  // namespace korventa::reg
