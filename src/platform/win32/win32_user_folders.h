#pragma once

#include <filesystem>

namespace hoshizora {

// The per-user folders an installed copy writes into; empty when Windows
// cannot name one.
enum class KnownFolder { kRoamingAppData, kDocuments };
std::filesystem::path KnownFolderPath(KnownFolder which);

// %USERPROFILE%; empty when unset.
std::filesystem::path UserProfileFolder();

// Whether this process may make files in `folder`, found out by making one
// and deleting it again: the folder's access list, a read-only medium and
// the virtualisation of old program folders all have their say that way.
bool FolderWritable(const std::filesystem::path& folder);

}  // namespace hoshizora
