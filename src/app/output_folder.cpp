#include "app/output_folder.h"

#include "encoding/text_utils.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kFolderPrefix = u"和文電報_";
constexpr int kMaxFolderTries = 1000;

}  // namespace

OutputFolder MakeOutputFolder(System& system, const std::filesystem::path& root,
                              const std::u16string& timestamp) {
  const std::u16string stem = std::u16string(kFolderPrefix) + timestamp;
  OutputFolder folder;
  for (int n = 1; n <= kMaxFolderTries; ++n) {
    folder.name = n == 1 ? stem : stem + u"_" + IntToText(n);
    // No look before the leap: a batch started at the same moment may take
    // the name between a look and the making.
    folder.made = system.CreateFolder(root / PathFromText(folder.name));
    if (folder.made != FolderMade::kNameTaken) {
      return folder;
    }
  }
  return folder;
}

}  // namespace hoshizora
