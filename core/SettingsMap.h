// Ordered name → text maps that registry reads fill and registry writes walk.
// Ordered by UTF-16 code units and compared exactly, case included: the order in which
// values are written is part of the format shared with the driver.
#pragma once

#include <map>

#include "core/Text.h"

namespace korventa {

using SettingsMap = std::map<WString, WString>;
// Page commands (command name → value), the same container.
using JobCommandMap = SettingsMap;

}  // namespace korventa
