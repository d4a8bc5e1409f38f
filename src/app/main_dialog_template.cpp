#include "app/main_dialog_template.h"

#include "app/control_ids.h"

namespace hoshizora {
namespace {

using Kind = ControlSpec::Kind;

// The template, in its order, which is also the tab order.
constexpr ControlSpec kControls[] = {
    {ids::kOutputButton, Kind::kDefaultButton, u"電報JPEG_WAV出力", 19, 358, 188, 30},
    {ids::kSaveButton, Kind::kButton, u"電報保存", 229, 358, 92, 30},
    {ids::kLoadButton, Kind::kDefaultButton, u"電報読込", 339, 358, 92, 30},
    {ids::kCancelButton, Kind::kButton, u"Cancel", 457, 358, 75, 30},
    {ids::kBodyLabel, Kind::kLabel, u"本文", 18, 9, 50, 12},
    {ids::kBody, Kind::kMultiLine, u"", 15, 26, 496, 162},
    {ids::kCountLabel, Kind::kLabel, u"文字数", 17, 189, 50, 12},
    {ids::kStationLabel, Kind::kLabel, u"発信局", 200, 191, 50, 12},
    {ids::kNumberLabel, Kind::kLabel, u"番号", 20, 233, 50, 12},
    {ids::kTimeLabel, Kind::kLabel, u"時刻", 200, 233, 50, 12},
    {ids::kAddresseeLabel, Kind::kLabel, u"名あて", 21, 275, 50, 12},
    {ids::kFrequencyLabel, Kind::kLabel, u"周波数(Hz)", 417, 192, 100, 12},
    {ids::kSpeedLabel, Kind::kLabel, u"速度(CPM)", 417, 234, 100, 12},
    {ids::kCount, Kind::kSingleLine, u"", 20, 203, 172, 25},
    {ids::kStation, Kind::kSingleLine, u"", 200, 203, 194, 25},
    {ids::kNumber, Kind::kSingleLine, u"", 20, 245, 170, 25},
    {ids::kTime, Kind::kSingleLine, u"", 200, 245, 193, 25},
    {ids::kAddressee, Kind::kMultiLine, u"", 19, 287, 383, 63},
    {ids::kFrequency, Kind::kSingleLine, u"", 417, 205, 76, 25},
    {ids::kFrequencySpin, Kind::kSpin, u"", 493, 204, 11, 25},
    {ids::kSpeed, Kind::kSingleLine, u"", 417, 245, 76, 25},
    {ids::kSpeedSpin, Kind::kSpin, u"", 492, 245, 11, 25},
    {ids::kOpenFolder, Kind::kCheckBox, u"和文電報フォルダを開く", 415, 305, 123, 12},
};

// Menu 101, その他.
constexpr MenuItemSpec kMenuItems[] = {
    {ids::kAboutMenuItem, u"このソフトについて"}, {ids::kKeyingMenuItem, u"音声の設定…"},
    {ids::kPracticeMenuItem, u"練習電報を作る"},  {ids::kReceptionMenuItem, u"受信練習…"},
    {ids::kSendingMenuItem, u"送信練習…"},
};

constexpr DialogTemplate kMainDialog{
    553,       395,        kControls,     ids::kOutputButton,       ids::kCancelKey,
    u"その他", kMenuItems, u"Hoshizora ", ids::kMainDialogTemplate,
};

}  // namespace

const DialogTemplate& MainDialogTemplate() {
  return kMainDialog;
}

}  // namespace hoshizora
