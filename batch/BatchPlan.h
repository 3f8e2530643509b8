// The inputs of a batch run in the order they are converted: each page or address once, or,
// with invoice data, the one page once per data file (the files of a folder in name order).
// Local pages are made absolute, as the browser opens only absolute paths. Only folders are
// read here (a folder that cannot be read or holds no data file is an item that fails, so it
// gets its line); files are checked when their turn comes. Any thread.
#pragma once

#include <string>
#include <vector>

#include "batch/BatchOptions.h"

namespace korventa {

struct BatchItem {
    std::string label;     // what the output line names: the input, or the data file
    std::string page;      // absolute path or address
    std::string dataFile;  // empty without invoice data
    std::string failure;   // set when the plan already knows why the item cannot be converted
};

[[nodiscard]] std::vector<BatchItem> planBatch(const BatchOptions& options);
// The text of an item's data file; false with the line's reason (starting "the data file")
// when it is no regular file, cannot be read or holds no JSON object.
[[nodiscard]] bool readDataFile(const std::string& path, std::string& text, std::string& failure);
// True for text the browser should open as an address rather than as a file path.
[[nodiscard]] bool isAddress(const std::string& input);

}  // namespace korventa
