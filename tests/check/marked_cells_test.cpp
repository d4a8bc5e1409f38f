#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/utf8.h"
#include "check/marked_form.h"

namespace hoshizora {
namespace {

// A cell as its character ("ア"), wrong with what was expected ("キ(イ)"),
// left out ("+ウ"), struck through ("-ン") or a blank of the key ("_").
std::string Describe(const std::vector<MarkedCell>& cells) {
  std::string out;
  for (const MarkedCell& cell : cells) {
    out += out.empty() ? "" : " ";
    switch (cell.kind) {
      case MarkedCell::Kind::kRight:
        out += EncodeUtf8(cell.written);
        break;
      case MarkedCell::Kind::kWrong:
        out += EncodeUtf8(cell.written) + "(" + EncodeUtf8(cell.expected) + ")";
        break;
      case MarkedCell::Kind::kMissing:
        out += "+" + EncodeUtf8(cell.expected);
        break;
      case MarkedCell::Kind::kExtra:
        out += "-" + EncodeUtf8(cell.written);
        break;
      case MarkedCell::Kind::kBlank:
        out += "_";
        break;
    }
  }
  return out;
}

TEST(MarkedCellsTest, OneCellPerCopiedCharacterAndPerLeftOutCharacter) {
  struct Case {
    std::u16string_view key;
    std::u16string_view copy;
    const char* cells;
  };
  const Case cases[] = {
      {u"[ホレ]アイウ[ラタ]", u"あいう", "あ い う"},
      {u"[ホレ]アイウ[ラタ]", u"アキウ", "ア キ(イ) ウ"},
      {u"[ホレ]アイウ[ラタ]", u"アウ", "ア +イ ウ"},
      {u"[ホレ]アイ[ラタ]", u"アンイ", "ア -ン イ"},
      // Voiced kana: the expected text recomposed, a lone mark its own cell.
      {u"[ホレ]ガバ[ラタ]", u"カパ", "カ +゛ パ(バ)"},
      {u"[ホレ]カ[ラタ]", u"ガ", "ガ(カ)"},
      {u"[ホレ]ガア[ラタ]", u"ア", "+ガ ア"},
      // The key's blanks keep their cells, the copy's take none.
      {u"[ホレ]アイ ウエ[ラタ]", u"ア イウ エ", "ア イ _ ウ エ"},
      {u"[ホレ]アイ[ラタ]", u"", "+ア +イ"},
      {u"[ホレ]ア」[ラタ]", u"ア漢", "ア 漢(」)"},
  };
  for (const Case& c : cases) {
    TelegramFields key;
    key.body = std::u16string(c.key);
    CheckCopy copy;
    copy.fields.body = std::u16string(c.copy);
    EXPECT_EQ(Describe(MarkedCells(key, copy, CheckField::kBody)), c.cells) << EncodeUtf8(c.copy);
  }
}

TEST(MarkedCellsTest, PagesAreNamedAfterTheKey) {
  using Path = std::filesystem::path;
  EXPECT_EQ(MarkedFormStem(Path(u"/a/練習.txt")), Path(u"練習_採点"));
  EXPECT_EQ(MarkedFormStem(Path(u"key.text")), Path(u"key.text_採点"));
}

}  // namespace
}  // namespace hoshizora
