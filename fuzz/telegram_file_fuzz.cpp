// The telegram file: whatever a file holds, the fields it loads as save and
// load back unchanged; fields a user can type (any text the format can hold)
// save and load back exactly.
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/utf8.h"
#include "fuzz_support.h"
#include "telegram_file/telegram_text_format.h"

namespace {

using hoshizora::TelegramFields;

constexpr std::array<std::u16string_view, 6> kLineTags = {u"[VALA]", u"[VALB]", u"[VALC]",
                                                          u"[VALD]", u"[VALE]", u"[TEXT]"};

bool SameFields(const TelegramFields& a, const TelegramFields& b) {
  return a.count == b.count && a.station == b.station && a.number == b.number && a.time == b.time &&
         a.addressee == b.addressee && a.body == b.body;
}

bool StartsWithTag(std::u16string_view line) {
  for (std::u16string_view tag : kLineTags) {
    if (line.starts_with(tag)) {
      return true;
    }
  }
  return false;
}

// Whether the format can hold the text of a multi-line field: no line that
// would read as a tag of its own. The addressee's first line follows its tag.
bool LinesAreSavable(std::u16string_view text, bool first_line_follows_tag) {
  bool first = true;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) {
      end = text.size();
    }
    if (!(first && first_line_follows_tag) && StartsWithTag(text.substr(start, end - start))) {
      return false;
    }
    first = false;
    start = end + 1;
  }
  return true;
}

bool IsSavable(const TelegramFields& f) {
  for (const std::u16string* field :
       {&f.count, &f.station, &f.number, &f.time, &f.addressee, &f.body}) {
    if (field->find(u'\0') != std::u16string::npos) {
      return false;
    }
  }
  for (const std::u16string* line : {&f.count, &f.station, &f.number, &f.time}) {
    if (line->find(u'\n') != std::u16string::npos) {
      return false;
    }
  }
  return LinesAreSavable(f.addressee, true) && LinesAreSavable(f.body, false);
}

// Six fields from the input, split at the record separator byte.
TelegramFields FieldsFromInput(std::string_view bytes) {
  TelegramFields f;
  std::u16string* fields[] = {&f.count, &f.station, &f.number, &f.time, &f.addressee, &f.body};
  for (std::u16string* field : fields) {
    const std::size_t end = field == &f.body ? bytes.npos : bytes.find('\x1e');
    *field = hoshizora::DecodeUtf8Lenient(bytes.substr(0, end));
    bytes.remove_prefix(end == bytes.npos ? bytes.size() : end + 1);
  }
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  const std::string_view bytes = fuzz::AsBytes(data, size);

  const TelegramFields loaded = ParseTelegramText(bytes);
  HOSHIZORA_CHECK(IsSavable(loaded));
  const std::string saved = SerializeTelegramText(loaded);
  HOSHIZORA_CHECK(DecodeUtf8Strict(saved).has_value());
  HOSHIZORA_CHECK(SameFields(ParseTelegramText(saved), loaded));

  const TelegramFields typed = FieldsFromInput(bytes);
  if (IsSavable(typed)) {
    HOSHIZORA_CHECK(SameFields(ParseTelegramText(SerializeTelegramText(typed)), typed));
  }
  return 0;
}
