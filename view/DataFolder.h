// Where the browser keeps its user data: the local data folder + "/TALVENIR", else the home
// folder + "/.talvenir", else the temporary folder + "talvenri-" + the user's number with one
// separator between: the temporary folder is shared by all users, the data is not.
// Qt-free; the sources are read from the environment, the choice is a pure function.
#pragma once

#include <optional>

#include "core/Text.h"

namespace korventa {

struct FolderSources {
    // $XDG_DATA_HOME, else an existing ~/.local/share unless the data is kept in ~/.talvenir
    std::optional<WString> localData;
    std::optional<WString> home;       // $HOME when it is an existing folder
    std::optional<WString> temporary;  // $TMPDIR when absolute, else /tmp
    unsigned userId = 0;               // the effective user's number
};

// Empty only when no source is known: Qt's own default folder then applies.
[[nodiscard]] WString chooseDataFolder(const FolderSources& sources);
[[nodiscard]] FolderSources currentFolderSources();

}  // namespace korventa
