// Names shared by the converter, the driver glue and the reference driver: the two registry
// roots (both end with a backslash), the converter's settings name and the driver's product
// name, which is also the exact make-and-model of the driver's print queues.
#pragma once

#include <cstddef>

#include "core/Text.h"

namespace korventa {

inline constexpr WStringView DriverRegistryRoot = u"Software\\TALVENIR\\Veltrix\\PDF\\5.0\\";
inline constexpr WStringView ConverterRegistryRoot = u"Software\\TALVENIR\\KORVENTA\\";
inline constexpr WStringView ConverterSettingsName = u"KORVENTA";
inline constexpr WStringView DriverProductName = u"Veltrix PDF Pro";

// A converter's job prefix is this, its instance number in three or more digits and "\".
inline constexpr WStringView InstanceJobPrefixStart = u"KORVENTAJob\\Inst";

// Job keys are named in a buffer of 64 wide characters on the program's side.
inline constexpr std::size_t MaxJobKeyNameLength = 63;

}  // namespace korventa
