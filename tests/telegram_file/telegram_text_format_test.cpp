#include "telegram_file/telegram_text_format.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TelegramFields Fields(std::u16string count, std::u16string station, std::u16string number,
                      std::u16string time, std::u16string addressee, std::u16string body) {
  return {count, station, number, time, addressee, body};
}

void ExpectFields(const TelegramFields& a, const TelegramFields& b) {
  EXPECT_EQ(a.count, b.count);
  EXPECT_EQ(a.station, b.station);
  EXPECT_EQ(a.number, b.number);
  EXPECT_EQ(a.time, b.time);
  EXPECT_EQ(a.addressee, b.addressee);
  EXPECT_EQ(a.body, b.body);
}

TEST(TelegramTextFormat, EmptyTelegramIsFortySixBytes) {
  const std::string bytes = SerializeTelegramText({});
  EXPECT_EQ(bytes, "\xEF\xBB\xBF[VALA]\n[VALB]\n[VALC]\n[VALD]\n[VALE]\n[TEXT]\n\n");
  EXPECT_EQ(bytes.size(), 46u);
  ExpectFields(ParseTelegramText(bytes), {});
}

TEST(TelegramTextFormat, BodyBytesAndRoundTrip) {
  const TelegramFields f = Fields(u"一二六", u"七六", u"五一", u"コ6,51",
                                  u"ミドリケン」\r\nハナシ」\r\nヤマノ サクラ」", u"ア\r\nイ");
  const std::string bytes = SerializeTelegramText(f);
  EXPECT_TRUE(bytes.ends_with("[TEXT]\n\xE3\x82\xA2\r\n\xE3\x82\xA4\n"));
  EXPECT_NE(bytes.find("[VALE]ミドリケン」\r\nハナシ」\r\nヤマノ サクラ」\n[TEXT]"),
            std::string::npos);
  // Loading gives back exactly what was saved, however often it is repeated.
  TelegramFields again = f;
  for (int i = 0; i < 3; ++i) {
    again = ParseTelegramText(SerializeTelegramText(again));
  }
  ExpectFields(again, f);
  const TelegramFields trailing = Fields(u"", u"", u"", u"", u"", u"ア\r\n\r\n");
  ExpectFields(ParseTelegramText(SerializeTelegramText(trailing)), trailing);
}

TEST(TelegramTextFormat, ByteOrderMarkIsOptional) {
  const std::string with = "\xEF\xBB\xBF[VALA]一\n[TEXT]\nア\n";
  ExpectFields(ParseTelegramText(with), ParseTelegramText(with.substr(3)));
  EXPECT_EQ(ParseTelegramText(with.substr(3)).count, u"一");
}

TEST(TelegramTextFormat, ForeignFilesLoadAsTheyStand) {
  // Lines ending in CR LF keep their carriage return.
  const TelegramFields crlf = ParseTelegramText("[VALA]一\r\n[TEXT]\r\nア\r\nイ\r\n");
  EXPECT_EQ(crlf.count, u"一\r");
  EXPECT_EQ(crlf.body, u"ア\r\nイ\r");
  // Repeated tags: the last wins; a second [TEXT] starts the body afresh;
  // lower-case tags are no tags; a tag inside the body sets its field.
  const TelegramFields mixed = ParseTelegramText(
      "junk\n[VALB]一\n[valc]x\n[VALB]二\n[TEXT]\nア\n[TEXT]\nイ\n[valc]ウ\n[VALC]三\nエ");
  EXPECT_EQ(mixed.station, u"二");
  EXPECT_EQ(mixed.number, u"三");
  EXPECT_EQ(mixed.body, u"イ\n[valc]ウ\nエ");
  EXPECT_EQ(mixed.count, u"");
  // No tags at all: six empty fields.
  ExpectFields(ParseTelegramText("just some text\nmore"), {});
}

TEST(TelegramTextFormat, ZeroByteAndInvalidUtf8) {
  const std::string nul("[VALA]一\n[TEXT]\nア\0イ\n", 25);
  EXPECT_EQ(ParseTelegramText(nul).body, u"ア");
  EXPECT_EQ(ParseTelegramText("[VALA]\xFF\xFE\n").count, u"\uFFFD\uFFFD");
}

// Windows editors save "Unicode" text as UTF-16 with a byte order mark.
std::string Utf16(std::u16string_view text, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    bytes += little ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST(TelegramTextFormat, Utf16WithAByteOrderMarkIsDecoded) {
  const TelegramFields f = Fields(u"一二六", u"七六", u"五一", u"コ6,51", u"ミドリケン」",
                                  u"[ホレ]ア\r\nイ\U00020B9F[ラタ]");
  const std::string utf8 = SerializeTelegramText(f);
  const std::u16string text = DecodeTelegramText(utf8);
  ASSERT_EQ(text.substr(0, 9), u"[VALA]一二六");
  for (bool little : {true, false}) {
    SCOPED_TRACE(little ? "UTF-16LE" : "UTF-16BE");
    const std::string bytes = Utf16(text, little);
    EXPECT_EQ(DecodeTelegramText(bytes), text);
    ExpectFields(ParseTelegramText(bytes), f);
    EXPECT_TRUE(HoldsTelegram(bytes));
    // A zero character ends the text; half a pair and half a unit become U+FFFD.
    EXPECT_EQ(DecodeTelegramText(Utf16(std::u16string(u"ア\0イ", 3), little)), u"ア");
    EXPECT_EQ(DecodeTelegramText(Utf16(u"\xD800ア\xDC00", little)), u"\uFFFDア\uFFFD");
    EXPECT_EQ(DecodeTelegramText(Utf16(u"ア", little) + "x"), u"ア\uFFFD");
  }
}

TEST(TelegramTextFormat, FilesWithoutAnyTagHoldNoTelegram) {
  EXPECT_FALSE(HoldsTelegram(""));
  EXPECT_FALSE(HoldsTelegram("\xEF\xBB\xBF"));
  EXPECT_FALSE(HoldsTelegram("just some text\n[valA]lower case\n [VALA]indented"));
  EXPECT_FALSE(HoldsTelegram(std::string("\0[VALA]after a zero", 19)));
  EXPECT_TRUE(HoldsTelegram("notes\n[VALD]1,2"));
  EXPECT_TRUE(HoldsTelegram("[TEXT]"));
  EXPECT_TRUE(HoldsTelegram(SerializeTelegramText({})));
}

}  // namespace
}  // namespace hoshizora
