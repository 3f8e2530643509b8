// The command line of korventa-convert: the create command (--invoice, --email), the printer,
// the page command switches, the output folder, invoice data files, the time-out and the
// shard, then the
// inputs. Parsing only; nothing is opened or checked against the disk. Pure; any thread.
#pragma once

#include <string>
#include <vector>

namespace korventa {

struct BatchOptions {
    static constexpr int kDefaultTimeoutSeconds = 60;

    bool invoice = false;
    bool email = false;
    std::string printer;      // empty: the saved printer
    std::string commandClass; // empty: the saved class name
    int detectCommands = -1;  // -1 keeps the saved switch, else 0 or 1
    int hideCommands = -1;
    bool htmlAsTemplate = false;
    bool collate = true;  // invoice data: many invoices to one print
    bool allowInvalid = false;  // an invoice that fails its checks does not fail the run
    std::string outputFolder;             // empty: the driver's own destination
    std::vector<std::string> dataPaths;   // JSON files or folders of them
    int timeoutSeconds = kDefaultTimeoutSeconds;
    // --shard K/N: this run takes the planned items K, K + N, K + 2N ... (K from 0), so N runs
    // with K = 0 .. N-1 share one batch without talking to each other.
    int shardIndex = 0;
    int shardCount = 1;
    std::vector<std::string> inputs;
    bool help = false;
    bool version = false;
};

// False with `error` set for a command line that asks for nothing sensible.
[[nodiscard]] bool parseBatchOptions(const std::vector<std::string>& arguments,
                                     BatchOptions& options, std::string& error);
// The --help text.
[[nodiscard]] const char* batchUsage();

}  // namespace korventa
