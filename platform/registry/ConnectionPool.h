// The idle SQLite handles of the calling thread, at most one per hive file and open mode, so a
// thread that opens many keys of one hive opens the file once instead of once per key. A handle
// is handed out again only for the same file (device and inode when it was opened) and never
// in a process forked since, as SQLite handles must not cross fork(); a kept handle keeps no
// cached pages. Thread-local; no locks.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

struct sqlite3;

namespace korventa::reg {

class ConnectionPool {
public:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    // A handle and the file it was opened on; only the thread that took it uses it.
    struct Lease {
        std::unique_ptr<sqlite3, Closer> db;
        std::string path;
        int flags = 0;
        dev_t device = 0;
        ino_t inode = 0;
        pid_t process = 0;
    };

    // An idle handle of this thread for the file, else a new one; the SQLite result code
    // (`out.db` may hold a handle to close even on failure, as sqlite3_open_v2 leaves one).
    [[nodiscard]] static int open(const std::string& path, const std::string& sqliteName,
                                  int flags, Lease& out);
    // Keeps a handle outside any transaction for the next open on this thread; one already
    // kept for the file is closed instead.
    static void giveBack(Lease lease);
};

}  // namespace korventa::reg
