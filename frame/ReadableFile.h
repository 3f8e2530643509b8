// The browse command's check that a chosen file can be read and nobody else holds it: the
// counterpart of opening it with no sharing allowed. Stateless; any thread.
#pragma once

#include "core/Text.h"

namespace korventa {

// True for an existing regular file that opens for reading and on which no other open file
// holds a lock; the file is closed again before returning.
[[nodiscard]] bool opensForReadingAlone(WStringView path);

}  // namespace korventa
