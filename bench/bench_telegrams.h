#pragma once

#include <string>

#include "encoding/default_telegram.h"

namespace hoshizora::bench {

// The sample telegram as the output command composes it (header lines, then the body).
inline std::u16string SampleTelegramText() {
  const TelegramFields f = MakeDefaultTelegram(std::nullopt);
  return f.count + u"\n" + f.station + u"\n" + f.number + u"\n" + f.time + u"\n" + f.addressee +
         u"\n" + f.body;
}

// A full 4095-character body: the sample body's characters repeated between the signs.
inline std::u16string LongestBody() {
  const std::u16string sample = MakeDefaultTelegram(std::nullopt).body;
  const std::u16string inner = sample.substr(4, sample.size() - 8);
  std::u16string body = u"[ホレ]";
  while (body.size() < 4095 - 4) {
    body.push_back(inner[(body.size() - 4) % inner.size()]);
  }
  return body + u"[ラタ]";
}

}  // namespace hoshizora::bench
