#include "app/output_messages.h"

#include <algorithm>

#include "base/unicode.h"
#include "encoding/text_utils.h"
#include "platform/paths.h"

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
  // Only a WAV that is still there may be named.
  const std::u16string_view left =
      audio.audio_path.empty() ? u"WAVファイルも残っていません。" : u"WAVファイルを残しました。";
  switch (audio.kind) {
    case Kind::kMp3Written:
    case Kind::kWavOnlyNoEncoder:
      return {};
    case Kind::kWavOnlyEncoderFailed:
      if (audio.encoder_exit_code == kEncoderNotStarted) {
        return u"音声: MP3エンコーダ(lame)を起動できませんでした。" + std::u16string(left);
      }
      if (audio.encoder_exit_code == kEncoderStatusLost) {
        return u"音声: MP3エンコーダ(lame)の終了状態を確かめられませんでした。" +
               std::u16string(left);
      }
      if (audio.encoder_exit_code == kEncoderOutputIncomplete) {
        return u"音声: MP3エンコーダ(lame)が書いたMP3ファイルが不完全でした。" +
               std::u16string(left);
      }
      return u"音声: MP3への変換に失敗しました(終了コード " + IntToText(audio.encoder_exit_code) +
             u")。" + std::u16string(left);
    case Kind::kCancelled:
      return u"音声: MP3への変換を中止しました。" + std::u16string(left);
    case Kind::kFailed:
      if (audio.wav_status == WavStatus::kCancelled) {
        return u"音声: 中止したため作成しませんでした。";
      }
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
      return u"受信用紙: テンプレート画像(和文電報受信用紙.jpg)が見つからないか、壊れています。";
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

std::u16string GlyphProblem(const ImageOutcome& listing, const ImageOutcome& forms) {
  // A telegram without any Japanese face lists every kana: name the first few.
  constexpr std::size_t kShown = 40;
  std::u16string characters = listing.undrawable;
  std::vector<std::u16string> faces = listing.missing_faces;
  AppendNewCharacters(characters, forms.undrawable);
  for (const std::u16string& face : forms.missing_faces) {
    if (std::find(faces.begin(), faces.end(), face) == faces.end()) {
      faces.push_back(face);
    }
  }
  if (characters.empty()) {
    return {};
  }
  std::u16string text = u"画像: 描けるフォントがないため、次の文字は正しく描かれていません: ";
  if (characters.size() > kShown) {
    const std::size_t cut = CutWithinCharacters(characters, kShown);
    text += characters.substr(0, cut) + u"…(ほか" +
            IntToText(static_cast<std::int32_t>(CountCharacters(characters.substr(cut)))) +
            u"文字)";
  } else {
    text += characters;
  }
  if (!faces.empty()) {
    text += u"\n  見つからないフォント: ";
    for (std::size_t i = 0; i < faces.size(); ++i) {
      text += (i == 0 ? u"" : u", ") + faces[i];
    }
    text += u"(日本語フォントをインストールしてください)";
  }
  return text;
}

std::u16string UnkeyedNote(const std::vector<std::u16string>& unkeyed) {
  std::u16string list;
  for (const auto& c : unkeyed) {
    list += (list.empty() ? u"" : u" ") + c;
  }
  return u"モールス符号がないため音声に含まれない文字: " + list;
}

std::u16string FolderProblem(const std::filesystem::path& tried, FolderMade made) {
  std::u16string problem = u"出力フォルダを作成できませんでした: " + PathText(tried);
  switch (made) {
    case FolderMade::kDenied:
      return problem + u"（書き込む権限がありません）";
    case FolderMade::kReadOnly:
      return problem + u"（読み取り専用の場所です）";
    case FolderMade::kNoSpace:
      return problem + u"（ディスクに空きがありません）";
    case FolderMade::kNoParent:
      return problem + u"（入れる先のフォルダがありません）";
    case FolderMade::kNameTaken:
      return problem + u"（同じ名前のものが多すぎます）";
    case FolderMade::kMade:
    case FolderMade::kFailed:
      break;
  }
  return problem;
}

}  // namespace hoshizora
