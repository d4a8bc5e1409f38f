#include "platform/win32/whole_name.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hoshizora {
namespace {

// Fills the buffer as GetModuleFileNameW does for a name of that length:
// cut to the buffer (terminator included) and the buffer's size returned.
struct FakeModule {
  std::wstring name;
  std::vector<std::uint32_t> sizes_asked;

  std::uint32_t operator()(wchar_t* buffer, std::uint32_t size) {
    sizes_asked.push_back(size);
    const std::size_t fits = std::min<std::size_t>(name.size(), size - 1);
    name.copy(buffer, fits);
    buffer[fits] = L'\0';
    return name.size() < size ? static_cast<std::uint32_t>(name.size()) : size;
  }
};

TEST(WholeName, ShortNamesComeInOneRead) {
  FakeModule module{L"C:\\プログラム\\hoshizora.exe", {}};
  EXPECT_EQ(ReadWholeName(std::ref(module), 32768), module.name);
  EXPECT_EQ(module.sizes_asked, std::vector<std::uint32_t>{260});
}

TEST(WholeName, LongNamesGrowTheBufferUntilTheyFit) {
  FakeModule module{L"C:\\" + std::wstring(1000, L'深') + L"\\hoshizora.exe", {}};
  EXPECT_EQ(ReadWholeName(std::ref(module), 32768), module.name);
  EXPECT_EQ(module.sizes_asked, (std::vector<std::uint32_t>{260, 520, 1040}));

  // Exactly the buffer's size less the terminator still fits.
  FakeModule edge{std::wstring(259, L'x'), {}};
  EXPECT_EQ(ReadWholeName(std::ref(edge), 32768), edge.name);
  FakeModule over{std::wstring(260, L'x'), {}};
  EXPECT_EQ(ReadWholeName(std::ref(over), 32768), over.name);
  EXPECT_EQ(over.sizes_asked, (std::vector<std::uint32_t>{260, 520}));
}

TEST(WholeName, WhatNeverFitsIsRefusedNotCut) {
  FakeModule module{std::wstring(40000, L'x'), {}};
  EXPECT_EQ(ReadWholeName(std::ref(module), 32768), L"");
  EXPECT_EQ(module.sizes_asked.back(), 32768u);

  EXPECT_EQ(ReadWholeName([](wchar_t*, std::uint32_t) { return 0u; }, 32768), L"")
      << "a failed read";
}

}  // namespace
}  // namespace hoshizora
