#pragma once

#include <optional>

#include "platform/recorder.h"

namespace hoshizora::testing {

// Hands back `taken` when stopped, as if the learner had keyed it into the
// input; the test ends a recording by itself with End.
class FakeRecorder : public Recorder {
 public:
  bool Start() override {
    ++starts;
    recording = opens;
    return opens;
  }
  std::optional<Recording> Stop() override {
    if (!recording) {
      return std::nullopt;
    }
    recording = false;
    return taken;
  }
  void SetEndedHandler(EndedHandler handler) override { ended = std::move(handler); }
  void End() {
    if (ended) {
      ended();
    }
  }

  bool opens = true;  // what Start answers
  bool recording = false;
  int starts = 0;
  Recording taken;
  EndedHandler ended;
};

}  // namespace hoshizora::testing
