// A prepared job as the finishing steps see it: the values of its key (DriverRegistryRoot +
// job key name + "\" in the user's hive) and the files they name, checked before any of them
// is used. Page commands can stand in for any value the program did not filter, so the job's
// folder must be one the driver made (directly inside its cache jobs folder) and the PDF a
// file directly inside that folder. The object owns copies; one thread.
#pragma once

#include <string>

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa::refdriver {

class JobRecord {
public:
    // Reads the job key; false with a reason when it is missing or has no usable folder or PDF
    // name. The values read are kept even then, for the finished list.
    [[nodiscard]] bool load(WStringView jobKeyName, std::string& error);

    [[nodiscard]] const SettingsMap& values() const { return values_; }
    // The text of a value, empty when missing.
    [[nodiscard]] WString text(WStringView name) const;
    [[nodiscard]] bool isSet(WStringView name) const { return isTrueText(text(name)); }

    // The job's folder and its PDF file, both checked by load().
    [[nodiscard]] const std::string& folder() const { return folder_; }
    [[nodiscard]] const std::string& pdfPath() const { return pdfPath_; }
    // The absolute path in "AnnZUGFeRD", or empty.
    [[nodiscard]] std::string xmlPath() const;
    // True when the XML file lies directly in the job's folder: the program wrote it, and it
    // goes when the folder goes.
    [[nodiscard]] bool ownsXml() const;
    // The document title: "DocTitle" when given, else "JobDocument".
    [[nodiscard]] WString title() const;

private:
    SettingsMap values_;
    std::string folder_;
    std::string pdfPath_;
};

}  // namespace korventa::refdriver
