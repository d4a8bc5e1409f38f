// The manual page names every option the command line's help names, so that
// a new option cannot reach users undocumented.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/program_run.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

std::set<std::string> OptionsIn(const std::string& text) {
  static const std::regex option(R"(--[a-z][a-z-]*[a-z])");
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it) {
    found.insert(it->str());
  }
  return found;
}

TEST(CliManual, NamesEveryOptionTheHelpNames) {
  testing::TempDir dir;
  const testing::ProgramRun help =
      testing::RunProgram({HOSHIZORA_CLI, "--help"}, {"LANG=C.UTF-8"}, dir.path(), dir.path());
  ASSERT_EQ(help.status, 0) << help.err;
  const std::set<std::string> options = OptionsIn(help.out);
  ASSERT_GE(options.size(), 10u) << help.out;

  std::ifstream file(std::string(HOSHIZORA_SOURCE_DIR) + "/packaging/hoshizora-cli.1.in");
  std::stringstream page;
  page << file.rdbuf();
  // roff writes a hyphen that must stay a hyphen as "\-".
  const std::string manual = std::regex_replace(page.str(), std::regex(R"(\\-)"), "-");
  ASSERT_FALSE(manual.empty());
  for (const std::string& o : options) {
    EXPECT_NE(manual.find(o), std::string::npos) << o << " is in --help but not in the manual";
  }
}

}  // namespace
}  // namespace hoshizora
