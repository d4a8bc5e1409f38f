#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "encoding/telegram_fields.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/system.h"

namespace hoshizora {

struct OutputOptions {
  // Where the output folder is made; the executable's folder when empty.
  std::filesystem::path output_root;
};

// What one output run did, for the closing message and the command line.
struct OutputReport {
  enum class Result {
    kComplete,    // every writer succeeded
    kIncomplete,  // a folder was made but some writer failed or was cancelled
    kRefused,     // bad tone settings: nothing was written
  };
  Result result = Result::kRefused;
  std::filesystem::path folder;
  std::vector<std::filesystem::path> written;  // every file the run left, in order
  std::vector<std::u16string> problems;        // one line per failure
  std::vector<std::u16string> notes;           // cut fields, characters left out of the audio
  std::u16string message;                      // the closing message shown
};

// The display telegram and the keyed one (station and number decorated with
// ハツ and タナ when they are kanji numerals).
std::u16string ComposeDisplayTelegram(const TelegramFields& fields);
std::u16string ComposeKeyedTelegram(const TelegramFields& fields);
std::u16string DecorateStation(const std::u16string& station);
std::u16string DecorateNumber(const std::u16string& number);

// A tone setting as typed: a whole number (any decimal script) within the
// range, or nothing.
std::optional<int> ParseToneSetting(std::u16string_view text, int minimum, int maximum);

// The output command: reads the telegram and tone settings from the dialog,
// makes a new folder, writes the audio, the listing picture and the form
// pages, opens what the options ask for and tells the user how it went.
OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas,
                              const OutputOptions& options);

}  // namespace hoshizora
