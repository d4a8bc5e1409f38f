#pragma once
// Whether what an encoder left is plausibly a whole MP3 of the audio it was
// given. The WAV is deleted on this judgement, so it errs towards "not whole":
// a false "not whole" costs disk space, a false "whole" costs the recording.

#include <cstdint>
#include <string_view>

namespace hoshizora {

enum class Mp3Verdict {
  kWhole,
  kNotMp3,       // no ID3v2 tag or MPEG audio frame where the stream must start
  kTruncated,    // the stream ends before its own header says it does
  kWrongLength,  // whole as far as can be seen, but not as long as the audio
};

// How many bytes from the file's start the check wants to see: the ID3v2 tag
// (when `head` shows one) and room for the first frames after it.
std::uint64_t Mp3HeadBytesWanted(std::string_view head);

// Judges an MP3 file from its first bytes (`head`, at least what
// Mp3HeadBytesWanted asks for, or the whole file when it is shorter) and its
// size, against the PCM audio it was made from. The stream's duration comes
// from the frame count of its Xing, Info or VBRI header when it has one
// (whose byte count also shows truncation), else from the first frame's
// bitrate as constant. Encoder delay and padding fall well inside the
// tolerance.
Mp3Verdict CheckMp3(std::string_view head, std::uint64_t file_size, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate);

}  // namespace hoshizora
