// 32-bit status codes of browser and platform calls: negative means failure.
// The numbers are the platform's, so a reported code means the same to everyone.
#pragma once

#include <cstdint>

namespace korventa {

using HResult = std::int32_t;

constexpr HResult S_OK = 0;
constexpr HResult S_FALSE = 1;
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
constexpr HResult E_UNEXPECTED = static_cast<HResult>(0x8000FFFFu);
constexpr HResult E_ABORT = static_cast<HResult>(0x80004004u);
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
constexpr HResult E_ACCESSDENIED = static_cast<HResult>(0x80070005u);

[[nodiscard]] constexpr bool failed(HResult status) { return status < 0; }

}  // namespace korventa
