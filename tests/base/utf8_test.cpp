#include "base/utf8.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace hoshizora
