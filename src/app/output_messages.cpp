#include "app/output_messages.h"

#include "encoding/text_utils.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kNoJpegEncoder = u"JPEGエンコーダが見つかりません (GDI+)";

}  // namespace

std::vector<ShownMessage> PictureMessages(const ImageOutcome& listing, const ImageOutcome& forms) {
  std::vector<ShownMessage> shown;
  const auto error = [&](std::u16string_view text, MessageIcon icon = MessageIcon::kError) {
    shown.push_back({std::u16string(text), u"エラー", icon});
  };
  if (listing.status == ImageStatus::kNoJpegEncoder) {
    error(kNoJpegEncoder);
  } else if (listing.status == ImageStatus::kSaveFailed) {
    error(u"JPEG保存に失敗しました。");
  }
  if (forms.status == ImageStatus::kNoJpegEncoder) {
    error(kNoJpegEncoder);
  } else if (forms.status == ImageStatus::kNoFormTemplate) {
    error(u"テンプレ画像が見つかりません", MessageIcon::kNone);
  }
  for (std::size_t i = 0; i < forms.failed.size(); ++i) {
    error(u"和文電報JPEGの保存に失敗しました。");
  }
  return shown;
}

std::u16string AudioProblem(const AudioOutcome& audio) {
  using Kind = AudioOutcome::Kind;
  switch (audio.kind) {
    case Kind::kMp3Written:
    case Kind::kWavOnlyNoEncoder:
      return {};
    case Kind::kWavOnlyEncoderFailed:
      if (audio.encoder_exit_code == kEncoderNotStarted) {
        return u"音声: MP3エンコーダ(lame)を起動できませんでした。WAVファイルを残しました。";
      }
      if (audio.encoder_exit_code == kEncoderStatusLost) {
        return u"音声: MP3エンコーダ(lame)の終了状態を確かめられませんでした。"
               u"WAVファイルを残しました。";
      }
      return u"音声: MP3への変換に失敗しました(終了コード " + IntToText(audio.encoder_exit_code) +
             u")。WAVファイルを残しました。";
    case Kind::kCancelled:
      return u"音声: MP3への変換を中止しました。WAVファイルを残しました。";
    case Kind::kFailed:
      if (audio.wav_status == WavStatus::kTooLong) {
        return u"音声: 電報が長すぎてWAVファイルに収まりません。";
      }
      return u"音声: WAVファイルを書き込めませんでした。";
  }
  return {};
}

std::u16string ListingProblem(const ImageOutcome& listing, bool cancelled) {
  if (cancelled) {
    return u"テキスト画像: 中止したため作成しませんでした。";
  }
  switch (listing.status) {
    case ImageStatus::kWritten:
    case ImageStatus::kNothingToDraw:
      return {};
    case ImageStatus::kNoJpegEncoder:
      return u"テキスト画像: JPEGエンコーダが見つかりませんでした。";
    default:
      return u"テキスト画像: JPEGファイルを保存できませんでした。";
  }
}

std::u16string FormProblem(const ImageOutcome& forms, int pages) {
  switch (forms.status) {
    case ImageStatus::kWritten:
    case ImageStatus::kNothingToDraw:
      return {};
    case ImageStatus::kNoJpegEncoder:
      return u"受信用紙: JPEGエンコーダが見つかりませんでした。";
    case ImageStatus::kNoFormTemplate:
      return u"受信用紙: テンプレート画像(和文電報受信用紙.jpg)が見つかりませんでした。";
    case ImageStatus::kSaveFailed:
      return u"受信用紙: " + IntToText(pages) + u"枚中" +
             IntToText(static_cast<std::int32_t>(forms.failed.size())) +
             u"枚を保存できませんでした。";
    case ImageStatus::kCancelled:
      return u"受信用紙: 中止したため、" + IntToText(pages) + u"枚中" +
             IntToText(static_cast<std::int32_t>(forms.written.size())) + u"枚だけ作成しました。";
  }
  return {};
}

std::u16string UnkeyedNote(const std::vector<std::u16string>& unkeyed) {
  std::u16string list;
  for (const auto& c : unkeyed) {
    list += (list.empty() ? u"" : u" ") + c;
  }
  return u"モールス符号がないため音声に含まれない文字: " + list;
}

}  // namespace hoshizora
