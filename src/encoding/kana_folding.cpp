#include "encoding/kana_folding.h"

namespace hoshizora {
namespace {

constexpr char16_t kVoicedMark = u'゛';
constexpr char16_t kSemiVoicedMark = u'゜';
constexpr char16_t kHiraganaToKatakana = 0x60;

// U+FF61 to U+FF9F in order: the full-width form of each half-width character.
constexpr char16_t kHalfWidthToFullWidth[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜',
};
static_assert(sizeof(kHalfWidthToFullWidth) / sizeof(char16_t) == 0xFF9F - 0xFF61 + 1);

// Katakana whose voiced form is the next code point; the ハ row also has its
// semi-voiced form two code points on.
constexpr char16_t kVoicedBases[] = {
    u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ',
    u'タ', u'チ', u'ツ', u'テ', u'ト', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ',
};

bool IsHaRow(char16_t base) {
  return base == u'ハ' || base == u'ヒ' || base == u'フ' || base == u'ヘ' || base == u'ホ';
}

FoldedCharacter One(char16_t c) {
  return FoldedCharacter{{c, 0}, 1};
}
FoldedCharacter Two(char16_t base, char16_t mark) {
  return FoldedCharacter{{base, mark}, 2};
}

// Splits a precomposed katakana; returns size 0 when c is not one.
FoldedCharacter DecomposeKatakana(char16_t c) {
  for (char16_t base : kVoicedBases) {
    if (c == base + 1) {
      return Two(base, kVoicedMark);
    }
    if (IsHaRow(base) && c == base + 2) {
      return Two(base, kSemiVoicedMark);
    }
  }
  switch (c) {
    case u'ヴ':
      return Two(u'ウ', kVoicedMark);
    case u'ヷ':
      return Two(u'ワ', kVoicedMark);
    case u'ヹ':
      return Two(u'ヱ', kVoicedMark);
    case u'ヺ':
      return Two(u'ヲ', kVoicedMark);
    default:
      return {};
  }
}

FoldedCharacter FoldKatakanaOrHiragana(char16_t c) {
  switch (c) {
    case u'ー':
      return One(u'-');
    case u'\u3099':
      return One(kVoicedMark);
    case u'\u309A':
      return One(kSemiVoicedMark);
    case u'の':
    case u'ぁ':
    case u'ぃ':
    case u'ぅ':
    case u'ぇ':
    case u'ぉ':
    case u'ゃ':
    case u'ゅ':
    case u'ょ':
    case u'っ':
      return One(static_cast<char16_t>(c + kHiraganaToKatakana));
    default:
      break;
  }
  if (c >= u'ァ' && c <= u'ヺ') {
    FoldedCharacter split = DecomposeKatakana(c);
    if (split.size != 0) {
      return split;
    }
  } else if (c >= u'ぁ' && c <= u'ゖ') {
    FoldedCharacter split = DecomposeKatakana(static_cast<char16_t>(c + kHiraganaToKatakana));
    if (split.size != 0) {
      split.chars[0] = static_cast<char16_t>(split.chars[0] - kHiraganaToKatakana);
      return split;
    }
  }
  return One(c);
}

}  // namespace

FoldedCharacter FoldForCodeTable(char16_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E && c != u'？') {
    return One(static_cast<char16_t>(c - 0xFEE0));
  }
  if (c >= 0xFF61 && c <= 0xFF9F) {
    c = kHalfWidthToFullWidth[c - 0xFF61];
  }
  return FoldKatakanaOrHiragana(c);
}

char16_t FullSizeKatakanaOf(char16_t c) {
  if (c >= u'ぁ' && c <= u'ゖ') {
    c = static_cast<char16_t>(c + kHiraganaToKatakana);
  }
  switch (c) {
    case u'ァ':
    case u'ィ':
    case u'ゥ':
    case u'ェ':
    case u'ォ':
    case u'ッ':
    case u'ャ':
    case u'ュ':
    case u'ョ':
    case u'ヮ':
      return static_cast<char16_t>(c + 1);  // each small kana sits just before its full size
    default:
      return c;
  }
}

}  // namespace hoshizora
