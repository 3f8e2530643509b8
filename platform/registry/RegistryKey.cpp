#include "platform/registry/RegistryKey.h"

#include <algorithm>

#include "platform/registry/HiveConnection.h"
#include "platform/registry/KeyPath.h"
#include "platform/registry/KeyStore.h"
#include "platform/registry/RegName.h"

namespace korventa::reg {

// A reader copies the key's values and subkey names in one short read transaction, so it
// holds no lock while it lives (in rollback-journal mode a held read lock would stall every
// writer's commit). A writer keeps its connection and its open batch until close().
class RegistryKey::Impl {
public:
    [[nodiscard]] static RegStatus openSnapshot(const RegistryHive& hive, const KeyPath& path,
                                                std::unique_ptr<Impl>& out);
    [[nodiscard]] static RegStatus openBatch(const RegistryHive& hive, const KeyPath& path,
                                             HiveConnection::Mode mode, std::unique_ptr<Impl>& out);

    WString path_;
    bool writable_ = false;
    std::vector<RegValue> values_;
    std::vector<WString> subKeys_;
    HiveConnection connection_;
    std::int64_t id_ = 0;
};

RegStatus RegistryKey::Impl::openSnapshot(const RegistryHive& hive, const KeyPath& path,
                                          std::unique_ptr<Impl>& out) {
    auto impl = std::make_unique<Impl>();
    HiveConnection connection;
    KeyStore store(connection);
    KeyStore::Key key;
    RegStatus status = HiveConnection::open(hive.path(), HiveConnection::Mode::Read, connection);
    if (status == RegStatus::Ok)
        status = store.find(path, key);
    if (status == RegStatus::Ok)
        status = store.readValues(key.id, impl->values_);
    if (status == RegStatus::Ok)
        status = store.readSubKeys(key.id, impl->subKeys_);
    if (status == RegStatus::Ok)
        status = connection.commit();
    // Readers see a bad hive as no hive at all; the connection has named it on stderr.
    if (status == RegStatus::BadHive)
        return RegStatus::NotFound;
    if (status != RegStatus::Ok)
        return status;
    impl->path_ = std::move(key.path);
    out = std::move(impl);
    return RegStatus::Ok;
}

RegStatus RegistryKey::Impl::openBatch(const RegistryHive& hive, const KeyPath& path,
                                       HiveConnection::Mode mode, std::unique_ptr<Impl>& out) {
    auto impl = std::make_unique<Impl>();
    KeyStore store(impl->connection_);
    KeyStore::Key key;
    RegStatus status = HiveConnection::open(hive.path(), mode, impl->connection_);
    if (status == RegStatus::Ok) {
        status =
            mode == HiveConnection::Mode::Create ? store.create(path, key) : store.find(path, key);
    }
    if (status != RegStatus::Ok)
        return status;
    impl->writable_ = true;
    impl->path_ = std::move(key.path);
    impl->id_ = key.id;
    out = std::move(impl);
    return RegStatus::Ok;
}

RegistryKey::RegistryKey() = default;

RegistryKey::~RegistryKey() {
    (void)close();
}

RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        (void)close();
        impl_ = std::move(other.impl_);
    }
    return *this;
}

RegStatus RegistryKey::open(const RegistryHive& hive, WStringView path, KeyAccess access,
                            RegistryKey& out) {
    // Closed first: a batch still held in `out` would otherwise keep this batch waiting.
    (void)out.close();
    KeyPath keyPath;
    if (RegStatus status = KeyPath::parse(path, keyPath); status != RegStatus::Ok)
        return status;
    switch (access) {
        case KeyAccess::Read:
            return Impl::openSnapshot(hive, keyPath, out.impl_);
        case KeyAccess::Write:
            return Impl::openBatch(hive, keyPath, HiveConnection::Mode::Write, out.impl_);
    }
    return RegStatus::InvalidArgument;
}

RegStatus RegistryKey::create(const RegistryHive& hive, WStringView path, RegistryKey& out) {
    (void)out.close();
    KeyPath keyPath;
    if (RegStatus status = KeyPath::parse(path, keyPath); status != RegStatus::Ok)
        return status;
    return Impl::openBatch(hive, keyPath, HiveConnection::Mode::Create, out.impl_);
}

RegStatus RegistryKey::deleteTree(const RegistryHive& hive, WStringView path) {
    KeyPath keyPath;
    if (RegStatus status = KeyPath::parse(path, keyPath); status != RegStatus::Ok)
        return status;
    HiveConnection connection;
    KeyStore store(connection);
    KeyStore::Key key;
    RegStatus status = HiveConnection::open(hive.path(), HiveConnection::Mode::Write, connection);
    if (status == RegStatus::Ok)
        status = store.find(keyPath, key);
    if (status == RegStatus::Ok)
        status = store.removeTree(key.id);
    return status == RegStatus::Ok ? connection.commit() : status;
}

bool RegistryKey::isOpen() const {
    return impl_ != nullptr;
}

WString RegistryKey::path() const {
    return impl_ ? impl_->path_ : WString();
}

RegStatus RegistryKey::values(std::vector<RegValue>& out) const {
    if (!impl_)
        return RegStatus::InvalidArgument;
    if (impl_->writable_)
        return KeyStore(impl_->connection_).readValues(impl_->id_, out);
    out = impl_->values_;
    return RegStatus::Ok;
}

RegStatus RegistryKey::value(WStringView name, RegValue& out) const {
    if (!impl_)
        return RegStatus::InvalidArgument;
    if (impl_->writable_)
        return KeyStore(impl_->connection_).readValue(impl_->id_, name, out);
    std::string stored;
    if (RegStatus status = storedName(name, stored); status != RegStatus::Ok)
        return status;
    const auto found = std::find_if(impl_->values_.begin(), impl_->values_.end(),
                                    [name](const RegValue& v) { return sameName(v.name, name); });
    if (found == impl_->values_.end())
        return RegStatus::NotFound;
    out = *found;
    return RegStatus::Ok;
}

RegStatus RegistryKey::subKeys(std::vector<WString>& out) const {
    if (!impl_)
        return RegStatus::InvalidArgument;
    if (impl_->writable_)
        return KeyStore(impl_->connection_).readSubKeys(impl_->id_, out);
    out = impl_->subKeys_;
    return RegStatus::Ok;
}

RegStatus RegistryKey::setValue(WStringView name, std::uint32_t type, std::string data) {
    if (!impl_)
        return RegStatus::InvalidArgument;
    if (!impl_->writable_)
        return RegStatus::AccessDenied;
    return KeyStore(impl_->connection_).writeValue(impl_->id_, name, type, data);
}

RegStatus RegistryKey::setString(WStringView name, WStringView text) {
    return setValue(name, REG_SZ, RegValue::stringData(text));
}

RegStatus RegistryKey::deleteValue(WStringView name) {
    if (!impl_)
        return RegStatus::InvalidArgument;
    if (!impl_->writable_)
        return RegStatus::AccessDenied;
    return KeyStore(impl_->connection_).removeValue(impl_->id_, name);
}

RegStatus RegistryKey::close() {
    const std::unique_ptr<Impl> impl = std::move(impl_);
    if (!impl || !impl->writable_)
        return RegStatus::Ok;
    return impl->connection_.commit();
}

}  // namespace korventa::reg
