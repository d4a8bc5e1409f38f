#include "app/program_folders.h"

#include <gtest/gtest.h>

#include <set>

#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFileBytes;

const fs::path kTemplate = fs::path(u"和文電報受信用紙.jpg");

// A user's machine under a temporary folder: a home, and a program folder
// that holds the executable and maybe its side files. Existence is asked of
// the real file system; writability is the test's to say, since a test run
// as root could write anywhere.
class ProgramFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home_);
    env_.home = home_;
    env_.exists = [](const fs::path& path) { return fs::exists(path); };
    env_.folder_writable = [this](const fs::path& folder) { return writable_.contains(folder); };
  }

  fs::path ProgramFolder(const fs::path& folder, bool with_template, bool writable) {
    fs::create_directories(folder);
    if (with_template) {
      WriteFileBytes(folder / kTemplate, "jpeg");
    }
    if (writable) {
      writable_.insert(folder);
    }
    return folder;
  }

  TempDir root_;
  const fs::path home_ = root_.path() / "home" / "user";
  std::set<fs::path> writable_;
  ProgramEnvironment env_;
};

TEST_F(ProgramFoldersTest, WritableCopyWithTemplateKeepsEverythingBesideTheExecutable) {
  const fs::path program = ProgramFolder(home_ / "hoshizora", true, true);
  env_.config_home = home_ / "config";
  env_.documents = home_ / "docs";

  const ProgramFolders folders = DecideProgramFolders(program, env_);
  EXPECT_EQ(folders.mode, ProgramMode::kPortable);
  EXPECT_EQ(folders.settings_file, program / "settings.ini");
  EXPECT_EQ(folders.history_file, program / "history.csv");
  EXPECT_EQ(folders.output_root_window, program);
  EXPECT_EQ(folders.output_root_cli, program);
  EXPECT_EQ(folders.data_folder, program);
  EXPECT_EQ(folders.encoder_folder, program);
}

TEST_F(ProgramFoldersTest, SystemPrefixIsInstalledAndWritesOnlyIntoTheHome) {
  // /usr/bin holds no template: installed even where the folder is writable
  // (root running the packaged program).
  const fs::path usr = root_.path() / "usr";
  for (bool writable : {false, true}) {
    const fs::path bin = ProgramFolder(usr / "bin", false, writable);
    ProgramFolder(usr / "share" / "hoshizora", true, false);
    env_.config_home = home_ / "cfg";
    env_.documents = home_ / "書類";

    const ProgramFolders folders = DecideProgramFolders(bin, env_);
    EXPECT_EQ(folders.mode, ProgramMode::kInstalled);
    EXPECT_EQ(folders.settings_file, home_ / "cfg" / "hoshizora" / "settings.ini");
    EXPECT_EQ(folders.output_root_window, home_ / "書類" / "Hoshizora");
    EXPECT_TRUE(folders.output_root_cli.empty());
    EXPECT_EQ(folders.data_folder, usr / "share" / "hoshizora");
    EXPECT_EQ(folders.encoder_folder, bin);
    // A trailing separator names the same folder.
    EXPECT_EQ(DecideProgramFolders(bin / "", env_).data_folder, usr / "share" / "hoshizora");
  }
}

TEST_F(ProgramFoldersTest, ReadOnlyCopyWithTemplateReadsItsSideFilesInPlace) {
  const fs::path program = ProgramFolder(root_.path() / "Program Files" / "Hoshizora", true, false);
  const ProgramFolders folders = DecideProgramFolders(program, env_);
  EXPECT_EQ(folders.mode, ProgramMode::kInstalled);
  EXPECT_EQ(folders.data_folder, program);
  EXPECT_EQ(folders.encoder_folder, program);
  EXPECT_NE(folders.output_root_window, program);
  EXPECT_NE(folders.settings_file.parent_path(), program);
}

TEST_F(ProgramFoldersTest, ConfigFolderFallsBackToDotConfigWhenUnsetOrRelative) {
  const fs::path bin = ProgramFolder(root_.path() / "usr" / "bin", false, false);
  for (const fs::path& config : {fs::path(), fs::path("relative/config")}) {
    env_.config_home = config;
    EXPECT_EQ(DecideProgramFolders(bin, env_).settings_file,
              home_ / ".config" / "hoshizora" / "settings.ini")
        << config;
  }
}

