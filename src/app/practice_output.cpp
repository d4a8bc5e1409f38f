#include "app/practice_output.h"

#include "platform/paths.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {

std::filesystem::path PracticeKeyPath(const std::filesystem::path& folder) {
  return WithSuffix(folder / folder.filename(), u"_telegram.txt");
}

PracticeOutput RunPracticeOutput(const OutputRequest& request, System& system, Canvas& canvas,
                                 OutputSink& sink) {
  PracticeOutput out;
  out.report = RunOutput(request, system, canvas, sink);
  if (out.report.folder.empty()) {
    return out;
  }
  const std::filesystem::path key = PracticeKeyPath(out.report.folder);
  if (SaveTelegramFile(system, key, request.fields)) {
    out.key = key;
    out.report.written.push_back(key);
  } else {
    out.report.problems.push_back(u"答えの電報ファイルを書き込めませんでした: " + PathText(key));
    out.report.result = OutputReport::Result::kIncomplete;
  }
  return out;
}

}  // namespace hoshizora
