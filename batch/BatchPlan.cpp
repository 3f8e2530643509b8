#include "batch/BatchPlan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "core/FileBytes.h"

namespace korventa {
namespace {

std::string absolutePage(const std::string& input) {
    if (isAddress(input))
        return input;
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(input, error);
    return error ? input : path.lexically_normal().string();
}

// Far beyond any invoice's data, and still a size the page can take as one string.
constexpr std::size_t kMaxDataBytes = std::size_t{64} << 20;

// A folder gives its *.json files in name order; anything else stands for itself, so a
// missing or unreadable file is reported on its own line when its turn comes. A folder that
// cannot be read or holds no data file is an item that fails, so it gets its line too.
void addDataFiles(const std::string& path, const std::string& page, std::vector<BatchItem>& items) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        items.push_back({path, page, path, {}});
        return;
    }
    std::vector<std::string> found;
    std::filesystem::directory_iterator entry(path, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (entry->path().extension() == ".json")
            found.push_back(entry->path().string());
    }
    if (error) {
        items.push_back({path, page, {}, "the data folder cannot be read: " + error.message()});
        return;
    }
    if (found.empty()) {
        items.push_back({path, page, {}, "the data folder holds no .json file"});
        return;
    }
    std::sort(found.begin(), found.end());
    for (const std::string& file : found) items.push_back({file, page, file, {}});
}

// Every run of a sharded batch plans the same list (a folder in name order) and keeps its own
// share of it, so the shards cover it exactly once.
std::vector<BatchItem> takeShard(std::vector<BatchItem> items, const BatchOptions& options) {
    if (options.shardCount <= 1)
        return items;
    std::vector<BatchItem> share;
    const auto count = static_cast<std::size_t>(options.shardCount);
    for (auto at = static_cast<std::size_t>(options.shardIndex); at < items.size(); at += count)
        share.push_back(std::move(items[at]));
    return share;
}

}  // namespace

// Only a regular file is read (opened without blocking, so a FIFO cannot hang the run), and
// only a JSON object is data: without exceptions the parser reports every fault, a number
// beyond a double's range included, as a discarded value.
bool readDataFile(const std::string& path, std::string& text, std::string& failure) {
    std::string error;
    if (!readFileBytes(path, LinkPolicy::Follow, kMaxDataBytes, text, error)) {
        failure = "the data file cannot be read: " + error;
        return false;
    }
    const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (value.is_discarded()) {
        failure = "the data file is not valid JSON";
    } else if (!value.is_object()) {
        failure = "the data file holds no JSON object";
    } else {
        return true;
    }
    text.clear();
    return false;
}

bool isAddress(const std::string& input) {
    const auto colon = input.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    return std::all_of(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](char c) {
                           return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' ||
                                  c == '-' || c == '.';
                       });
}

std::vector<BatchItem> planBatch(const BatchOptions& options) {
    std::vector<BatchItem> items;
    if (options.dataPaths.empty()) {
        for (const std::string& input : options.inputs)
            items.push_back({input, absolutePage(input), {}, {}});
    } else {
        const std::string page = absolutePage(options.inputs.front());
        for (const std::string& path : options.dataPaths) addDataFiles(path, page, items);
    }
    return takeShard(std::move(items), options);
}

}  // namespace korventa
