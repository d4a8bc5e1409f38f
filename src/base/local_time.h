#pragma once

namespace hoshizora {

// A broken-down local time as the clock port reports it. Commands take an
// optional one: no value stands for a clock that could not be read.
struct LocalTime {
  int year = 1970;
  int month = 1;   // 1 to 12
  int day = 1;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 60

  bool operator==(const LocalTime&) const = default;
};

}  // namespace hoshizora
