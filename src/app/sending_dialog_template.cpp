#include "app/sending_dialog_template.h"

#include "app/control_ids.h"

namespace hoshizora {
namespace {

using Kind = ControlSpec::Kind;

// The telegram and the recorder across the top; the telegram to send on the
// left, what was heard in the recording on the right.
constexpr ControlSpec kControls[] = {
    {ids::kNewPracticeButton, Kind::kButton, u"新しい練習電報", 10, 8, 110, 24},
    {ids::kChooseKeyButton, Kind::kButton, u"電報ファイルを選ぶ…", 126, 8, 120, 24},
    {ids::kGroupsCheck, Kind::kCheckBox, u"五字群", 262, 14, 60, 12},
    {ids::kLengthLabel, Kind::kLabel, u"長さ(字)", 330, 14, 50, 12},
    {ids::kLength, Kind::kSingleLine, u"", 382, 10, 70, 20},
    {ids::kKeyStatus, Kind::kLabel, u"", 10, 40, 620, 12},
    {ids::kRecordButton, Kind::kDefaultButton, u"録音開始", 10, 58, 70, 24},
    {ids::kStopRecordButton, Kind::kButton, u"録音停止", 86, 58, 70, 24},
    {ids::kOpenRecordingButton, Kind::kButton, u"録音ファイルを開く…", 162, 58, 110, 24},
    {ids::kRecordStatus, Kind::kLabel, u"", 282, 64, 348, 12},
    {ids::kSendTextLabel, Kind::kLabel, u"送信する電報", 10, 92, 200, 12},
    {ids::kSendText, Kind::kReadOnlyText, u"", 10, 106, 250, 220},
    {ids::kResultLabel, Kind::kLabel, u"解読と採点", 270, 92, 200, 12},
    {ids::kResult, Kind::kReadOnlyText, u"", 270, 106, 360, 220},
    {ids::kCloseButton, Kind::kButton, u"閉じる", 540, 336, 90, 26},
};

constexpr DialogTemplate kSendingDialog{
    640, 372, kControls,   ids::kRecordButton,          ids::kCancelKey,
    u"", {},  u"送信練習", ids::kSendingDialogTemplate,
};

}  // namespace

const DialogTemplate& SendingDialogTemplate() {
  return kSendingDialog;
}

}  // namespace hoshizora
