// A private folder (mode 0700) for one job's temporary files, below the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache) in talvenir/jobs/. The object owns the folder until keep():
// a job that could not be prepared takes its folder with it. One thread per object.
#pragma once

#include <string>

namespace korventa::refdriver {

class JobFolder {
public:
    JobFolder() = default;
    ~JobFolder();
    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;

    // Where job folders are made (nothing is created); false without a usable cache folder.
    [[nodiscard]] static bool rootPath(std::string& out);
    // Whether `path` names a folder of the kind create() makes, directly in rootPath().
    [[nodiscard]] static bool isJobFolder(const std::string& path);
    // Makes a fresh folder with a unique name; false when no cache folder can be found or made.
    [[nodiscard]] bool create();
    // From now on the folder outlives this object: it belongs to the job.
    void keep() { kept_ = true; }

    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace korventa::refdriver
