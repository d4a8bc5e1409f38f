#include "history/history_file.h"

#include <string>

namespace hoshizora {

HistoryRead ReadHistory(System& system, const std::filesystem::path& path) {
  HistoryRead read;
  if (path.empty()) {
    return read;
  }
  const FileRead file = system.ReadFile(path, kLargestHistoryFile);
  if (file.status == FileRead::Status::kMissing) {
    return read;
  }
  if (file.status != FileRead::Status::kRead) {
    read.status = HistoryRead::Status::kUnreadable;
    return read;
  }
  HistoryParse parse = ParseHistoryFile(file.bytes);
  read.status = HistoryRead::Status::kRead;
  read.records = std::move(parse.records);
  read.skipped = parse.skipped;
  return read;
}

HistoryAppend AppendHistory(System& system, const std::filesystem::path& path,
                            const HistoryRecord& record, std::size_t bound) {
  HistoryAppend outcome;
  if (path.empty() || bound == 0 || !CreateFolders(system, path.parent_path())) {
    return outcome;
  }
  const FileRead file = system.ReadFile(path, kLargestHistoryFile);
  if (file.status != FileRead::Status::kRead && file.status != FileRead::Status::kMissing) {
    return outcome;
  }
  HistoryParse parse = ParseHistoryFile(file.bytes);
  outcome.skipped = parse.skipped;

  const std::string line = FormatHistoryLine(record);
  if (parse.records.size() < bound) {
    std::string bytes;
    if (file.bytes.empty()) {
      bytes = std::string(kHistoryHeader) + "\n";
    } else if (!parse.ends_with_line_feed) {
      bytes = "\n";
    }
    bytes += line;
    if (system.AppendFile(path, bytes)) {
      outcome.result = HistoryAppend::Result::kAppended;
    }
    return outcome;
  }
  std::string bytes = std::string(kHistoryHeader) + "\n";
  for (std::size_t i = parse.records.size() - (bound - 1); i < parse.records.size(); ++i) {
    bytes += FormatHistoryLine(parse.records[i]);
  }
  bytes += line;
  if (system.ReplaceFile(path, bytes)) {
    outcome.result = HistoryAppend::Result::kRewritten;
  }
  return outcome;
}

}  // namespace hoshizora
