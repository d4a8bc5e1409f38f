// The practice history's CSV. Input: a history file's bytes. Every record
// read is written back as the same line and reads back as itself, and a
// record appended after the file's bytes (on a line of its own when the last
// one was cut short) is read as one more record, whatever came before.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "history/history_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  const HistoryParse parse = ParseHistoryFile(bytes);

  std::size_t lines = 0;
  for (char c : bytes) {
    lines += c == '\n' ? 1 : 0;
  }
  HOSHIZORA_CHECK(parse.records.size() + static_cast<std::size_t>(parse.skipped) <= lines + 1);

  for (const HistoryRecord& record : parse.records) {
    const std::string line = FormatHistoryLine(record);
    HOSHIZORA_CHECK(line.find('\n') == line.size() - 1);
    const auto again = ParseHistoryLine(std::string_view(line).substr(0, line.size() - 1));
    HOSHIZORA_CHECK(again && *again == record);
    for (const auto& [character, tally] : record.characters) {
      HOSHIZORA_CHECK(tally.errors <= tally.heard);
    }
  }

  HistoryRecord appended;
  appended.score = 77;
  appended.characters = {{u"ン", {2, 1}}};
  std::string file(bytes);
  if (!parse.ends_with_line_feed) {
    file += '\n';
  }
  file += FormatHistoryLine(appended);
  const HistoryParse after = ParseHistoryFile(file);
  HOSHIZORA_CHECK(after.records.size() >= 1 && after.records.back() == appended);
  return 0;
}
