#include "app/settings.h"

#include <string>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/keying_settings.h"
#include "base/decimal_parse.h"
#include "encoding/default_telegram.h"
#include "encoding/text_utils.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr const char* kSection = "General";

std::int32_t ReadIntField(Dialog& dialog, int id, std::int32_t default_value) {
  return DecideIntField(dialog.GetControlText(id, ids::kToneBufferClose), default_value);
}

}  // namespace

int StoredFrequency(SettingsStore& store) {
  return BoundFrequency(store.ReadInt(kSection, "FreqHz", kDefaultFrequency));
}

int StoredSpeed(SettingsStore& store) {
  return BoundSpeed(store.ReadInt(kSection, "Cpm", kDefaultSpeed));
}

KeyingOptions StoredKeying(SettingsStore& store) {
  return ReadKeyingSettings(store, StoredSpeed(store));
}

std::u16string UnreadableSettingsMessage(const std::filesystem::path& path) {
  return u"設定ファイルを読み込めなかったため、既定の設定を使います（このファイルは書き換えません）"
         u": " +
         PathText(path);
}

int SpeedToSave(Dialog& dialog) {
  return BoundSpeed(ReadIntField(dialog, ids::kSpeed, kDefaultSpeed));
}

void LoadSettings(Dialog& dialog, SettingsStore& store, const std::optional<LocalTime>& now) {
  const int frequency = StoredFrequency(store);
  const int speed = StoredSpeed(store);
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
  store.WriteString(kSection, "FreqHz", std::to_string(frequency));
  store.WriteString(kSection, "Cpm", std::to_string(SpeedToSave(dialog)));
}

void SaveKeying(Dialog& dialog, SettingsStore& store, const KeyingOptions& keying) {
  WriteKeyingSettings(store, BoundKeying(keying, SpeedToSave(dialog)));
}

void SaveOptions(Dialog& dialog, SettingsStore& store) {
  store.WriteString(kSection, "OpenAudio", dialog.IsChecked(ids::kOpenAudio) ? "1" : "0");
  store.WriteString(kSection, "OpenTextJpg", dialog.IsChecked(ids::kOpenListing) ? "1" : "0");
  store.WriteString(kSection, "OpenWabunDir", dialog.IsChecked(ids::kOpenFolder) ? "1" : "0");
}

}  // namespace hoshizora
