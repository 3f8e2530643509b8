// What the reference driver does for DocGetDocInfo2: validates the caller's arguments, makes
// the job's private folder and writes the job key (DriverRegistryRoot + job key name + "\")
// in the user's hive in one transaction. Either both exist afterwards or neither does.
// Stateless; any thread.
#pragma once

#include <cstdint>

#include "core/Text.h"
#include "driver/DriverAbi.h"

namespace korventa::refdriver {

// The job key's value holding the owner token of the instance that prepared it.
inline constexpr WStringView JobOwnerValue = u"JobOwner";

// VELT_OK, or a negative VeltResult. A key left by an earlier job of the same name is
// replaced as a whole, so none of that job's values leak into this one; a key whose owner
// token is that of the live holder of the prefix's instance number is a job in flight and is
// never touched (VELT_E_JOB_LIVE).
[[nodiscard]] std::int32_t prepareJob(VeltPrinterHandle printer, const char16_t* jobPrefix,
                                      const char16_t* documentText, std::uint32_t jobNumber);

}  // namespace korventa::refdriver
