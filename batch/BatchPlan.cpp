#include "batch/BatchPlan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>

namespace korventa {
namespace {

std::string absolutePage(const std::string& input) {
    if (isAddress(input))
        return input;
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(input, error);
    return error ? input : path.lexically_normal().string();
}

// A folder gives its *.json files in name order; anything else stands for itself, so a
// missing or unreadable file is reported on its own line when its turn comes.
void addDataFiles(const std::string& path, std::vector<std::string>& files) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        files.push_back(path);
        return;
    }
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        if (entry.path().extension() == ".json")
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
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

bool readDataFile(const std::string& path, std::string& text, std::string& failure) {
    std::ifstream file(path, std::ios::binary);
    if (file)
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file || file.bad()) {
        failure = "the data file cannot be read";
        return false;
    }
    if (!nlohmann::json::accept(text)) {
        failure = "the data file is not valid JSON";
        return false;
    }
    return true;
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
            items.push_back({input, absolutePage(input), {}});
    } else {
        std::vector<std::string> files;
        for (const std::string& path : options.dataPaths) addDataFiles(path, files);
        const std::string page = absolutePage(options.inputs.front());
        for (const std::string& file : files) items.push_back({file, page, file});
    }
    return takeShard(std::move(items), options);
}

}  // namespace korventa
