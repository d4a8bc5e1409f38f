#include "encoding/code_tables.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

std::u16string Code(const CodeTable& table, char16_t key) {
  auto it = table.find(key);
  return it == table.end() ? u"<none>" : it->second;
}

TEST(CodeTables, HoldExactlyTheListedKeys) {
  const CodeTables& t = BuildCodeTables();
  EXPECT_EQ(t.wabun.size(), 134u);
  EXPECT_EQ(t.latin.size(), 27u);
  EXPECT_EQ(&t, &BuildCodeTables()) << "built once, the same tables every time";
}

TEST(CodeTables, NotableKeys) {
  const CodeTables& t = BuildCodeTables();
  EXPECT_EQ(Code(t.wabun, u'ノ'), u"..--");
  EXPECT_EQ(Code(t.wabun, u'の'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'-'), u".--.-");
  EXPECT_EQ(Code(t.wabun, u'ー'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'7'), u"-...");
  EXPECT_EQ(Code(t.wabun, u'七'), u"--...");
  EXPECT_EQ(Code(t.wabun, u'0'), u"-");
  EXPECT_EQ(Code(t.wabun, u'〇'), u"-----");
  EXPECT_EQ(Code(t.wabun, u'？'), u"..--..");
  EXPECT_EQ(Code(t.wabun, u'?'), u"..--..");
  EXPECT_EQ(Code(t.latin, u'A'), u"<none>");
  EXPECT_EQ(Code(t.latin, u'a'), u".-");
  EXPECT_EQ(Code(t.latin, u'z'), u"--..");
  EXPECT_EQ(Code(t.latin, u'.'), u".-.-.-");
  EXPECT_EQ(Code(t.wabun, u'.'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u','), u".-.-.-");
  EXPECT_EQ(Code(t.latin, u','), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'ッ'), Code(t.wabun, u'ツ'));
  EXPECT_EQ(Code(t.wabun, u'ゑ'), u".--..");
  EXPECT_EQ(Code(t.wabun, u'ヰ'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'」'), u".-.-..");
  EXPECT_EQ(Code(t.wabun, u'「'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'。'), u"<none>");
  EXPECT_EQ(Code(t.wabun, u'ガ'), u"<none>");
}

TEST(CodeTables, EveryKatakanaSharesItsHiraganaCode) {
  const CodeTables& t = BuildCodeTables();
  int pairs = 0;
  for (const auto& [key, code] : t.wabun) {
    if (key >= u'ぁ' && key <= u'ゖ') {
      EXPECT_EQ(Code(t.wabun, static_cast<char16_t>(key + 0x60)), code);
      ++pairs;
    }
    for (char16_t element : code) {
      EXPECT_TRUE(element == u'.' || element == u'-');
    }
  }
  EXPECT_EQ(pairs, 46);
}

}  // namespace
}  // namespace hoshizora
