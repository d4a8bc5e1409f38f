#include "app/settings.h"

#include <algorithm>
#include <string>

#include "app/read_int_field.h"
#include "encoding/default_telegram.h"
#include "encoding/text_utils.h"
#include "platform/control_ids.h"
#include "telegram_file/dialog_fields.h"

namespace hoshizora {
namespace {

constexpr const char* kSection = "General";

}  // namespace

int BoundFrequency(int hz) {
  return std::clamp(hz, kMinFrequency, kMaxFrequency);
}
int BoundSpeed(int cpm) {
  return std::clamp(cpm, kMinSpeed, kMaxSpeed);
}

void LoadSettings(Dialog& dialog, SettingsStore& store, const std::optional<LocalTime>& now) {
  const int frequency = BoundFrequency(store.ReadInt(kSection, "FreqHz", kDefaultFrequency));
  const int speed = BoundSpeed(store.ReadInt(kSection, "Cpm", kDefaultSpeed));
  dialog.SetControlText(ids::kFrequency, IntToText(frequency));
  dialog.SetControlText(ids::kSpeed, IntToText(speed));
  if (dialog.HasControl(ids::kFrequencySpin)) {
    dialog.BindSpin(ids::kFrequencySpin, ids::kFrequency, kMinFrequency, kMaxFrequency, frequency);
  }
  if (dialog.HasControl(ids::kSpeedSpin)) {
    dialog.BindSpin(ids::kSpeedSpin, ids::kSpeed, kMinSpeed, kMaxSpeed, speed);
  }
  WriteTelegramFields(dialog, MakeDefaultTelegram(now));
  dialog.SetChecked(ids::kOpenAudio, store.ReadInt(kSection, "OpenAudio", 1) != 0);
  dialog.SetChecked(ids::kOpenListing, store.ReadInt(kSection, "OpenTextJpg", 0) != 0);
  dialog.SetChecked(ids::kOpenFolder, store.ReadInt(kSection, "OpenWabunDir", 1) != 0);
}

void SaveFrequencyAndSpeed(Dialog& dialog, SettingsStore& store) {
  const int frequency = BoundFrequency(ReadIntField(dialog, ids::kFrequency, kDefaultFrequency));
  const int speed = BoundSpeed(ReadIntField(dialog, ids::kSpeed, kDefaultSpeed));
  store.WriteString(kSection, "FreqHz", std::to_string(frequency));
  store.WriteString(kSection, "Cpm", std::to_string(speed));
}

void SaveOptions(Dialog& dialog, SettingsStore& store) {
  store.WriteString(kSection, "OpenAudio", dialog.IsChecked(ids::kOpenAudio) ? "1" : "0");
  store.WriteString(kSection, "OpenTextJpg", dialog.IsChecked(ids::kOpenListing) ? "1" : "0");
  store.WriteString(kSection, "OpenWabunDir", dialog.IsChecked(ids::kOpenFolder) ? "1" : "0");
}

}  // namespace hoshizora
