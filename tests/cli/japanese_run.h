#pragma once

#include "cli/cli_language.h"

namespace hoshizora::testing {

// The command line speaks Japanese for as long as this lives, as under a
// Japanese locale; the run's texts then pass as the window shows them.
struct JapaneseRun {
  JapaneseRun() { SetCliLanguage(CliLanguage::kJapanese); }
  ~JapaneseRun() { SetCliLanguage(CliLanguage::kEnglish); }
  JapaneseRun(const JapaneseRun&) = delete;
  JapaneseRun& operator=(const JapaneseRun&) = delete;
};

}  // namespace hoshizora::testing
