#pragma once

#include <windows.h>

#include <string>

namespace tarnwell {

// Everything below a registry key, values with their types and bytes, as one text; empty
// when the key is missing. `view` is applied to every key opened.
std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path);

// The names and sizes of every file and folder below `folder`, as one text.
std::string FileTreeSnapshot(const std::string& folder);

}  // namespace tarnwell
