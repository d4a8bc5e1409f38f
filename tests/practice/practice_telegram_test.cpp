#include "practice/practice_telegram.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "encoding/default_telegram.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "encoding/telegram_signs.h"
#include "encoding/text_utils.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

PracticeOptions Words(LengthRange length = {}) {
  PracticeOptions options;
  options.length = length;
  return options;
}

PracticeOptions Groups(std::u16string characters, LengthRange length = {}) {
  PracticeOptions options;
  options.mode = PracticeMode::kGroups;
  options.group_characters = std::move(characters);
  options.length = length;
  return options;
}

// The text between the signs; fails when the body holds any further sign.
std::u16string InnerBody(const TelegramFields& f) {
  EXPECT_TRUE(f.body.starts_with(kStartSign));
  EXPECT_TRUE(f.body.ends_with(kEndSign));
  const auto span = FindTelegramBody(f.body);
  if (!span) {
    ADD_FAILURE() << "no body";
    return {};
  }
  EXPECT_EQ(span->begin, kStartSign.size());
  EXPECT_EQ(span->end, f.body.size() - kEndSign.size());
  return f.body.substr(span->begin, span->end - span->begin);
}

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::u16string_view::npos) {
      return parts;
    }
    start = end + 1;
  }
}

bool IsKanjiDigitPair(std::u16string_view text) {
  return text.size() == 2 && kKanjiDigits.find(text[0]) != std::u16string_view::npos &&
         kKanjiDigits.find(text[1]) != std::u16string_view::npos;
}

// コH,MM: an hour of 0 to 23 without a leading zero, a minute of two digits.
bool IsTelegramTime(std::u16string_view time) {
  const std::size_t comma = time.find(u',');
  if (!time.starts_with(u'コ') || comma == std::u16string_view::npos || time.size() != comma + 3 ||
      comma < 2 || comma > 3) {
    return false;
  }
  int hour = 0;
  for (char16_t c : time.substr(1, comma - 1)) {
    if (c < u'0' || c > u'9') {
      return false;
    }
    hour = hour * 10 + (c - u'0');
  }
  const char16_t tens = time[comma + 1];
  const char16_t ones = time[comma + 2];
  return hour < 24 && !(comma == 3 && time[1] == u'0') && tens >= u'0' && tens <= u'5' &&
         ones >= u'0' && ones <= u'9';
}

// The header and the count; returns the counted body length.
std::int32_t CheckTelegram(const TelegramFields& f, LengthRange length) {
  const std::int32_t counted = CountBodyCharacters(f.body);
  EXPECT_EQ(f.count, DecimalInKanjiDigits(counted));
  EXPECT_GE(counted, length.min);
  EXPECT_LE(counted, length.max);
  EXPECT_TRUE(IsKanjiDigitPair(f.station)) << EncodeUtf8(f.station);
  EXPECT_TRUE(IsKanjiDigitPair(f.number)) << EncodeUtf8(f.number);
  EXPECT_TRUE(IsTelegramTime(f.time)) << EncodeUtf8(f.time);
  for (const std::u16string* field :
       {&f.count, &f.station, &f.number, &f.time, &f.addressee, &f.body}) {
    EXPECT_TRUE(ListUnkeyedCharacters(*field).empty()) << EncodeUtf8(*field);
  }

  const std::vector<std::u16string> parts = Split(f.addressee, u'」');
  EXPECT_EQ(parts.size(), 4u) << EncodeUtf8(f.addressee);
  if (parts.size() == 4) {
    EXPECT_TRUE(parts[0].ends_with(u"ケン"));
    EXPECT_TRUE(parts[1].ends_with(u"シ"));
    const std::vector<std::u16string> names = Split(parts[2], u' ');
    EXPECT_EQ(names.size(), 2u);
    EXPECT_FALSE(names.front().empty());
    EXPECT_FALSE(names.back().empty());
    EXPECT_TRUE(parts[3].empty());
  }
  return counted;
}

TEST(MakePracticeTelegram, SameSeedGivesTheSameFileBytes) {
  for (const PracticeOptions& options : {Words(), Groups(std::u16string(kBasicKana))}) {
    for (std::uint64_t seed : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{42}, UINT64_MAX}) {
      const TelegramFields f = MakePracticeTelegram(options, seed);
      const std::string bytes = SerializeTelegramText(f);
      EXPECT_EQ(bytes, SerializeTelegramText(MakePracticeTelegram(options, seed)));
      // The file is a batch's answer key: it must load back into the same fields.
      const TelegramFields loaded = ParseTelegramText(bytes);
      EXPECT_EQ(loaded.count, f.count);
      EXPECT_EQ(loaded.station, f.station);
      EXPECT_EQ(loaded.number, f.number);
      EXPECT_EQ(loaded.time, f.time);
      EXPECT_EQ(loaded.addressee, f.addressee);
      EXPECT_EQ(loaded.body, f.body);
    }
    EXPECT_NE(MakePracticeTelegram(options, 1).body, MakePracticeTelegram(options, 2).body);
  }
}

