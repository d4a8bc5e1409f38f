#pragma once
// Whether a WAV the writer made is still all there after another program
// had it: an encoder may delete its input, cut it short or empty it.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/system.h"

namespace hoshizora {

// Whether `header` (the file's first 44 bytes) and `file_size` are those of
// WriteMorseWav's file of `samples` samples: the RIFF and data sizes agree
// with the file's size and the data holds every sample.
bool WavHeaderIsWhole(std::string_view header, std::uint64_t file_size, std::uint64_t samples);

// The same for the file at `path`.
bool WavIsWhole(System& system, const std::filesystem::path& path, std::uint64_t samples);

}  // namespace hoshizora
