#pragma once

#include <string>
#include <string_view>

namespace hoshizora {

// The one language a run of the command line speaks: every refusal, progress
// line, message and summary, and the help.
enum class CliLanguage { kEnglish, kJapanese };

// Japanese when the locale that governs messages starts with "ja": LC_ALL,
// else LC_MESSAGES, else LANG (the first that is set and not empty), as the
// C library chooses; English otherwise. Null stands for an unset variable.
CliLanguage LanguageFromLocale(const char* lc_all, const char* lc_messages, const char* lang);

// The language of this run, set once by `main` before any output.
void SetCliLanguage(CliLanguage language);
CliLanguage CurrentCliLanguage();
inline bool CliLanguageIsJapanese() {
  return CurrentCliLanguage() == CliLanguage::kJapanese;
}

// The text in the run's language.
std::string_view Say(std::string_view english, std::string_view japanese);

// The output run's own texts (written in Japanese, as the window shows them),
// in the run's language: unchanged in Japanese; in English, every phrase the
// run composes its messages from is put into English.
std::u16string RunTextInLanguage(std::u16string_view text);

}  // namespace hoshizora
