#include "wine/snapshot.h"

#include <vector>

namespace tarnwell {
namespace {

void SnapshotKey(HKEY key, REGSAM view, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  std::vector<char> name(16384);
  std::vector<BYTE> data(65536);
  for (DWORD index = 0;; ++index) {
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD data_length = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, index, name.data(), &name_length, nullptr, &type, data.data(),
                      &data_length) != ERROR_SUCCESS) {
      break;
    }
    out += std::string(name.data(), name_length) + "=" + std::to_string(type) + ":" +
           std::string(reinterpret_cast<const char*>(data.data()), data_length) + "\n";
  }
  for (DWORD index = 0;; ++index) {
    DWORD name_length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(key, index, name.data(), &name_length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::string sub_name(name.data(), name_length);
    HKEY sub = nullptr;
    if (RegOpenKeyExA(key, sub_name.c_str(), 0, KEY_READ | view, &sub) == ERROR_SUCCESS) {
      SnapshotKey(sub, view, path + "\\" + sub_name, out);
      RegCloseKey(sub);
    }
  }
}

void SnapshotFolder(const std::string& folder, std::string& out) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") {
      continue;
    }
    const std::string path = folder + "\\" + name;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      out += path + "\\\n";
      SnapshotFolder(path, out);
    } else {
      out += path + " " + std::to_string(found.nFileSizeLow) + "\n";
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

std::string RegistrySnapshot(HKEY root, REGSAM view, const std::string& path) {
  std::string out;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) == ERROR_SUCCESS) {
    SnapshotKey(key, view, path, out);
    RegCloseKey(key);
  }
  return out;
}

std::string FileTreeSnapshot(const std::string& folder) {
  std::string out;
  SnapshotFolder(folder, out);
  return out;
}

}  // namespace tarnwell
