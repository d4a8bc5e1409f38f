#include "encoding/code_tables.h"

#include <cstddef>
#include <utility>

namespace hoshizora {
namespace {

struct KanaRow {
  char16_t katakana;
  char16_t hiragana;  // 0 where the katakana has no hiragana key
  const char16_t* code;
};

// Iroha order.
constexpr KanaRow kKanaRows[] = {
    {u'イ', u'い', u".-"},    {u'ロ', u'ろ', u".-.-"},  {u'ハ', u'は', u"-..."},
    {u'ニ', u'に', u"-.-."},  {u'ホ', u'ほ', u"-.."},   {u'ヘ', u'へ', u"."},
    {u'ト', u'と', u"..-.."}, {u'チ', u'ち', u"..-."},  {u'リ', u'り', u"--."},
    {u'ヌ', u'ぬ', u"...."},  {u'ル', u'る', u"-.--."}, {u'ヲ', u'を', u".---"},
    {u'ワ', u'わ', u"-.-"},   {u'カ', u'か', u".-.."},  {u'ヨ', u'よ', u"--"},
    {u'タ', u'た', u"-."},    {u'レ', u'れ', u"---"},   {u'ソ', u'そ', u"---."},
    {u'ツ', u'つ', u".--."},  {u'ネ', u'ね', u"--.-"},  {u'ナ', u'な', u".-."},
    {u'ラ', u'ら', u"..."},   {u'ム', u'む', u"-"},     {u'ウ', u'う', u"..-"},
    {u'ノ', 0, u"..--"},      {u'オ', u'お', u".-..."}, {u'ク', u'く', u"...-"},
    {u'ヤ', u'や', u".--"},   {u'マ', u'ま', u"-..-"},  {u'ケ', u'け', u"-.--"},
    {u'フ', u'ふ', u"--.."},  {u'コ', u'こ', u"----"},  {u'エ', u'え', u"-.---"},
    {u'テ', u'て', u".-.--"}, {u'ア', u'あ', u"--.--"}, {u'サ', u'さ', u"-.-.-"},
    {u'キ', u'き', u"-.-.."}, {u'ユ', u'ゆ', u"-..--"}, {u'メ', u'め', u"-...-"},
    {u'ミ', u'み', u"..-.-"}, {u'シ', u'し', u"--.-."}, {u'ヱ', u'ゑ', u".--.."},
    {u'ヒ', u'ひ', u"--..-"}, {u'モ', u'も', u"-..-."}, {u'セ', u'せ', u".---."},
    {u'ス', u'す', u"---.-"}, {u'ン', u'ん', u".-.-."},
};

struct Entry {
  char16_t key;
  const char16_t* code;
};

constexpr Entry kMarks[] = {
    {u'゛', u".."},
    {u'゜', u"..--."},
    {u'-', u".--.-"},
};

// Small katakana share the code of their full-size kana.
constexpr Entry kSmallKatakana[] = {
    {u'ァ', u"--.--"}, {u'ィ', u".-"},    {u'ゥ', u"..-"}, {u'ェ', u"-.---"}, {u'ォ', u".-..."},
    {u'ャ', u".--"},   {u'ュ', u"-..--"}, {u'ョ', u"--"},  {u'ッ', u".--."},
};

// Kanji numerals take the five-element digit codes, ASCII digits the short forms.
constexpr Entry kKanjiDigits[] = {
    {u'一', u".----"}, {u'二', u"..---"}, {u'三', u"...--"}, {u'四', u"....-"}, {u'五', u"....."},
    {u'六', u"-...."}, {u'七', u"--..."}, {u'八', u"---.."}, {u'九', u"----."}, {u'〇', u"-----"},
};

constexpr Entry kAsciiDigits[] = {
    {u'1', u".-"},    {u'2', u"..-"},  {u'3', u"...-"}, {u'4', u"....-"}, {u'5', u"....."},
    {u'6', u"-...."}, {u'7', u"-..."}, {u'8', u"-.."},  {u'9', u"-."},    {u'0', u"-"},
};

constexpr Entry kPunctuation[] = {
    {u'（', u"-.--.-"}, {u'(', u"-.--.-"},  {u'）', u".-..-."},
    {u')', u".-..-."},  {u'、', u".-.-.-"}, {u',', u".-.-.-"},
    {u'？', u"..--.."}, {u'?', u"..--.."},  {u'」', u".-.-.."},
};

constexpr const char16_t* kLatinCodes[26] = {
    u".-",   u"-...", u"-.-.", u"-..",  u".",   u"..-.", u"--.",  u"....", u"..",
    u".---", u"-.-",  u".-..", u"--",   u"-.",  u"---",  u".--.", u"--.-", u".-.",
    u"...",  u"-",    u"..-",  u"...-", u".--", u"-..-", u"-.--", u"--..",
};

template <std::size_t N>
void InsertAll(CodeTable& table, const Entry (&entries)[N]) {
  for (const Entry& e : entries) {
    table.insert_or_assign(e.key, e.code);
  }
}

CodeTables MakeTables() {
  CodeTables t;
  const std::u16string letters = u"abcdefghijklmnopqrstuvwxyz";
  for (std::size_t i = 0; i < letters.size(); ++i) {
    t.latin.insert_or_assign(letters[i], kLatinCodes[i]);
  }
  t.latin.insert_or_assign(u'.', u".-.-.-");

  for (const KanaRow& row : kKanaRows) {
    if (row.hiragana != 0) {
      t.wabun.insert_or_assign(row.hiragana, row.code);
    }
  }
  t.wabun.insert_or_assign(u'ノ', u"..--");
  InsertAll(t.wabun, kMarks);
  for (const KanaRow& row : kKanaRows) {
    t.wabun.insert_or_assign(row.katakana, row.code);
  }
  InsertAll(t.wabun, kSmallKatakana);
  InsertAll(t.wabun, kKanjiDigits);
  InsertAll(t.wabun, kAsciiDigits);
  InsertAll(t.wabun, kPunctuation);
  return t;
}

}  // namespace

const CodeTables& BuildCodeTables() {
  static const CodeTables tables = MakeTables();
  return tables;
}

}  // namespace hoshizora
