// Takes the page's result message (the JSON text that gkvt_zugFun posts) into the request
// state: the page commands and the rendered invoice XML. All or nothing: a message that is
// not a well-formed result changes nothing, so the caller can end the request and free its
// printing slot. Pure function over caller-owned state; window thread in practice.
#pragma once

#include <string>
#include <string_view>

#include "core/SettingsMap.h"

namespace korventa {

enum class IntakeStatus {
    Accepted,  // taken (possibly adding nothing): print
    Invalid,   // not strict JSON, or a member of the wrong type: nothing changed, do not print
};

// message is UTF-8. Strict JSON: no comments, only white space after the value, the last of
// duplicate member names counts. A valid value that is not an object is Accepted with
// nothing taken. "facx" must be a string and replaces facturXml; "cmds" must be an object
// whose members are strings or arrays of strings (joined as a parenthesised list); entries
// replace those of the same name in commandMap.
[[nodiscard]] IntakeStatus takeConversionResult(std::string_view message,
                                                JobCommandMap& commandMap,
                                                std::string& facturXml);

}  // namespace korventa
