#include "platform/win32/command_line.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace hoshizora {
namespace {

// What Windows itself reads back from a command line.
std::vector<std::wstring> ParseLikeWindows(const std::wstring& line) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
  std::vector<std::wstring> args;
  if (argv == nullptr) {
    return args;
  }
  for (int i = 0; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  LocalFree(argv);
  return args;
}

TEST(CommandLine, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(QuoteCommandLineArgument(L"C:\\dir\\a.wav"), L"C:\\dir\\a.wav");
  EXPECT_EQ(QuoteCommandLineArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteCommandLineArgument(L"和文 電報.wav"), L"\"和文 電報.wav\"");
  EXPECT_EQ(QuoteCommandLineArgument(L"a\tb"), L"\"a\tb\"");
}

TEST(CommandLine, BackslashesDoubleOnlyBeforeAQuote) {
  EXPECT_EQ(QuoteCommandLineArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteCommandLineArgument(L"C:\\a b\\"), L"\"C:\\a b\\\\\"");
  EXPECT_EQ(QuoteCommandLineArgument(L"a\\\\\"b"), L"\"a\\\\\\\\\\\"b\"");
  EXPECT_EQ(QuoteCommandLineArgument(L"C:\\a b\\c"), L"\"C:\\a b\\c\"");
}

TEST(CommandLine, WindowsReadsEveryArgumentBack) {
  const std::vector<std::wstring> argv = {
      L"C:\\プログラム フォルダ\\lame.exe",
      L"C:\\和文電報_20240131_090507 x\\和文電報 x.wav",
      L"",
      L"trailing\\",
      L"blank and trailing\\\\",
      L"\"quoted\"",
      L"in\\\"side",
      L"\\\\server\\share\\a b",
      L"tab\there",
      L"plain",
  };
  EXPECT_EQ(ParseLikeWindows(BuildCommandLine(argv)), argv);
}

TEST(CommandLine, ProgramNameIsAlwaysQuoted) {
  EXPECT_EQ(BuildCommandLine({L"C:\\bin\\lame.exe", L"a b"}), L"\"C:\\bin\\lame.exe\" \"a b\"");
  EXPECT_EQ(BuildCommandLine({}), L"");
}

}  // namespace
}  // namespace hoshizora
