#include "platform/win32/win32_user_folders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <string>

namespace hoshizora {

std::filesystem::path KnownFolderPath(KnownFolder which) {
  const KNOWNFOLDERID& id =
      which == KnownFolder::kRoamingAppData ? FOLDERID_RoamingAppData : FOLDERID_Documents;
  PWSTR path = nullptr;
  std::filesystem::path folder;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
    folder = path;
  }
  // Freed on failure too: the call may hand back memory either way.
  CoTaskMemFree(path);
  return folder;
}

std::filesystem::path UserProfileFolder() {
  const DWORD size = GetEnvironmentVariableW(L"USERPROFILE", nullptr, 0);
  if (size == 0) {
    return {};
  }
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", value.data(), size);
  if (length == 0 || length >= size) {
    return {};
  }
  value.resize(length);
  return value;
}

bool FolderWritable(const std::filesystem::path& folder) {
  // A name of this process and moment: two starts at once must not take
  // each other's probe for their own.
  const std::filesystem::path probe =
      folder / (L".hoshizora-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L".tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  DeleteFileW(probe.c_str());
  return true;
}

}  // namespace hoshizora
