#include "base/utf8.h"

#include <gtest/gtest.h>

#include "base/unicode.h"

namespace hoshizora {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const std::u16string text(u"aア漢😀\u00e9\u0000z", 8);
  const std::string bytes = EncodeUtf8(text);
  EXPECT_EQ(bytes, std::string("a\xE3\x82\xA2\xE6\xBC\xA2\xF0\x9F\x98\x80\xC3\xA9\0z", 15));
  EXPECT_EQ(DecodeUtf8Strict(bytes), text);
  EXPECT_EQ(DecodeUtf8Lenient(bytes), text);
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters) {
  const std::u16string text{char16_t{0xD800}, u'a', char16_t{0xDC00}};
  EXPECT_EQ(EncodeUtf8(text),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
}

TEST(Utf8, StrictDecodingRejectsMalformedInput) {
  for (const std::string bad : {"\xFF", "\xC0\x80", "\xE3\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                "a\x80", "\xE3\x41\xA2"}) {
    EXPECT_FALSE(DecodeUtf8Strict(bad).has_value()) << bad.size();
  }
  EXPECT_EQ(DecodeUtf8Lenient("a\xFF"
                              "b"),
            u"a\uFFFDb");
  EXPECT_EQ(DecodeUtf8Lenient("\xE3\x82"), u"\uFFFD\uFFFD");
}

// A surrogate pair is one character to count, to step over and to cut
// around; a lone half counts as a character of its own.
TEST(Unicode, SurrogatePairsAreOneCharacter) {
  const std::u16string text = u"a😀b";
  EXPECT_EQ(CharacterUnits(text, 1), 2u);
  EXPECT_EQ(CharacterUnits(std::u16string_view(text).substr(0, 2), 1), 1u);
  EXPECT_EQ(CountCharacters(text), 3u);
  EXPECT_EQ(CountCharacters(std::u16string{char16_t{0xD83D}, u'b'}), 2u);
  for (const auto& [limit, cut] : {std::pair{0u, 0u}, {1u, 1u}, {2u, 1u}, {3u, 3u}, {9u, 4u}}) {
    EXPECT_EQ(CutWithinCharacters(text, limit), cut) << limit;
  }
  char32_t cp = 0;
  EXPECT_EQ(DecodeUtf8Sequence("\xF0\x9F\x98\x80!", cp), 4u);
  EXPECT_EQ(cp, U'😀');
  EXPECT_EQ(DecodeUtf8Sequence("\xED\xA0\x80", cp), 0u);
  EXPECT_EQ(DecodeUtf8Sequence("", cp), 0u);
}

TEST(Unicode, TrimsBlanksOrWhiteSpace) {
  EXPECT_EQ(Trim(std::u16string_view(u"\u3000 \tア イ\r\n"), IsBlank), u"ア イ");
  EXPECT_EQ(Trim(std::u16string_view(u"\u00A0１２\u2003"), IsBlank), u"\u00A0１２\u2003");
  EXPECT_EQ(Trim(std::u16string_view(u"\u00A0１２\u2003"), IsWhiteSpace), u"１２");
  EXPECT_EQ(Trim(std::string_view(" \tkey \r"), IsBlank), "key");
}

}  // namespace
}  // namespace hoshizora
