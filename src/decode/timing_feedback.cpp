#include "decode/timing_feedback.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "decode/wabun_lookup.h"

namespace hoshizora {
namespace {

constexpr std::size_t kSpeedWindow = 10;

struct Sum {
  double total = 0;
  double squares = 0;
  int count = 0;
  void Add(double v) {
    total += v;
    squares += v * v;
    ++count;
  }
  double Mean() const { return count > 0 ? total / count : 0; }
  double Cv() const {
    if (count < 2 || total <= 0) {
      return 0;
    }
    const double mean = Mean();
    const double variance = std::max(0.0, squares / count - mean * mean);
    return std::sqrt(variance) / mean;
  }
};

// Unit length in seconds over some characters: half the mean dit period.
double UnitOf(const std::vector<DecodedCharacter>& chars, std::size_t from, std::size_t to) {
  Sum dits;
  Sum gaps;
  for (std::size_t i = from; i < to; ++i) {
    for (const SentElement& e : chars[i].keyed.elements) {
      if (!e.dah) {
        dits.Add(e.length_s);
      }
    }
    for (double g : chars[i].keyed.inner_gaps_s) {
      gaps.Add(g);
    }
  }
  if (dits.count == 0 || gaps.count == 0) {
    // Only dahs or single elements: read the unit off the dahs and gaps.
    Sum dahs;
    for (std::size_t i = from; i < to; ++i) {
      for (const SentElement& e : chars[i].keyed.elements) {
        if (e.dah) {
          dahs.Add(e.length_s / 3);
        }
      }
    }
    if (dits.count == 0 && dahs.count == 0) {
      return 0;
    }
    const double marks = dits.count > 0 ? dits.Mean() : dahs.Mean();
    return gaps.count > 0 ? (marks + gaps.Mean()) / 2 : marks;
  }
  return (dits.Mean() + gaps.Mean()) / 2;
}

// Two decimals, so that a figure just under a limit does not print as the
// limit itself.
std::u16string TwoDecimals(double v) {
  const long long hundredths = static_cast<long long>(v * 100 + 0.5);
  std::u16string s;
  for (char ch : std::to_string(hundredths / 100)) {
    s.push_back(static_cast<char16_t>(ch));
  }
  s.push_back(u'.');
  s.push_back(static_cast<char16_t>(u'0' + hundredths % 100 / 10));
  s.push_back(static_cast<char16_t>(u'0' + hundredths % 10));
  return s;
}

}  // namespace

double CpmFromUnitMs(double unit_ms) {
  return unit_ms > 0 ? 12000.0 / unit_ms - 10.0 : 0;
}

TimingFeedback MeasureTiming(const DecodeResult& decoded) {
  TimingFeedback f;
  const auto& chars = decoded.characters;
  if (!decoded.keying_found || chars.empty()) {
    return f;
  }
  const double unit_s = UnitOf(chars, 0, chars.size());
  if (unit_s <= 0) {
    return f;
  }
  f.unit_ms = unit_s * 1000;
  f.cpm = CpmFromUnitMs(f.unit_ms);
  f.wpm = 1200 / f.unit_ms;

  // Speed over windows of ten characters, and its straight-line trend.
  Sum speeds;
  for (std::size_t from = 0; from + kSpeedWindow <= chars.size(); from += kSpeedWindow) {
    const double u = UnitOf(chars, from, from + kSpeedWindow);
    if (u <= 0) {
      continue;
    }
    const auto& last = chars[from + kSpeedWindow - 1].keyed;
    const double end = last.elements.back().start_s + last.elements.back().length_s;
    const double middle = (chars[from].keyed.Start() + end) / 2;
    const double cpm = CpmFromUnitMs(u * 1000);
    f.speed_track.emplace_back(middle, cpm);
    speeds.Add(cpm);
  }
  f.speed_cv = speeds.Cv();
  if (f.speed_track.size() >= 2) {
    double mt = 0;
    double mv = 0;
    for (const auto& [t, v] : f.speed_track) {
      mt += t;
      mv += v;
    }
    const auto n = static_cast<double>(f.speed_track.size());
    mt /= n;
    mv /= n;
    double num = 0;
    double den = 0;
    for (const auto& [t, v] : f.speed_track) {
      num += (t - mt) * (v - mv);
      den += (t - mt) * (t - mt);
    }
    f.drift_cpm_per_min = den > 0 ? num / den * 60 : 0;
  }

  Sum dits;
  Sum dahs;
  Sum inner;
  Sum char_gaps;
  Sum word_gaps;
  struct PerCharacter {
    Sum dits;
    Sum dahs;
    int count = 0;
    std::size_t first = 0;
  };
  std::map<std::u16string, PerCharacter> per_character;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const DecodedCharacter& c = chars[i];
    const SentCharacter& k = c.keyed;
    PerCharacter& p = per_character[c.text];
    if (p.count++ == 0) {
      p.first = i;
    }
    for (const SentElement& e : k.elements) {
      (e.dah ? dahs : dits).Add(e.length_s);
      (e.dah ? p.dahs : p.dits).Add(e.length_s);
    }
    for (std::size_t g = 0; g < k.inner_gaps_s.size(); ++g) {
      const double gap = k.inner_gaps_s[g];
      inner.Add(gap);
      const double units = gap / unit_s;
      // A dropped Group mark is not the sender's character.
      if (units > kWidestSafeInnerGap && !c.text.empty()) {
        const std::u16string code = k.Code();
        AtRisk r;
        r.inner_gap = true;
        r.character = c.text;
        r.at_s = k.elements[g].start_s + k.elements[g].length_s;
        r.units = units;
        r.code = code.substr(0, g + 1) + u" " + code.substr(g + 1);
        const auto a = LookUpCode(code.substr(0, g + 1));
        const auto b = LookUpCode(code.substr(g + 1));
        r.why = u"inner gap " + TwoDecimals(units) + u" units";
        if (a && b) {
          r.why += u": may be heard as " + *a + u" + " + *b;
          r.first_heard = *a;
          r.second_heard = *b;
        }
        f.at_risk.push_back(std::move(r));
      }
    }
    if (k.gap_after_s < 0 || k.long_pause_after) {
      continue;
    }
    const double units = k.gap_after_s / unit_s;
    (k.word_after ? word_gaps : char_gaps).Add(k.gap_after_s);
    if (!k.word_after && units < kNarrowestSafeCharGap && i + 1 < chars.size() && !c.text.empty() &&
        !chars[i + 1].text.empty()) {
      const SentCharacter& next = chars[i + 1].keyed;
      AtRisk r;
      r.character = c.text + chars[i + 1].text;
      r.next = chars[i + 1].text;
      r.at_s = k.elements.back().start_s + k.elements.back().length_s;
      r.units = units;
      r.code = k.Code() + u" " + next.Code();
      r.why = u"character gap " + TwoDecimals(units) + u" units";
      if (const auto joined = LookUpCode(k.Code() + next.Code())) {
        r.why += u": may be heard as " + *joined;
        r.first_heard = *joined;
      }
      f.at_risk.push_back(std::move(r));
    }
  }
  f.dah_dit_ratio = dits.count > 0 && dahs.count > 0 ? dahs.Mean() / dits.Mean() : 0;
  f.dit_cv = dits.Cv();
  f.dah_cv = dahs.Cv();
  f.weight = inner.count > 0 && dits.count > 0 ? dits.Mean() / inner.Mean() : 0;
  f.element_gap_units = inner.Mean() / unit_s;
  f.char_gap_units = char_gaps.Mean() / unit_s;
  f.word_gap_units = word_gaps.Mean() / unit_s;

  std::vector<std::pair<std::size_t, CharacterRatio>> ordered;
  for (const auto& [text, p] : per_character) {
    if (text.empty() || p.dits.count == 0 || p.dahs.count == 0) {
      continue;
    }
    CharacterRatio r{text, p.count, p.dahs.Mean() / p.dits.Mean(), false};
    r.flagged = r.ratio < kLowestGoodDahRatio || r.ratio > kHighestGoodDahRatio;
    ordered.emplace_back(p.first, r);
  }
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [first, r] : ordered) {
    f.ratios.push_back(std::move(r));
  }
  return f;
}

}  // namespace hoshizora