TEST(MakePracticeTelegram, WordBodiesKeepCountLengthAndTelegramPunctuation) {
  const LengthRange ranges[] = {{60, 130}, {10, 10}, {10, 20}, {97, 97}, {60, 64}, {900, 1000}};
  int with_pause = 0;
  int with_parentheses = 0;
  for (const LengthRange& length : ranges) {
    const std::uint64_t seeds = length.max > 500 ? 20 : 300;
    std::set<std::int32_t> lengths_seen;
    for (std::uint64_t seed = 0; seed < seeds; ++seed) {
      SCOPED_TRACE(testing::Message()
                   << "seed " << seed << ", " << length.min << "-" << length.max);
      const TelegramFields f = MakePracticeTelegram(Words(length), seed);
      lengths_seen.insert(CheckTelegram(f, length));
      const std::u16string body = InnerBody(f);
      ASSERT_FALSE(body.empty());
      EXPECT_TRUE(body.ends_with(u'」')) << EncodeUtf8(body);
      EXPECT_EQ(body.find(u' '), std::u16string::npos);
      for (std::u16string_view clash :
           {u"」」", u"、」", u"」、", u"、、", u"（」", u"」）", u"（）", u"（、", u"、）"}) {
        EXPECT_EQ(body.find(clash), std::u16string::npos) << EncodeUtf8(body);
      }
      bool open = false;
      for (char16_t c : body) {
        if (c == u'（' || c == u'）') {
          EXPECT_EQ(open, c == u'）') << EncodeUtf8(body);
          open = c == u'（';
        }
      }
      EXPECT_FALSE(open);
      with_pause += body.find(u'、') != std::u16string::npos;
      with_parentheses += body.find(u'（') != std::u16string::npos;
    }
    // The length is drawn across the range, not pinned to one end of it.
    if (length.max - length.min < 10) {
      EXPECT_EQ(lengths_seen.size(), static_cast<std::size_t>(length.max - length.min + 1));
    }
  }
  EXPECT_GT(with_pause, 0);
  EXPECT_GT(with_parentheses, 0);
}

TEST(MakePracticeTelegram, GroupBodiesUseOnlyTheSetInFives) {
  struct Case {
    std::u16string characters;
    LengthRange length;
  };
  const Case cases[] = {{std::u16string(kBasicKana), {60, 130}},
                        {u"アイ", {10, 14}},
                        {u"ヘヘムム", {61, 70}},
                        {u"一二三ガ", {995, 1000}}};
  for (const Case& c : cases) {
    std::set<char16_t> used;
    for (std::uint64_t seed = 0; seed < 100; ++seed) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << EncodeUtf8(c.characters));
      const TelegramFields f = MakePracticeTelegram(Groups(c.characters, c.length), seed);
      const std::int32_t counted = CheckTelegram(f, c.length);
      const std::vector<std::u16string> groups = Split(InnerBody(f), u' ');
      EXPECT_EQ(counted, static_cast<std::int32_t>(groups.size()) * kPracticeGroupSize);
      for (const std::u16string& group : groups) {
        EXPECT_EQ(group.size(), static_cast<std::size_t>(kPracticeGroupSize));
        for (char16_t ch : group) {
          EXPECT_NE(c.characters.find(ch), std::u16string::npos);
          used.insert(ch);
        }
      }
    }
    EXPECT_EQ(used.size(), std::set<char16_t>(c.characters.begin(), c.characters.end()).size());
  }
}

TEST(MakePracticeTelegram, RejectedOptionsGiveTheirModesDefaults) {
  const PracticeOptions defaults;
  const TelegramFields groups = MakePracticeTelegram(Groups(u"", {5, 3}), 9);
  CheckTelegram(groups, defaults.length);
  for (const std::u16string& group : Split(InnerBody(groups), u' ')) {
    EXPECT_EQ(group.size(), static_cast<std::size_t>(kPracticeGroupSize));
  }
  EXPECT_EQ(SerializeTelegramText(groups),
            SerializeTelegramText(MakePracticeTelegram(Groups(std::u16string(kBasicKana)), 9)));

  const TelegramFields words = MakePracticeTelegram(Words({0, 5000}), 9);
  CheckTelegram(words, defaults.length);
  EXPECT_EQ(words.body, MakePracticeTelegram(Words(), 9).body);
}

}  // namespace
}  // namespace hoshizora
