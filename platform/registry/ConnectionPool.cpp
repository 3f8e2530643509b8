#include "platform/registry/ConnectionPool.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace korventa::reg {
namespace {

// Kept handles of this thread; a handle inherited through fork() is released unclosed, since
// closing it could drop locks or journals the parent still relies on.
class IdleHandles {
public:
    IdleHandles() = default;
    IdleHandles(const IdleHandles&) = delete;
    IdleHandles& operator=(const IdleHandles&) = delete;
    ~IdleHandles() { releaseForeign(); }

    std::vector<ConnectionPool::Lease>& all() {
        releaseForeign();
        return leases_;
    }

private:
    void releaseForeign() {
        const pid_t self = ::getpid();
        for (ConnectionPool::Lease& lease : leases_) {
            if (lease.process != self)
                (void)lease.db.release();
        }
        std::erase_if(leases_, [](const ConnectionPool::Lease& lease) { return !lease.db; });
    }

    std::vector<ConnectionPool::Lease> leases_;
};

IdleHandles& idleHandles() {
    thread_local IdleHandles handles;
    return handles;
}

}  // namespace

void ConnectionPool::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

int ConnectionPool::open(const std::string& path, const std::string& sqliteName, int flags,
                         Lease& out) {
    struct stat file {};
    const bool known = ::stat(path.c_str(), &file) == 0;
    std::vector<Lease>& idle = idleHandles().all();
    const auto kept = std::find_if(idle.begin(), idle.end(), [&](const Lease& lease) {
        return lease.path == path && lease.flags == flags;
    });
    if (kept != idle.end()) {
        Lease lease = std::move(*kept);
        idle.erase(kept);
        if (known && lease.device == file.st_dev && lease.inode == file.st_ino) {
            out = std::move(lease);
            return SQLITE_OK;
        }
    }
    sqlite3* raw = nullptr;
    const int result = sqlite3_open_v2(sqliteName.c_str(), &raw, flags, nullptr);
    out = Lease{std::unique_ptr<sqlite3, Closer>(raw), path, flags, 0, 0, ::getpid()};
    // The file is looked at again: opening may have been what made it.
    if (result == SQLITE_OK && ::stat(path.c_str(), &file) == 0) {
        out.device = file.st_dev;
        out.inode = file.st_ino;
    }
    return result;
}

void ConnectionPool::giveBack(Lease lease) {
    if (!lease.db || lease.process != ::getpid() || lease.inode == 0)
        return;
    std::vector<Lease>& idle = idleHandles().all();
    const bool taken = std::any_of(idle.begin(), idle.end(), [&](const Lease& kept) {
        return kept.path == lease.path && kept.flags == lease.flags;
    });
    if (taken)
        return;
    // SQLite trusts cached pages while the file's change counter stands still, which a damaged
    // or hand-edited file does not move: the next batch reads from the disk again.
    sqlite3_db_release_memory(lease.db.get());
    idle.push_back(std::move(lease));
}

}  // namespace korventa::reg
