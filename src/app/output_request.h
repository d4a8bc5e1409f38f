#pragma once

#include <filesystem>

#include "app/tone_settings.h"
#include "encoding/telegram_fields.h"

namespace hoshizora {

// Everything one output run needs, as plain data: a front end (the window or
// the command line) fills it in and hands it to RunOutput.
struct OutputRequest {
  // The six fields as typed; the run uses each up to the length the dialog
  // reads it with, and says which it cut.
  TelegramFields fields;
  int frequency = kDefaultFrequency;  // Hz
  int speed = kDefaultSpeed;          // characters per minute
  // What to open with the desktop's programs once the files are written.
  bool open_audio = false;
  bool open_listing = false;
  bool open_folder = false;
  // Where the run's folder is made; the program folder when empty.
  std::filesystem::path output_root;
  // The executable's folder: the encoder and the form template are found there.
  std::filesystem::path program_folder;
};

}  // namespace hoshizora
