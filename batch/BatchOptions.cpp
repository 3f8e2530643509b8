#include "batch/BatchOptions.h"

#include <charconv>

namespace korventa {
namespace {

constexpr int kLongestTimeoutSeconds = 24 * 60 * 60;

bool readSeconds(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    const auto [last, failure] = std::from_chars(text.data(), end, out);
    return !text.empty() && failure == std::errc() && last == end && out > 0 &&
           out <= kLongestTimeoutSeconds;
}

// "K/N" with 0 <= K < N.
bool readShard(const std::string& text, BatchOptions& options) {
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    const char* begin = text.data();
    const char* middle = begin + slash;
    const char* end = begin + text.size();
    int index = -1;
    int count = 0;
    const auto [indexEnd, indexFailure] = std::from_chars(begin, middle, index);
    const auto [countEnd, countFailure] = std::from_chars(middle + 1, end, count);
    if (slash == 0 || indexFailure != std::errc() || indexEnd != middle ||
        countFailure != std::errc() || countEnd != end || index < 0 || count < 1 ||
        index >= count)
        return false;
    options.shardIndex = index;
    options.shardCount = count;
    return true;
}

bool takeFlag(const std::string& word, BatchOptions& options) {
    struct Flag {
        const char* name;
        void (*apply)(BatchOptions&);
    };
    static constexpr Flag kFlags[] = {
        {"--invoice", [](BatchOptions& o) { o.invoice = true; }},
        {"--email", [](BatchOptions& o) { o.email = true; }},
        {"--detect", [](BatchOptions& o) { o.detectCommands = 1; }},
        {"--no-detect", [](BatchOptions& o) { o.detectCommands = 0; }},
        {"--hide", [](BatchOptions& o) { o.hideCommands = 1; }},
        {"--no-hide", [](BatchOptions& o) { o.hideCommands = 0; }},
        {"--html-template", [](BatchOptions& o) { o.htmlAsTemplate = true; }},
        {"--no-collate", [](BatchOptions& o) { o.collate = false; }},
        {"--allow-invalid", [](BatchOptions& o) { o.allowInvalid = true; }},
        {"--help", [](BatchOptions& o) { o.help = true; }},
        {"--version", [](BatchOptions& o) { o.version = true; }},
    };
    for (const Flag& flag : kFlags) {
        if (word == flag.name) {
            flag.apply(options);
            return true;
        }
    }
    return false;
}

// Options that take a value, as "--name VALUE" or "--name=VALUE".
bool takeValue(const std::string& name, const std::string& value, BatchOptions& options,
               std::string& error) {
    if (name == "--printer") {
        options.printer = value;
    } else if (name == "--class") {
        options.commandClass = value;
    } else if (name == "--out") {
        options.outputFolder = value;
    } else if (name == "--data") {
        options.dataPaths.push_back(value);
    } else if (name == "--shard") {
        if (!readShard(value, options)) {
            error = "--shard takes K/N: this run's number K from 0 to N-1 of N runs";
            return false;
        }
    } else if (name == "--timeout") {
        if (!readSeconds(value, options.timeoutSeconds)) {
            error = "--timeout takes a whole number of seconds from 1 to 86400";
            return false;
        }
    } else {
        error = "unknown option " + name;
        return false;
    }
    if (value.empty()) {
        error = name + " needs a value";
        return false;
    }
    return true;
}

bool takesValue(const std::string& name) {
    return name == "--printer" || name == "--class" || name == "--out" || name == "--data" ||
           name == "--timeout" || name == "--shard";
}

}  // namespace

bool parseBatchOptions(const std::vector<std::string>& arguments, BatchOptions& options,
                       std::string& error) {
    bool onlyInputs = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (onlyInputs || word.empty() || word[0] != '-' || word == "-") {
            options.inputs.push_back(word);
        } else if (word == "--") {
            onlyInputs = true;
        } else if (takeFlag(word, options)) {
            continue;
        } else if (const auto equals = word.find('='); equals != std::string::npos) {
            if (!takeValue(word.substr(0, equals), word.substr(equals + 1), options, error))
                return false;
        } else if (takesValue(word)) {
            if (i + 1 == arguments.size()) {
                error = word + " needs a value";
                return false;
            }
            if (!takeValue(word, arguments[++i], options, error))
                return false;
        } else {
            error = "unknown option " + word;
            return false;
        }
    }
    if (options.help || options.version)
        return true;
    if (options.inputs.empty()) {
        error = "no input: name one or more pages or addresses";
        return false;
    }
    if (!options.dataPaths.empty() && options.inputs.size() != 1) {
        error = "--data needs exactly one page, the template every data file is shown in";
        return false;
    }
    return true;
}

const char* batchUsage() {
    return "Usage: korventa-convert [OPTIONS] INPUT...\n"
           "Turns local pages (paths) or addresses into finished PDF documents through the\n"
           "\"Veltrix PDF Pro\" driver, with the same page scripting as the window.\n"
           "\n"
           "  --invoice          create Factur-X/ZUGFeRD invoices (the ZUGFeRD command)\n"
           "  --email            leave an e-mail draft with each document\n"
           "  --printer NAME     the driver's print queue (default: the saved printer)\n"
           "  --out DIR          folder for the finished documents (default: the driver's)\n"
           "  --data FILE|DIR    invoice data (JSON) for the one page given; repeatable; each\n"
           "                     file, or each *.json of a folder in name order, is one invoice\n"
           "  --class NAME       class (or selector) of the elements holding page commands\n"
           "  --detect, --no-detect   collect %%key: value%% page commands (default: saved)\n"
           "  --hide, --no-hide       hide the page commands in the document (default: saved)\n"
           "  --html-template    render the page body itself from the invoice data\n"
           "  --no-collate       print each invoice of --data on its own (slower; for pages\n"
           "                     whose layout needs a document per invoice)\n"
           "  --allow-invalid    exit with 0 even when an invoice fails its schema or rules\n"
           "  --timeout SECONDS  give up on an input after this long (default: 60)\n"
           "  --shard K/N        convert only every N-th input (or data file) from the K-th,\n"
           "                     counting from 0: N runs with K = 0..N-1 share one batch\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "One line per input on standard output: \"INPUT: PDF\" (with the e-mail draft and the\n"
           "invoice check), \"INPUT: invalid: RULE ...\" for an invoice that fails its schema or\n"
           "the EN 16931 rules (its PDF is still delivered, the report beside it) or\n"
           "\"INPUT: failed: REASON\", then a summary. Exit status 0 when every input finished\n"
           "(invalid invoices only with --allow-invalid), 1 otherwise, 2 for a command line it\n"
           "cannot follow.\n";
}

}  // namespace korventa
