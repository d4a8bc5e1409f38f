#include "cli/cli_language.h"

#include <atomic>
#include <regex>
#include <utility>
#include <vector>

#include "base/utf8.h"

namespace hoshizora {
namespace {

std::atomic<CliLanguage> g_language{CliLanguage::kEnglish};

// The run's phrases and their English, most specific first: a phrase inside
// a longer one must come after it. $1, $2 stand for the numbers and names the
// run puts between its phrases.
const std::vector<std::pair<std::regex, std::string>>& Phrases() {
  static const std::vector<std::pair<std::regex, std::string>> phrases = [] {
    const std::vector<std::pair<const char*, const char*>> table = {
        // Progress steps.
        {"受信用紙 ([0-9]+)/([0-9]+) を作成中", "drawing form page $1/$2"},
        {"テキスト画像を作成中", "drawing the listing picture"},
        {"音声を書き込み、MP3に変換中", "writing the audio, converting it to MP3"},
        // The closing message.
        {"出力が完了しました。", "Output complete."},
        {"出力の一部に失敗しました。\n\n失敗:\n", "Part of the output failed.\n\nFailed:\n"},
        {"\n\n作成したファイル:\n", "\n\nFiles written:\n"},
        {"出力フォルダを作成できませんでした: ", "could not make the output folder "},
        {"（書き込む権限がありません）", " (permission denied)"},
        {"（読み取り専用の場所です）", " (read-only file system)"},
        {"（ディスクに空きがありません）", " (no space left on the drive)"},
        {"（入れる先のフォルダがありません）", " (the folder it goes in is missing or no folder)"},
        {"（同じ名前のものが多すぎます）", " (every name for it is taken)"},
        // Fields cut to what the window's boxes hold.
        {"文字数が長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)"
         "文字は使いませんでした。",
         "the count is too long: only its first $1 characters were used, the other $2 were not."},
        {"発信局が長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)"
         "文字は使いませんでした。",
         "the station is too long: only its first $1 characters were used, the other $2 were "
         "not."},
        {"番号が長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)文字は使いませんでした。",
         "the number is too long: only its first $1 characters were used, the other $2 were not."},
        {"時刻が長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)文字は使いませんでした。",
         "the time is too long: only its first $1 characters were used, the other $2 were not."},
        {"名あてが長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)"
         "文字は使いませんでした。",
         "the addressee is too long: only its first $1 characters were used, the other $2 were "
         "not."},
        {"本文が長すぎるため、先頭の([0-9]+)文字だけを使い、残りの([0-9]+)文字は使いませんでした。",
         "the body is too long: only its first $1 characters were used, the other $2 were not."},
        // The settings file.
        {"設定ファイルを読み込めなかったため、既定の設定を使います（このファイルは書き換えません）:"
         " ",
         "the settings file could not be read, so the default settings are used (the file is "
         "left as it is): "},
        // Audio.
        {"WAVファイルも残っていません。", " No WAV file is left either."},
        {"WAVファイルを残しました。", " The WAV file was kept."},
        {"音声: MP3エンコーダ\\(lame\\)を起動できませんでした。",
         "audio: the MP3 encoder (lame) could not be started."},
        {"音声: MP3エンコーダ\\(lame\\)の終了状態を確かめられませんでした。",
         "audio: the MP3 encoder's (lame) exit status could not be read."},
        {"音声: MP3エンコーダ\\(lame\\)が書いたMP3ファイルが不完全でした。",
         "audio: the MP3 file the encoder (lame) wrote was incomplete."},
        {"音声: MP3への変換に失敗しました\\(終了コード (-?[0-9]+)\\)。",
         "audio: the MP3 conversion failed (exit code $1)."},
        {"音声: MP3への変換を中止しました。", "audio: the MP3 conversion was cancelled."},
        {"音声: 中止したため作成しませんでした。", "audio: not written, the run was cancelled."},
        {"音声: 電報が長すぎてWAVファイルに収まりません。",
         "audio: the telegram is too long for a WAV file."},
        {"音声: WAVファイルを書き込めませんでした。", "audio: the WAV file could not be written."},
        {"モールス符号がないため音声に含まれない文字: ",
         "characters not in the audio, having no Morse code: "},
        // Pictures.
        {"テキスト画像: 中止したため作成しませんでした。",
         "listing picture: not written, the run was cancelled."},
        {"テキスト画像: JPEGエンコーダが見つかりませんでした。",
         "listing picture: no JPEG encoder was found."},
        {"テキスト画像: JPEGファイルを保存できませんでした。",
         "listing picture: the JPEG file could not be saved."},
        {"受信用紙: JPEGエンコーダが見つかりませんでした。",
         "form pages: no JPEG encoder was found."},
        {"受信用紙: テンプレート画像\\(和文電報受信用紙.jpg\\)が見つからないか、壊れています。",
         "form pages: the form template (和文電報受信用紙.jpg) is missing or damaged."},
        {"受信用紙: ([0-9]+)枚中([0-9]+)枚を保存できませんでした。",
         "form pages: $2 of $1 could not be saved."},
        {"受信用紙: 中止したため、([0-9]+)枚中([0-9]+)枚だけ作成しました。",
         "form pages: cancelled, only $2 of $1 were written."},
        {"本文が\\[ホレ\\]と\\[ラタ\\]の間にないため、受信用紙は作成しませんでした。",
         "no form pages: the body is not between [ホレ] and [ラタ]."},
        {"画像: 描けるフォントがないため、次の文字は正しく描かれていません: ",
         "pictures: no installed face can draw these characters, so they are not drawn "
         "correctly: "},
        {"…\\(ほか([0-9]+)文字\\)", "… (and $1 more)"},
        {"\n  見つからないフォント: ", "\n  missing faces: "},
        {"\\(日本語フォントをインストールしてください\\)", " (install Japanese fonts)"},
        {"JPEGエンコーダが見つかりません \\(GDI\\+\\)", "no JPEG encoder was found (GDI+)"},
        {"JPEG保存に失敗しました。", "the JPEG could not be saved."},
        {"テンプレ画像が見つかりません", "the form template is missing"},
        {"和文電報JPEGの保存に失敗しました。", "a form page JPEG could not be saved."},
        // Refusals of the tone and keying settings; the effective speed before
        // the speed its name ends with.
        {"周波数\\(Hz\\)は([0-9]+)から([0-9]+)までの数字で入力してください。",
         "the frequency (Hz) must be a number from $1 to $2."},
        {"実効速度\\(CPM\\)は([0-9]+)から([0-9]+)までの数字で入力してください。",
         "the effective speed (CPM) must be a number from $1 to $2."},
        {"速度\\(CPM\\)は([0-9]+)から([0-9]+)までの数字で入力してください。",
         "the speed (CPM) must be a number from $1 to $2."},
        {"立ち上がり\\(ms\\)は([0-9]+)から([0-9]+)までの数字で入力してください。",
         "the rise time (ms) must be a number from $1 to $2."},
        // Captions.
        {"^完了$", "complete"},
        {"^エラー$", "error"},
    };
    std::vector<std::pair<std::regex, std::string>> compiled;
    for (const auto& [japanese, english] : table) {
      compiled.emplace_back(std::regex(japanese), english);
    }
    return compiled;
  }();
  return phrases;
}

bool IsJapanese(const char* value) {
  return value[0] == 'j' && value[1] == 'a';
}

}  // namespace

CliLanguage LanguageFromLocale(const char* lc_all, const char* lc_messages, const char* lang) {
  for (const char* value : {lc_all, lc_messages, lang}) {
    if (value != nullptr && value[0] != '\0') {
      return IsJapanese(value) ? CliLanguage::kJapanese : CliLanguage::kEnglish;
    }
  }
  return CliLanguage::kEnglish;
}

void SetCliLanguage(CliLanguage language) {
  g_language = language;
}

CliLanguage CurrentCliLanguage() {
  return g_language;
}

std::string_view Say(std::string_view english, std::string_view japanese) {
  return g_language == CliLanguage::kJapanese ? japanese : english;
}

std::u16string RunTextInLanguage(std::u16string_view text) {
  if (g_language == CliLanguage::kJapanese) {
    return std::u16string(text);
  }
  std::string utf8 = EncodeUtf8(text);
  for (const auto& [phrase, english] : Phrases()) {
    utf8 = std::regex_replace(utf8, phrase, english);
  }
  return DecodeUtf8Lenient(utf8);
}

}  // namespace hoshizora
