// Where finished files go. PDFs: the job's "JobOutputFolder" (only the program writes it),
// else the driver setting "DestFolder", else the user's documents folder + "/Veltrix". E-mail
// drafts: the driver setting "OutboxFolder", else $XDG_DATA_HOME (default ~/.local/share) +
// "/talvenir/outbox". Only absolute folders count; a page command never names one. Missing
// folders are made with mode 0700. Stateless apart from the environment; any thread.
#pragma once

#include <string>

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa::refdriver {

// The destination folder, made when missing; false with a reason.
// `jobOutputFolder` is the job's "JobOutputFolder" text (empty when the job has none).
[[nodiscard]] bool destinationFolder(WStringView jobOutputFolder, const SettingsMap& settings,
                                     std::string& folder, std::string& error);
// The outbox folder, made when missing; false with a reason.
[[nodiscard]] bool outboxFolder(const SettingsMap& settings, std::string& folder,
                                std::string& error);

// `xdg-user-dir DOCUMENTS` when it answers an absolute folder other than the home folder
// itself (its answer when nothing is configured), else ~/Documents; empty without a home.
[[nodiscard]] std::string documentsFolder();

// Makes the folder and its missing parents, each new one with mode 0700.
[[nodiscard]] bool makePrivateFolders(const std::string& folder, std::string& error);

}  // namespace korventa::refdriver
