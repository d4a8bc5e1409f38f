#include "app/practice_playback.h"

#include <string>
#include <vector>

#include "app/compose_telegram.h"
#include "app/field_buffers.h"
#include "app/keying_settings.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "platform/paths.h"

namespace hoshizora {

std::optional<std::filesystem::path> PracticeFolderWav(System& system,
                                                       const std::filesystem::path& key_file) {
  constexpr std::u16string_view kKeySuffix = u"_telegram.txt";
  const std::u16string name = PathText(key_file.filename());
  if (name.size() <= kKeySuffix.size() || !name.ends_with(kKeySuffix)) {
    return std::nullopt;
  }
  const std::filesystem::path wav =
      key_file.parent_path() /
      PathFromText(std::u16string_view(name).substr(0, name.size() - kKeySuffix.size()));
  const std::filesystem::path with_extension = WithSuffix(wav, u".wav");
  if (!system.PathExists(with_extension)) {
    return std::nullopt;
  }
  return with_extension;
}

WavStatus WriteTelegramWav(System& system, const TelegramFields& fields, std::int32_t frequency,
                           std::int32_t speed, const KeyingOptions& keying,
                           const std::filesystem::path& base_path) {
  std::vector<std::u16string> cut_notes;
  const TelegramFields used = CutToFieldBuffers(fields, cut_notes);
  const std::u16string code = EncodeTelegram(InsertGroupMarks(ComposeKeyedTelegram(used)));
  return WriteMorseWav(system, base_path, code, frequency, speed, {}, BoundKeying(keying, speed))
      .status;
}

}  // namespace hoshizora
