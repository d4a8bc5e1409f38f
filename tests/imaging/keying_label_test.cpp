#include "imaging/keying_label.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TEST(KeyingLabelTest, NamesOnlyTheOptionsThatAreOn) {
  EXPECT_EQ(KeyingLabel(0, 0), u"") << "the header stays as it was";
  EXPECT_EQ(KeyingLabel(5, 0), u"  Rise: 5 ms");
  EXPECT_EQ(KeyingLabel(0, 50), u"  Eff: 50");
  const std::u16string header = u"電報出力 /x/和文電報_1  CPM: 100  Freq: 700";
  EXPECT_EQ(header + KeyingLabel(20, 35),
            u"電報出力 /x/和文電報_1  CPM: 100  Freq: 700  Rise: 20 ms  Eff: 35");
}

}  // namespace
}  // namespace hoshizora
