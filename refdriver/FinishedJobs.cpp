#include "refdriver/FinishedJobs.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "driver/FinishedJobEntry.h"
#include "driver/DriverNames.h"
#include "driver/KeyValues.h"
#include "platform/registry/RegName.h"
#include "platform/registry/RegValue.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryTransaction.h"
#include "core/UniqueFd.h"

namespace korventa::refdriver {
namespace {

using reg::RegStatus;

// As long as the store's own bounded wait for writers: a holder that takes longer is stuck.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(5);

// An exclusive lock on a file beside the hive, held for the object's life.
class ListLock {
public:
    [[nodiscard]] bool take(const std::string& hivePath) {
        lock_ = UniqueFd(::open((hivePath + ".finished-lock").c_str(),
                                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!lock_.isOpen()) return false;
        const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
        while (::flock(lock_.get(), LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(kLockRetry);
        }
        return true;
    }

private:
    UniqueFd lock_;  // closing it releases the lock
};

struct ListState {
    std::vector<WString> order;  // oldest first
    unsigned long long lastSequence = 0;
};

std::vector<WString> splitLines(WStringView text) {
    std::vector<WString> lines;
    while (!text.empty()) {
        const std::size_t end = text.find(u'\n');
        if (end != 0) lines.emplace_back(text.substr(0, end));
        if (end == WStringView::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

WString joinLines(const std::vector<WString>& lines) {
    WString text;
    for (const auto& line : lines) text += line + u'\n';
    return text;
}

unsigned long long parseSequence(WStringView text) {
    unsigned long long number = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return 0;
        number = number * 10 + static_cast<unsigned long long>(c - u'0');
    }
    return number;
}

RegStatus readState(const reg::RegistryHive& hive, const WString& listPath, ListState& state) {
    reg::RegistryKey key;
    const RegStatus opened = reg::RegistryKey::open(hive, listPath, reg::KeyAccess::Read, key);
    if (opened == RegStatus::NotFound) return RegStatus::Ok;
    if (opened != RegStatus::Ok) return opened;
    reg::RegValue value;
    if (key.value(u"Order", value) == RegStatus::Ok) state.order = splitLines(value.text());
    if (key.value(u"LastSequence", value) == RegStatus::Ok) {
        state.lastSequence = parseSequence(value.text());
    }
    return RegStatus::Ok;
}

RegStatus setText(reg::RegistryTransaction& transaction, const WString& keyPath,
                  WStringView name, WStringView text) {
    return transaction.setValue(keyPath, name, reg::REG_SZ, reg::RegValue::stringData(text));
}

RegStatus writeEntry(reg::RegistryTransaction& transaction, const WString& entryPath,
                     const FinishedJob& job, unsigned long long sequence) {
    const std::pair<WStringView, const WString*> values[] = {
        {u"OutputPDF", &job.outputPdf},       {u"OutputXML", &job.outputXml},
        {u"OutputEmail", &job.outputEmail},   {u"Result", &job.result},
        {u"InvoiceError", &job.invoiceError}, {u"EmailError", &job.emailError},
        {u"InvoiceCheck", &job.invoiceCheck}, {u"InvoiceCheckRules", &job.invoiceCheckRules},
        {u"InvoiceCheckWarnings", &job.invoiceCheckWarnings},
        {u"InvoiceCheckReport", &job.invoiceCheckReport},
    };
    RegStatus status = transaction.createKey(entryPath);
    for (const auto& [name, text] : values) {
        if (status == RegStatus::Ok && !text->empty()) {
            status = setText(transaction, entryPath, name, *text);
        }
    }
    return status == RegStatus::Ok ? setText(transaction, entryPath, u"Sequence",
                                              decimalText(sequence))
                                   : status;
}

// The new order: the entry moves to the end, the oldest beyond the bound drop out.
std::vector<WString> nextOrder(ListState& state, const WString& entry,
                               std::vector<WString>& dropped) {
    std::vector<WString> order;
    for (auto& name : state.order) {
        if (!reg::sameName(name, entry)) order.push_back(std::move(name));
    }
    order.push_back(entry);
    const std::size_t excess = order.size() > MaxFinishedJobs ? order.size() - MaxFinishedJobs : 0;
    dropped.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(excess));
    order.erase(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(excess));
    return order;
}

RegStatus applyChanges(const reg::RegistryHive& hive, WStringView jobKeyName,
                       const FinishedJob& job, bool removeJobKey, ListState& state) {
    const WString listPath = driverKeyPath(FinishedListName);
    const WString entry = finishedEntryName(jobKeyName);
    std::vector<WString> dropped;
    const std::vector<WString> order = nextOrder(state, entry, dropped);
    const unsigned long long sequence = state.lastSequence + 1;

    reg::RegistryTransaction transaction;
    RegStatus status = reg::RegistryTransaction::begin(hive, transaction);
    if (status == RegStatus::Ok && removeJobKey) {
        status = transaction.deleteKeyIfPresent(driverKeyPath(jobKeyName));
    }
    for (const auto& name : dropped) {
        if (status == RegStatus::Ok) status = transaction.deleteKeyIfPresent(listPath + name);
    }
    if (status == RegStatus::Ok) status = transaction.deleteKeyIfPresent(listPath + entry);
    if (status == RegStatus::Ok) status = writeEntry(transaction, listPath + entry, job, sequence);
    if (status == RegStatus::Ok) status = setText(transaction, listPath, u"Order", joinLines(order));
    if (status == RegStatus::Ok) {
        status = setText(transaction, listPath, u"LastSequence", decimalText(sequence));
    }
    return status == RegStatus::Ok ? transaction.commit() : status;
}

}  // namespace

RegStatus recordFinishedJob(WStringView jobKeyName, const FinishedJob& job, bool removeJobKey) {
    const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    ListLock lock;
    if (!lock.take(hive.path())) return RegStatus::Busy;
    ListState state;
    if (const RegStatus status = readState(hive, driverKeyPath(FinishedListName), state);
        status != RegStatus::Ok) {
        return status;
    }
    return applyChanges(hive, jobKeyName, job, removeJobKey, state);
}

}  // namespace korventa::refdriver
