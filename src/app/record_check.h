#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "check/check_result.h"
#include "encoding/telegram_fields.h"
#include "history/history_file.h"
#include "platform/system.h"

namespace hoshizora {

// What a front end knows of the telegram that was copied, beyond its text.
struct CheckedTelegram {
  std::u16string key_name;  // the key's file name; empty when it has none
  std::optional<std::uint64_t> seed;
  std::optional<int> cpm;
  std::optional<int> effective_cpm;
};

// Adds the scored copy (for a sending, the decoded keying) to the practice
// history at `history_file`, stamped with the clock's local time. The score
// stands whatever this returns.
HistoryAppend RecordCheck(System& system, const std::filesystem::path& history_file,
                          const TelegramFields& key, const CheckCopy& copy,
                          const CheckResult& result, const CheckedTelegram& telegram,
                          HistoryKind kind = HistoryKind::kReception);

}  // namespace hoshizora
