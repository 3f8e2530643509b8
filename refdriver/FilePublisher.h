// Puts finished files into a folder under free names without ever replacing a file: each file
// is written completely under a temporary name in the same folder and synced, then linked to
// its final name with RENAME_NOREPLACE (or link(2) where the file system lacks it). Files of
// one group share a base name: "name.pdf" + "name.xml", or "name (2).pdf" + "name (2).xml"
// when any of them is taken, decided per name by the kernel, so jobs of several processes can
// publish into one folder at once. One object per group and thread; temporaries never outlive
// it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/UniqueFd.h"

namespace korventa::refdriver {

class FilePublisher {
public:
    FilePublisher() = default;
    ~FilePublisher();
    FilePublisher(const FilePublisher&) = delete;
    FilePublisher& operator=(const FilePublisher&) = delete;

    // The folder must exist; false with a reason when it cannot be opened.
    [[nodiscard]] bool open(const std::string& folder, std::string& error);
    // Writes `bytes` to a synced temporary file; `extension` includes its dot (".pdf").
    [[nodiscard]] bool add(std::string_view extension, std::string_view bytes, std::string& error);
    // Gives every added file its final name; false (nothing published) with a reason otherwise.
    [[nodiscard]] bool publish(const std::string& baseName, std::string& error);

    // Full paths, in the order the files were added, after publish().
    [[nodiscard]] const std::vector<std::string>& paths() const { return paths_; }

private:
    struct Pending {
        std::string extension;
        std::string temporaryName;
        bool linked = false;  // published by link(2): the temporary name still exists
    };
    enum class Attempt { Published, NameTaken, Failed };

    [[nodiscard]] bool isTaken(const std::string& stem) const;
    [[nodiscard]] int firstFreeGuess(const std::string& baseName) const;
    [[nodiscard]] Attempt publishAs(const std::string& stem, std::string& error);
    [[nodiscard]] Attempt place(Pending& file, const std::string& name, std::string& error);
    void takeBack(const Pending& file, const std::string& name);

    std::string folder_;
    UniqueFd folderFd_;
    std::vector<Pending> pending_;
    std::vector<std::string> paths_;
};

}  // namespace korventa::refdriver
