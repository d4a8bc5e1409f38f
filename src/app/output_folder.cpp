#include "app/output_folder.h"

#include "encoding/text_utils.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kFolderPrefix = u"和文電報_";
constexpr int kMaxFolderTries = 1000;

}  // namespace

std::optional<std::u16string> MakeOutputFolder(System& system, const std::filesystem::path& root,
                                               const std::u16string& timestamp) {
  const std::u16string stem = std::u16string(kFolderPrefix) + timestamp;
  for (int n = 1; n <= kMaxFolderTries; ++n) {
    const std::u16string name = n == 1 ? stem : stem + u"_" + IntToText(n);
    // No look before the leap: a batch started at the same moment may take
    // the name between a look and the making.
    switch (system.CreateFolder(root / PathFromText(name))) {
      case FolderMade::kMade:
        return name;
      case FolderMade::kNameTaken:
        continue;
      case FolderMade::kFailed:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace hoshizora
