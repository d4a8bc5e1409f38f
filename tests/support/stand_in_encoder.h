#pragma once

#include <filesystem>
#include <string>

#include "audio/telegram_audio.h"
#include "platform/paths.h"
#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora::testing {

// The stand-in encoder (stand_in_encoder.cpp), which the build copies beside
// every test program that uses it.
inline std::filesystem::path StandInEncoder() {
  NativeSystem system;
  const std::filesystem::path self = system.ExecutablePath();
  return self.parent_path() / ("stand_in_encoder" + self.extension().string());
}

// Puts the stand-in into `folder` as the encoder the audio step looks for,
// doing `mode` (see stand_in_encoder.cpp), and returns its path.
inline std::filesystem::path PlaceStandInEncoder(const std::filesystem::path& folder,
                                                 const std::string& mode) {
  const std::filesystem::path encoder = folder / PathFromText(kEncoderName);
  std::filesystem::copy_file(StandInEncoder(), encoder,
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::path mode_file = encoder;
  mode_file.replace_extension(".mode");
  WriteFileBytes(mode_file, mode);
  return encoder;
}

}  // namespace hoshizora::testing
