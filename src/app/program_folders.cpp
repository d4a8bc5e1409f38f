#include "app/program_folders.h"

#include <string>

#include "imaging/drawing_helpers.h"
#include "platform/system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHistoryFileName = "history.csv";

// A folder named by the environment counts only when absolute: a relative
// one would depend on where the program happened to be started.
fs::path Usable(const fs::path& folder) {
  return folder.is_absolute() ? folder : fs::path();
}

bool Ask(const std::function<bool(const fs::path&)>& check, const fs::path& path) {
  return check && check(path);
}

fs::path SettingsFile(const ProgramEnvironment& env, const fs::path& home) {
  const bool windows = env.convention == ProgramEnvironment::Convention::kWindows;
  fs::path config = Usable(env.config_home);
  if (config.empty()) {
    if (home.empty()) {
      return {};
    }
    config = windows ? home / "AppData" / "Roaming" : home / ".config";
  }
  return config / (windows ? "Hoshizora" : "hoshizora") / "settings.ini";
}

// A record of the user's own practice is data, not configuration: on Linux
// it goes where XDG puts data, and is not lost with a reset configuration.
fs::path HistoryFile(const ProgramEnvironment& env, const fs::path& home,
                     const fs::path& settings_file) {
  if (env.convention == ProgramEnvironment::Convention::kWindows) {
    return settings_file.empty() ? fs::path() : settings_file.parent_path() / kHistoryFileName;
  }
  fs::path data = Usable(env.data_home);
  if (data.empty()) {
    if (home.empty()) {
      return {};
    }
    data = home / ".local" / "share";
  }
  return data / "hoshizora" / kHistoryFileName;
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  return (a / "").lexically_normal() == (b / "").lexically_normal();
}

fs::path WindowOutputRoot(const ProgramEnvironment& env, const fs::path& home) {
  fs::path documents = Usable(env.documents);
  // xdg-user-dir names the home itself when no documents folder is set up:
  // that is no answer, so ~/Documents still comes first.
  if (!home.empty() && SameFolder(documents, home)) {
    documents.clear();
  }
  if (documents.empty() && !home.empty()) {
    documents = Ask(env.exists, home / "Documents") ? home / "Documents" : home;
  }
  return documents.empty() ? fs::path() : documents / "Hoshizora";
}

// "/usr" for "/usr/bin" and for "/usr/bin/".
fs::path Prefix(const fs::path& executable_folder) {
  const fs::path folder =
      executable_folder.has_filename() ? executable_folder : executable_folder.parent_path();
  return folder.parent_path();
}

}  // namespace

ProgramFolders DecideProgramFolders(const fs::path& executable_folder,
                                    const ProgramEnvironment& env) {
  const bool holds_template =
      Ask(env.exists, executable_folder / fs::path(std::u16string(kFormTemplateName)));

  if (holds_template && Ask(env.folder_writable, executable_folder)) {
    return PortableFolders(executable_folder);
  }

  const fs::path home = Usable(env.home);
  ProgramFolders folders;
  folders.mode = ProgramMode::kInstalled;
  folders.encoder_folder = executable_folder;
  folders.settings_file = SettingsFile(env, home);
  folders.history_file = HistoryFile(env, home, folders.settings_file);
  folders.output_root_window = WindowOutputRoot(env, home);
  // A read-only copy that still carries its side files (a Windows program
  // folder) reads them in place; a Unix prefix keeps them under share/.
  folders.data_folder =
      holds_template ? executable_folder : Prefix(executable_folder) / "share" / "hoshizora";
  return folders;
}

ProgramFolders DecideProgramFolders(System& system, ProgramEnvironment env) {
  env.exists = [&system](const fs::path& path) { return system.PathExists(path); };
  return DecideProgramFolders(ExecutableFolder(system), env);
}

ProgramFolders DecidedOrPortable(const std::optional<ProgramFolders>& decided, System& system) {
  return decided ? *decided : PortableFolders(ExecutableFolder(system));
}

ProgramFolders PortableFolders(const fs::path& executable_folder) {
  ProgramFolders folders;
  folders.mode = ProgramMode::kPortable;
  folders.settings_file = executable_folder / "settings.ini";
  folders.history_file = executable_folder / kHistoryFileName;
  folders.output_root_window = executable_folder;
  folders.output_root_cli = executable_folder;
  folders.data_folder = executable_folder;
  folders.encoder_folder = executable_folder;
  return folders;
}

}  // namespace hoshizora
