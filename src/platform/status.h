#pragma once

namespace tarnwell {

// Win32 status codes as the registry and process calls return them. The program's rules
// depend on which call failed and why, so results carry these rather than a bool.
using Status = long;

inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kBadPathname = 161;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;
inline constexpr Status kKeyDeleted = 1018;

}  // namespace tarnwell
