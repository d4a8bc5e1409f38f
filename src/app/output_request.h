#pragma once

#include <filesystem>

#include "app/tone_settings.h"
#include "base/keying_options.h"
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
  // Shaped edges and Farnsworth spacing; the run bounds them against `speed`,
  // so an effective speed that is not below it keys plainly.
  KeyingOptions keying;
  // What to open with the desktop's programs once the files are written.
  bool open_audio = false;
  bool open_listing = false;
  bool open_folder = false;
  // Where the run's folder is made; the program folder when empty.
  std::filesystem::path output_root;
  // The executable's folder: the encoder is found there, and nowhere else.
  std::filesystem::path program_folder;
  // Where the form template is read; the program folder when empty. An
  // installed program keeps it apart, under its prefix's share folder.
  std::filesystem::path data_folder;
};

}  // namespace hoshizora