TEST_F(ProgramFoldersTest, InstalledHistoryGoesToTheDataFolderOnLinuxAndBesideSettingsOnWindows) {
  const fs::path bin = ProgramFolder(root_.path() / "usr" / "bin", false, false);
  env_.config_home = home_ / "cfg";
  struct Case {
    fs::path data_home;
    fs::path expected;
  };
  const Case cases[] = {
      {home_ / "data", home_ / "data" / "hoshizora" / "history.csv"},
      {fs::path(), home_ / ".local" / "share" / "hoshizora" / "history.csv"},
      {fs::path("relative"), home_ / ".local" / "share" / "hoshizora" / "history.csv"},
  };
  for (const Case& c : cases) {
    env_.data_home = c.data_home;
    EXPECT_EQ(DecideProgramFolders(bin, env_).history_file, c.expected) << c.data_home;
  }
  env_.home.clear();
  env_.data_home.clear();
  EXPECT_TRUE(DecideProgramFolders(bin, env_).history_file.empty());

  env_.convention = ProgramEnvironment::Convention::kWindows;
  env_.home = home_;
  env_.config_home = home_ / "AppData" / "Roaming";
  env_.data_home = home_ / "ignored";
  EXPECT_EQ(DecideProgramFolders(bin, env_).history_file,
            home_ / "AppData" / "Roaming" / "Hoshizora" / "history.csv");
}

TEST_F(ProgramFoldersTest, DocumentsComeFromUserDirsElseDocumentsElseHome) {
  const fs::path bin = ProgramFolder(root_.path() / "usr" / "bin", false, false);

  env_.documents = home_ / "Dokumente";
  EXPECT_EQ(DecideProgramFolders(bin, env_).output_root_window, home_ / "Dokumente" / "Hoshizora");

  env_.documents = fs::path("Dokumente");  // relative: not a usable answer
  EXPECT_EQ(DecideProgramFolders(bin, env_).output_root_window, home_ / "Hoshizora");

  env_.documents.clear();
  fs::create_directories(home_ / "Documents");
  EXPECT_EQ(DecideProgramFolders(bin, env_).output_root_window, home_ / "Documents" / "Hoshizora");

  // xdg-user-dir answers the home itself when no documents folder is set up.
  for (const fs::path& home_answer : {home_, home_ / ""}) {
    env_.documents = home_answer;
    EXPECT_EQ(DecideProgramFolders(bin, env_).output_root_window,
              home_ / "Documents" / "Hoshizora");
  }
}

TEST_F(ProgramFoldersTest, InstalledWithoutHomeKeepsNoSettingsAndNoWindowFolder) {
  const fs::path bin = ProgramFolder(root_.path() / "usr" / "bin", false, false);
  env_.home = fs::path("not/absolute");
  const ProgramFolders folders = DecideProgramFolders(bin, env_);
  EXPECT_EQ(folders.mode, ProgramMode::kInstalled);
  EXPECT_TRUE(folders.settings_file.empty());
  EXPECT_TRUE(folders.output_root_window.empty());
  EXPECT_TRUE(folders.output_root_cli.empty());

  // A config folder alone is still enough for the settings.
  env_.config_home = root_.path() / "cfg";
  EXPECT_EQ(DecideProgramFolders(bin, env_).settings_file,
            root_.path() / "cfg" / "hoshizora" / "settings.ini");
}

TEST_F(ProgramFoldersTest, WindowsConventionUsesAppDataAndKnownDocuments) {
  env_.convention = ProgramEnvironment::Convention::kWindows;
  const fs::path program = ProgramFolder(root_.path() / "Program Files" / "Hoshizora", true, false);

  env_.config_home = home_ / "AppData" / "Roaming";
  env_.documents = home_ / "OneDrive" / "Documents";
  ProgramFolders folders = DecideProgramFolders(program, env_);
  EXPECT_EQ(folders.settings_file, home_ / "AppData" / "Roaming" / "Hoshizora" / "settings.ini");
  EXPECT_EQ(folders.output_root_window, home_ / "OneDrive" / "Documents" / "Hoshizora");

  env_.config_home.clear();
  env_.documents.clear();
  folders = DecideProgramFolders(program, env_);
  EXPECT_EQ(folders.settings_file, home_ / "AppData" / "Roaming" / "Hoshizora" / "settings.ini");
  EXPECT_EQ(folders.output_root_window, home_ / "Hoshizora");

  // A portable copy on Windows behaves as on Linux.
  writable_.insert(program);
  EXPECT_EQ(DecideProgramFolders(program, env_).settings_file, program / "settings.ini");
}

TEST_F(ProgramFoldersTest, UnansweredChecksCountAsInstalled) {
  const fs::path program = ProgramFolder(home_ / "hoshizora", true, true);
  env_.folder_writable = nullptr;
  EXPECT_EQ(DecideProgramFolders(program, env_).mode, ProgramMode::kInstalled);
}

}  // namespace
}  // namespace hoshizora
