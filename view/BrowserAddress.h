// Which texts the browser opens as they are. Qt silently shows a blank page for an invalid
// or relative address, so the refusal is made here: a strictly parsed absolute URL; a web or
// file address that only a browser's address bar would take (blanks, "|", other characters it
// percent-encodes), parsed leniently and encoded; or an absolute local path opened as a file
// URL. QtCore only, any thread.
#pragma once

#include <QUrl>
#include <optional>

#include "core/Text.h"

namespace korventa {

[[nodiscard]] std::optional<QUrl> browserUrl(const WString& text);

}  // namespace korventa
