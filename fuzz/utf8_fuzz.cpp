// UTF-8 decoding and encoding: strict decoding agrees with the standard's
// table of well-formed byte sequences and round-trips; lenient decoding keeps
// every ASCII byte and always re-encodes to valid UTF-8; encoding any UTF-16
// gives valid UTF-8 that decodes back, lone surrogates as U+FFFD.
#include <cstddef>
#include <cstdint>

#include "base/utf8.h"
#include "fuzz_support.h"

namespace {

using hoshizora::fuzz::IsHighSurrogate;
using hoshizora::fuzz::IsLowSurrogate;

// Written apart from the decoder, from the byte ranges of the well-formed
// sequences, so that the two can disagree.
bool IsWellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<std::uint8_t>(s[i]);
    if (b <= 0x7F) {
      ++i;
      continue;
    }
    std::size_t trail = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      trail = 1;
    } else if (b == 0xE0) {
      trail = 2, low = 0xA0;
    } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
      trail = 2;
    } else if (b == 0xED) {
      trail = 2, high = 0x9F;
    } else if (b == 0xF0) {
      trail = 3, low = 0x90;
    } else if (b >= 0xF1 && b <= 0xF3) {
      trail = 3;
    } else if (b == 0xF4) {
      trail = 3, high = 0x8F;
    } else {
      return false;
    }
    if (s.size() - i - 1 < trail) {
      return false;
    }
    for (std::size_t k = 1; k <= trail; ++k) {
      const auto t = static_cast<std::uint8_t>(s[i + k]);
      if (k == 1 ? (t < low || t > high) : (t < 0x80 || t > 0xBF)) {
        return false;
      }
    }
    i += trail + 1;
  }
  return true;
}

std::string AsciiOf(std::string_view bytes) {
  std::string ascii;
  for (char c : bytes) {
    if (static_cast<std::uint8_t>(c) < 0x80) {
      ascii.push_back(c);
    }
  }
  return ascii;
}

std::string AsciiOf(std::u16string_view text) {
  std::string ascii;
  for (char16_t c : text) {
    if (c < 0x80) {
      ascii.push_back(static_cast<char>(c));
    }
  }
  return ascii;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  const std::string_view bytes = fuzz::AsBytes(data, size);

  const auto strict = DecodeUtf8Strict(bytes);
  HOSHIZORA_CHECK(strict.has_value() == IsWellFormedUtf8(bytes));
  const std::u16string lenient = DecodeUtf8Lenient(bytes);
  if (strict) {
    HOSHIZORA_CHECK(EncodeUtf8(*strict) == bytes);
    HOSHIZORA_CHECK(lenient == *strict);
  }
  HOSHIZORA_CHECK(lenient.size() <= bytes.size());
  HOSHIZORA_CHECK(!fuzz::HasLoneSurrogate(lenient));
  // An invalid byte never swallows the ASCII after it.
  HOSHIZORA_CHECK(AsciiOf(lenient) == AsciiOf(bytes));
  const std::string reencoded = EncodeUtf8(lenient);
  HOSHIZORA_CHECK(IsWellFormedUtf8(reencoded));
  HOSHIZORA_CHECK(DecodeUtf8Strict(reencoded) == lenient);

  // The same bytes as UTF-16: encoding never fails and never loses a pair.
  const std::u16string units = fuzz::Utf16FromBytes(bytes);
  std::u16string expected;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      expected.append(units, i, 2);
      ++i;
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      expected.push_back(u'\uFFFD');
    } else {
      expected.push_back(units[i]);
    }
  }
  const std::string encoded = EncodeUtf8(units);
  HOSHIZORA_CHECK(IsWellFormedUtf8(encoded));
  HOSHIZORA_CHECK(DecodeUtf8Strict(encoded) == expected);
  return 0;
}
