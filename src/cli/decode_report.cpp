#include "cli/decode_report.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

#include "app/sending_result_text.h"
#include "base/utf8.h"
#include "cli/cli_language.h"
#include "cli/terminal_text.h"

namespace hoshizora {
namespace {

std::string Json(std::u16string_view text) {
  std::string out = "\"";
  for (char c : EncodeUtf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static const char* const kHex = "0123456789abcdef";
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Bool(bool b) {
  return b ? "true" : "false";
}

std::string JapaneseReportText(const DecodeResult& decoded, const TimingFeedback& f,
                               const std::vector<CharacterRatio>& flagged, std::size_t listed) {
  std::ostringstream out;
  out << TerminalText(decoded.text) << "\n\n";
  out << "音の高さ: " << FixedDecimal(decoded.tone.hz, 1) << " Hz\n";
  out << "単位: " << FixedDecimal(f.unit_ms, 1) << " ms  速度: " << FixedDecimal(f.cpm, 1)
      << " CPM (" << FixedDecimal(f.wpm, 1) << " WPM)\n";
  out << "速度の安定: CV " << FixedDecimal(f.speed_cv, 3) << "、変化 "
      << FixedDecimal(f.drift_cpm_per_min, 1) << " CPM/分\n";
  out << "長点/短点: " << FixedDecimal(f.dah_dit_ratio, 2) << "  短点 CV "
      << FixedDecimal(f.dit_cv, 3) << "、長点 CV " << FixedDecimal(f.dah_cv, 3) << "  重み "
      << FixedDecimal(f.weight, 2) << "\n";
  out << "間隔(単位): 符号内 " << FixedDecimal(f.element_gap_units, 2) << "、文字間 "
      << FixedDecimal(f.char_gap_units, 2) << "、語間 " << FixedDecimal(f.word_gap_units, 2)
      << "\n";
  for (std::size_t i = 0; i < flagged.size() && i < listed; ++i) {
    out << (i > 0 ? "、" : "長点/短点が 2.5-3.5 の外: ") << TerminalText(flagged[i].character)
        << " " << FixedDecimal(flagged[i].ratio, 2);
  }
  if (flagged.size() > listed) {
    out << "、ほか " << flagged.size() - listed << " 字";
  }
  if (!flagged.empty()) {
    out << "\n";
  }
  if (!f.at_risk.empty()) {
    out << "読み違えのおそれ:\n";
    for (const AtRisk& r : f.at_risk) {
      out << "  " << FixedDecimal(r.at_s, 2) << " 秒  " << TerminalText(r.character) << " ("
          << EncodeUtf8(r.code) << "): " << TerminalText(AtRiskSentence(r)) << " ("
          << FixedDecimal(r.units, 2) << " 単位)\n";
    }
  }
  return out.str();
}

}  // namespace

std::string DecodeReportText(const DecodeResult& decoded, const TimingFeedback& f) {
  // The characters farthest from 3 first; a dozen say enough.
  std::vector<CharacterRatio> flagged;
  for (const CharacterRatio& r : f.ratios) {
    if (r.flagged) {
      flagged.push_back(r);
    }
  }
  std::stable_sort(flagged.begin(), flagged.end(), [](const auto& a, const auto& b) {
    return std::fabs(a.ratio - 3) > std::fabs(b.ratio - 3);
  });
  constexpr std::size_t kMostListed = 12;
  if (CliLanguageIsJapanese()) {
    return JapaneseReportText(decoded, f, flagged, kMostListed);
  }
  std::ostringstream out;
  out << TerminalText(decoded.text) << "\n\n";
  out << "tone: " << FixedDecimal(decoded.tone.hz, 1) << " Hz\n";
  out << "unit: " << FixedDecimal(f.unit_ms, 1) << " ms  speed: " << FixedDecimal(f.cpm, 1)
      << " CPM (" << FixedDecimal(f.wpm, 1) << " WPM)\n";
  out << "speed stability: CV " << FixedDecimal(f.speed_cv, 3) << ", drift "
      << FixedDecimal(f.drift_cpm_per_min, 1) << " CPM/min\n";
  out << "dah/dit: " << FixedDecimal(f.dah_dit_ratio, 2) << "  dits CV "
      << FixedDecimal(f.dit_cv, 3) << ", dahs CV " << FixedDecimal(f.dah_cv, 3) << "  weight "
      << FixedDecimal(f.weight, 2) << "\n";
  out << "gaps (units): element " << FixedDecimal(f.element_gap_units, 2) << ", character "
      << FixedDecimal(f.char_gap_units, 2) << ", word " << FixedDecimal(f.word_gap_units, 2)
      << "\n";
  for (std::size_t i = 0; i < flagged.size() && i < kMostListed; ++i) {
    out << (i > 0 ? ", " : "dah/dit outside 2.5-3.5: ") << TerminalText(flagged[i].character) << " "
        << FixedDecimal(flagged[i].ratio, 2);
  }
  if (flagged.size() > kMostListed) {
    out << " and " << flagged.size() - kMostListed << " more";
  }
  if (!flagged.empty()) {
    out << "\n";
  }
  if (!f.at_risk.empty()) {
    out << "at risk:\n";
    for (const AtRisk& r : f.at_risk) {
      out << "  " << FixedDecimal(r.at_s, 2) << " s  " << TerminalText(r.character) << " ("
          << EncodeUtf8(r.code) << "): " << TerminalText(r.why) << "\n";
    }
  }
  return out.str();
}

std::string DecodeReportJson(const DecodeResult& decoded, const TimingFeedback& f) {
  bool found_start = false;
  bool found_end = false;
  const std::u16string body = DecodedBody(decoded.text, &found_start, &found_end);
  std::ostringstream out;
  out << "{\"text\": " << Json(decoded.text) << ", \"body\": " << Json(body)
      << ", \"found_start\": " << Bool(found_start) << ", \"found_end\": " << Bool(found_end)
      << ", \"tone_hz\": " << FixedDecimal(decoded.tone.hz, 1)
      << ", \"unit_ms\": " << FixedDecimal(f.unit_ms, 2) << ", \"cpm\": " << FixedDecimal(f.cpm, 1)
      << ", \"wpm\": " << FixedDecimal(f.wpm, 1)
      << ", \"speed_cv\": " << FixedDecimal(f.speed_cv, 3)
      << ", \"drift_cpm_per_min\": " << FixedDecimal(f.drift_cpm_per_min, 2)
      << ", \"dah_dit_ratio\": " << FixedDecimal(f.dah_dit_ratio, 2)
      << ", \"element_gap_units\": " << FixedDecimal(f.element_gap_units, 2)
      << ", \"char_gap_units\": " << FixedDecimal(f.char_gap_units, 2)
      << ", \"word_gap_units\": " << FixedDecimal(f.word_gap_units, 2) << ", \"at_risk\": [";
  for (std::size_t i = 0; i < f.at_risk.size(); ++i) {
    const AtRisk& r = f.at_risk[i];
    out << (i > 0 ? ", " : "") << "{\"character\": " << Json(r.character)
        << ", \"at_s\": " << FixedDecimal(r.at_s, 2) << ", \"code\": " << Json(r.code)
        << ", \"why\": " << Json(r.why) << "}";
  }
  out << "]}\n";
  return out.str();
}

}  // namespace hoshizora
