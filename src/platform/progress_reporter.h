#pragma once

#include <string_view>

#include "platform/system.h"

namespace hoshizora {

// What long work tells whoever shows its progress, from any thread.
class ProgressReporter {
 public:
  // The share of a step whose length cannot be known (the encoder's run).
  static constexpr double kUnknownShare = -1;

  virtual ~ProgressReporter() = default;
  // What is being done now, and the share of the whole work done (0 to 1) or
  // kUnknownShare.
  virtual void Report(std::u16string_view step, double share) = 0;
  // Set when the user asked the work to stop.
  virtual const CancelFlag& Cancel() const = 0;
};

}  // namespace hoshizora
