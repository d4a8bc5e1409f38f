#pragma once

#include <filesystem>
#include <functional>

namespace hoshizora {

// Plays a WAV file through the default audio output, for the practice dialog.
class Player {
 public:
  // Called on the window's thread when a playback ends by itself: `played`
  // is false when the audio output failed on the way.
  using DoneHandler = std::function<void(bool played)>;

  virtual ~Player() = default;
  // Starts playing the file from its beginning, ending any playback under
  // way. False when it cannot start (no such file, not a PCM WAV); no done
  // report follows then.
  virtual bool Play(const std::filesystem::path& wav) = 0;
  // Ends the playback under way, if any; no done report follows for it.
  virtual void Stop() = 0;
  virtual void SetDoneHandler(DoneHandler handler) = 0;
};

}  // namespace hoshizora
