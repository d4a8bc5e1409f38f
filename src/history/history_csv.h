#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "history/history_record.h"

namespace hoshizora {

// The practice history is a CSV file that a spreadsheet opens as it is:
// UTF-8, a header line, then one record a line, fields separated by commas
// and quoted (with "" for a quote) where they need it:
//
//   time,key,seed,cpm,effective_cpm,score,pass_mark,substitutions,omissions,
//   insertions,characters,confusions,kind
//
// time is local "YYYY-MM-DD HH:MM:SS"; key, seed, cpm, effective_cpm and time
// are empty when unknown. The last two fields are always quoted, so a line cut
// short anywhere never reads as a whole record:
//   characters  "ア:3/1 ゛:4/2": each keyed character with heard/written wrong
//   confusions  "ン>ソ:2": expected > written : how often
// Items are separated by single blanks. Inside a character, a blank, ",",
// '"', ":", ">", "/", "\" and control characters are written \XXXX (the
// UTF-16 unit in four hex digits), so every item splits unambiguously.
// kind is "reception" or "sending"; a line from before the column existed
// has none and is a reception. Readers ignore fields after the last, so
// later columns can be added.
inline constexpr std::string_view kHistoryHeader =
    "time,key,seed,cpm,effective_cpm,score,pass_mark,substitutions,omissions,insertions,"
    "characters,confusions,kind";
// The header of a history written before the kind column.
inline constexpr std::string_view kFirstHistoryHeader =
    "time,key,seed,cpm,effective_cpm,score,pass_mark,substitutions,omissions,insertions,"
    "characters,confusions";

// The record's line, with its line feed.
std::string FormatHistoryLine(const HistoryRecord& record);

// A record from one line (without its line feed; a trailing CR is allowed),
// or nothing when the line is not one of ours.
std::optional<HistoryRecord> ParseHistoryLine(std::string_view line);

struct HistoryParse {
  std::vector<HistoryRecord> records;  // in the file's order, oldest first
  int skipped = 0;                     // damaged or foreign lines, not counting the header
  bool ends_with_line_feed = true;     // false when the last line was cut short
};

// Every record of a history file's bytes. A byte order mark, CR LF line ends
// and blank lines (as a spreadsheet may save them) are accepted.
HistoryParse ParseHistoryFile(std::string_view bytes);

}  // namespace hoshizora
