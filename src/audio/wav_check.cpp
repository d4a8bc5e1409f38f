#include "audio/wav_check.h"

#include "audio/wav_writer.h"

namespace hoshizora {
namespace {

constexpr std::size_t kHeaderBytes = 44;

std::uint32_t ReadLe(std::string_view data, std::size_t at, std::size_t n) {
  std::uint32_t v = 0;
  for (std::size_t i = n; i-- > 0;) {
    v = (v << 8) | static_cast<std::uint8_t>(data[at + i]);
  }
  return v;
}

}  // namespace

bool WavHeaderIsWhole(std::string_view header, std::uint64_t file_size, std::uint64_t samples) {
  const std::uint64_t data_bytes = samples * 2;
  if (header.size() < kHeaderBytes || file_size != kHeaderBytes + data_bytes) {
    return false;
  }
  return header.substr(0, 4) == "RIFF" && ReadLe(header, 4, 4) == file_size - 8 &&
         header.substr(8, 8) == "WAVEfmt " && ReadLe(header, 16, 4) == 16 &&
         ReadLe(header, 20, 2) == 1 && ReadLe(header, 22, 2) == 1 &&
         ReadLe(header, 24, 4) == static_cast<std::uint32_t>(kSampleRate) &&
         ReadLe(header, 28, 4) == static_cast<std::uint32_t>(kSampleRate) * 2 &&
         ReadLe(header, 32, 2) == 2 && ReadLe(header, 34, 2) == 16 &&
         header.substr(36, 4) == "data" && ReadLe(header, 40, 4) == data_bytes;
}

bool WavIsWhole(System& system, const std::filesystem::path& path, std::uint64_t samples) {
  const auto size = system.FileSize(path);
  if (!size) {
    return false;
  }
  const FileRead head = system.ReadFilePart(path, 0, kHeaderBytes);
  return head.status == FileRead::Status::kRead && WavHeaderIsWhole(head.bytes, *size, samples);
}

}  // namespace hoshizora
