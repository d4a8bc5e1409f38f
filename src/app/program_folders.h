#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace hoshizora {

class System;

// Portable: the program folder is the user's own copy, and everything lives
// beside the executable. Installed: the program folder belongs to the system
// and nothing is written under it.
enum class ProgramMode { kPortable, kInstalled };

// What the decision needs to know of the user's system, gathered by the
// platform layer (or made up by a test).
struct ProgramEnvironment {
  // Where per-user folders follow: XDG on Linux, the known folders on Windows.
  enum class Convention { kXdg, kWindows };
  Convention convention = Convention::kXdg;
  // $HOME, or %USERPROFILE% on Windows; empty when unset.
  std::filesystem::path home{};
  // $XDG_CONFIG_HOME, or %APPDATA% on Windows; empty when unset.
  std::filesystem::path config_home{};
  // $XDG_DATA_HOME; empty when unset. Windows keeps data beside the settings.
  std::filesystem::path data_home{};
  // What `xdg-user-dir DOCUMENTS` printed, or the Documents known folder;
  // empty when it could not be asked.
  std::filesystem::path documents{};
  std::function<bool(const std::filesystem::path& folder)> folder_writable{};
  std::function<bool(const std::filesystem::path& path)> exists{};
};

struct ProgramFolders {
  ProgramMode mode = ProgramMode::kPortable;
  // Empty when no home folder is known: the settings are then not kept.
  std::filesystem::path settings_file;
  // Where the window makes its output folders. Empty when installed and no
  // home folder is known: the window must refuse rather than write into the
  // program folder.
  std::filesystem::path output_root_window;
  // Where the command line makes them without --out; empty means the current
  // directory.
  std::filesystem::path output_root_cli;
  // The practice history: beside the settings when portable or on Windows,
  // in the user's data folder ($XDG_DATA_HOME) when installed on Linux.
  // Empty when no home folder is known: nothing is then recorded.
  std::filesystem::path history_file;
  // The read-only side files: the form template and app.ico.
  std::filesystem::path data_folder;
  // The encoder is only ever taken from beside the executable.
  std::filesystem::path encoder_folder;
};

ProgramFolders DecideProgramFolders(const std::filesystem::path& executable_folder,
                                    const ProgramEnvironment& env);

// What each program's main decides at start: the folders of the executable
// `system` runs, with `env` as its platform sees it (`exists` asks `system`).
ProgramFolders DecideProgramFolders(System& system, ProgramEnvironment env);

// Everything beside the executable: what a portable copy uses.
ProgramFolders PortableFolders(const std::filesystem::path& executable_folder);

// The folders a command works with: `decided` at start, else a portable
// copy's beside the executable (a command run without a main, in tests).
ProgramFolders DecidedOrPortable(const std::optional<ProgramFolders>& decided, System& system);

}  // namespace hoshizora
