#include "platform/recorder.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

// Every input format mixed down to mono 16-bit, whole frames only: a frame
// split between two deliveries is kept until its rest comes.
TEST(RecorderInputTest, FormatsAreMixedDownAndSplitFramesKept) {
  struct Case {
    const char* name;
    InputSamples kind;
    int channels;
    std::string bytes;
    std::vector<std::int16_t> expected;
  };
  const std::string half_float("\x00\x00\x00\x3F", 4);
  const std::string minus_one_float("\x00\x00\x80\xBF", 4);
  const Case cases[] = {
      {"unsigned 8",
       InputSamples::kUnsigned8,
       1,
       std::string("\x80\xFF\x00", 3),
       {0, 32512, -32768}},
      {"signed 16",
       InputSamples::kSigned16,
       1,
       std::string("\x01\x00\xFF\x7F\x00\x80", 6),
       {1, 32767, -32768}},
      {"signed 16 stereo",
       InputSamples::kSigned16,
       2,
       std::string("\x00\x10\x00\x30", 4),
       {0x2000}},
      {"signed 32", InputSamples::kSigned32, 1, std::string("\x00\x00\x00\x40", 4), {16384}},
      {"float", InputSamples::kFloat32, 1, half_float + minus_one_float, {16384, -32768}},
      {"float out of range",
       InputSamples::kFloat32,
       1,
       std::string("\x00\x00\x00\x40", 4),
       {32767}},
      {"not a number", InputSamples::kFloat32, 1, std::string("\x00\x00\xC0\x7F", 4), {0}},
  };
  for (const Case& c : cases) {
    for (std::size_t split = 0; split <= c.bytes.size(); ++split) {
      Recording r{8000, {}};
      std::string partial;
      EXPECT_TRUE(
          AppendInput(r, partial, std::string_view(c.bytes).substr(0, split), c.kind, c.channels));
      EXPECT_TRUE(
          AppendInput(r, partial, std::string_view(c.bytes).substr(split), c.kind, c.channels));
      EXPECT_EQ(r.samples, c.expected) << c.name << " split at " << split;
      EXPECT_TRUE(partial.empty()) << c.name;
    }
  }
}

}  // namespace
}  // namespace hoshizora
