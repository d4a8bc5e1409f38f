#pragma once

namespace hoshizora::ids {

// The dialogs' templates in the Windows edition's resources.
inline constexpr int kMainDialogTemplate = 6000;
inline constexpr int kPracticeDialogTemplate = 6002;
inline constexpr int kSendingDialogTemplate = 6003;

// Commands.
inline constexpr int kCancelKey = 2;
inline constexpr int kOutputButton = 2004;
inline constexpr int kSaveButton = 2002;
inline constexpr int kLoadButton = 2003;
inline constexpr int kCancelButton = 5001;
inline constexpr int kAboutMenuItem = 40001;
inline constexpr int kKeyingMenuItem = 40002;
inline constexpr int kPracticeMenuItem = 40003;
inline constexpr int kReceptionMenuItem = 40004;
inline constexpr int kSendingMenuItem = 40005;

// Telegram fields.
inline constexpr int kBody = 1001;
inline constexpr int kCount = 1002;
inline constexpr int kStation = 1003;
inline constexpr int kNumber = 1004;
inline constexpr int kTime = 1005;
inline constexpr int kAddressee = 1006;

// Tone settings and their spins.
inline constexpr int kFrequency = 3000;
inline constexpr int kSpeed = 3001;
inline constexpr int kFrequencySpin = 4000;
inline constexpr int kSpeedSpin = 4001;

// Options: only the folder option has a control.
inline constexpr int kOpenAudio = 8001;
inline constexpr int kOpenListing = 8002;
inline constexpr int kOpenFolder = 8003;

// Labels.
inline constexpr int kBodyLabel = 7000;
inline constexpr int kCountLabel = 7001;
inline constexpr int kStationLabel = 7002;
inline constexpr int kNumberLabel = 7003;
inline constexpr int kTimeLabel = 7004;
inline constexpr int kAddresseeLabel = 7005;
inline constexpr int kFrequencyLabel = 7006;
inline constexpr int kSpeedLabel = 7007;
inline constexpr int kLabels[] = {kBodyLabel, kCountLabel,     kStationLabel,   kNumberLabel,
                                  kTimeLabel, kAddresseeLabel, kFrequencyLabel, kSpeedLabel};

// The practice dialog, 「受信練習」.
inline constexpr int kNewPracticeButton = 9101;
inline constexpr int kChooseKeyButton = 9102;
inline constexpr int kGroupsCheck = 9103;
inline constexpr int kLengthLabel = 9104;
inline constexpr int kLength = 9105;
inline constexpr int kKeyStatus = 9106;
inline constexpr int kPlayButton = 9107;
inline constexpr int kStopButton = 9108;
inline constexpr int kPlayStatus = 9109;
inline constexpr int kCopyLabel = 9110;
inline constexpr int kCopy = 9111;
inline constexpr int kCopyCountLabel = 9112;
inline constexpr int kCopyCount = 9113;
inline constexpr int kCopyStationLabel = 9114;
inline constexpr int kCopyStation = 9115;
inline constexpr int kCopyNumberLabel = 9116;
inline constexpr int kCopyNumber = 9117;
inline constexpr int kCopyTimeLabel = 9118;
inline constexpr int kCopyTime = 9119;
inline constexpr int kCopyAddresseeLabel = 9120;
inline constexpr int kCopyAddressee = 9121;
inline constexpr int kScoreButton = 9122;
inline constexpr int kAnswerButton = 9123;
inline constexpr int kOpenMarkedButton = 9124;
inline constexpr int kCloseButton = 9125;
inline constexpr int kResultLabel = 9126;
inline constexpr int kResult = 9127;
inline constexpr int kWeakFocusCheck = 9128;
inline constexpr int kChartButton = 9129;

// The sending dialog, 「送信練習」: the practice dialog's ids for the controls
// the two share (a new telegram, its options, its status, the result, 閉じる).
inline constexpr int kRecordButton = 9201;
inline constexpr int kStopRecordButton = 9202;
inline constexpr int kOpenRecordingButton = 9203;
inline constexpr int kRecordStatus = 9204;
inline constexpr int kSendTextLabel = 9205;
inline constexpr int kSendText = 9206;

// Buffer sizes (terminator included) the commands read the fields with.
inline constexpr int kShortFieldBuffer = 100;
inline constexpr int kAddresseeBuffer = 512;
inline constexpr int kBodyBuffer = 4096;
inline constexpr int kToneBufferOutput = 16;
inline constexpr int kToneBufferClose = 31;

}  // namespace hoshizora::ids
