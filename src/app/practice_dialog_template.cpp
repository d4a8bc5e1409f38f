#include "app/practice_dialog_template.h"

#include "app/control_ids.h"

namespace hoshizora {
namespace {

using Kind = ControlSpec::Kind;

// The key and the player across the top; the copy on the left, the result on
// the right. Template order is the tab order.
constexpr ControlSpec kControls[] = {
    {ids::kNewPracticeButton, Kind::kButton, u"新しい練習電報", 10, 8, 110, 24},
    {ids::kChooseKeyButton, Kind::kButton, u"電報ファイルを選ぶ…", 126, 8, 120, 24},
    {ids::kGroupsCheck, Kind::kCheckBox, u"五字群", 262, 14, 60, 12},
    {ids::kLengthLabel, Kind::kLabel, u"長さ(字)", 330, 14, 50, 12},
    {ids::kLength, Kind::kSingleLine, u"", 382, 10, 70, 20},
    {ids::kWeakFocusCheck, Kind::kCheckBox, u"苦手な字を多めに", 464, 14, 110, 12},
    {ids::kKeyStatus, Kind::kLabel, u"", 10, 40, 620, 12},
    {ids::kPlayButton, Kind::kButton, u"再生", 10, 58, 70, 24},
    {ids::kStopButton, Kind::kButton, u"停止", 86, 58, 70, 24},
    {ids::kPlayStatus, Kind::kLabel, u"", 166, 64, 220, 12},
    {ids::kCopyLabel, Kind::kLabel, u"受信した本文", 10, 92, 200, 12},
    {ids::kCopy, Kind::kMultiLine, u"", 10, 106, 380, 140},
    {ids::kCopyCountLabel, Kind::kLabel, u"文字数", 10, 252, 90, 12},
    {ids::kCopyCount, Kind::kSingleLine, u"", 10, 266, 90, 20},
    {ids::kCopyStationLabel, Kind::kLabel, u"発信局", 106, 252, 90, 12},
    {ids::kCopyStation, Kind::kSingleLine, u"", 106, 266, 90, 20},
    {ids::kCopyNumberLabel, Kind::kLabel, u"番号", 202, 252, 90, 12},
    {ids::kCopyNumber, Kind::kSingleLine, u"", 202, 266, 90, 20},
    {ids::kCopyTimeLabel, Kind::kLabel, u"時刻", 298, 252, 90, 12},
    {ids::kCopyTime, Kind::kSingleLine, u"", 298, 266, 92, 20},
    {ids::kCopyAddresseeLabel, Kind::kLabel, u"名あて", 10, 292, 90, 12},
    {ids::kCopyAddressee, Kind::kSingleLine, u"", 10, 306, 380, 20},
    {ids::kScoreButton, Kind::kDefaultButton, u"採点", 10, 336, 90, 26},
    {ids::kAnswerButton, Kind::kButton, u"答えを見る", 106, 336, 90, 26},
    {ids::kChartButton, Kind::kButton, u"記録のグラフ", 202, 336, 90, 26},
    {ids::kResultLabel, Kind::kLabel, u"結果", 400, 92, 100, 12},
    {ids::kResult, Kind::kReadOnlyText, u"", 400, 106, 230, 220},
    {ids::kOpenMarkedButton, Kind::kButton, u"採点用紙を開く", 400, 336, 120, 26},
    {ids::kCloseButton, Kind::kButton, u"閉じる", 540, 336, 90, 26},
};

constexpr DialogTemplate kPracticeDialog{
    640,
    372,
    kControls,
    ids::kScoreButton,
    ids::kCancelKey,
    u"",
    {},
    u"受信練習",
    ids::kPracticeDialogTemplate,
};

}  // namespace

const DialogTemplate& PracticeDialogTemplate() {
  return kPracticeDialog;
}

}  // namespace hoshizora
