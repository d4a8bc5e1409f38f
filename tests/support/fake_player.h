#pragma once

#include <filesystem>
#include <vector>

#include "platform/player.h"

namespace hoshizora::testing {

// Records what it was asked to play and stop; the test ends a playback with
// Finish, as the audio output would.
class FakePlayer : public Player {
 public:
  bool Play(const std::filesystem::path& wav) override {
    played.push_back(wav);
    playing = starts;
    return starts;
  }
  void Stop() override {
    ++stops;
    playing = false;
  }
  void SetDoneHandler(DoneHandler handler) override { done = std::move(handler); }

  void Finish(bool played_to_end = true) {
    playing = false;
    if (done) {
      done(played_to_end);
    }
  }

  bool starts = true;  // what Play answers
  bool playing = false;
  std::vector<std::filesystem::path> played;
  int stops = 0;
  DoneHandler done;
};

}  // namespace hoshizora::testing
