#include "app/record_check.h"

#include "history/check_tally.h"

namespace hoshizora {

HistoryAppend RecordCheck(System& system, const std::filesystem::path& history_file,
                          const TelegramFields& key, const CheckCopy& copy,
                          const CheckResult& result, const CheckedTelegram& telegram,
                          HistoryKind kind) {
  HistoryRecord record = RecordOfCheck(key, copy, result);
  record.kind = kind;
  record.time = system.LocalNow();
  record.key_name = telegram.key_name;
  record.seed = telegram.seed;
  record.cpm = telegram.cpm;
  record.effective_cpm = telegram.effective_cpm;
  return AppendHistory(system, history_file, record);
}

}  // namespace hoshizora
