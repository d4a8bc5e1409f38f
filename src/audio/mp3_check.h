#pragma once
// Whether what an encoder left is a whole MP3 of the audio it was given. The
// WAV is deleted on this judgement, so it errs towards "not whole": a false
// "not whole" costs disk space, a false "whole" costs the recording.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hoshizora {

enum class Mp3Verdict {
  kWhole,
  kNotMp3,       // no ID3v2 tag or MPEG audio frame where the stream must start
  kTruncated,    // a frame (or the ID3v2 tag) runs past the end of the file
  kBroken,       // where a frame ends, neither a frame of the same stream nor a closing
                 // tag follows; or a Xing, Info or VBRI count the frames do not bear out
  kWrongLength,  // a whole stream, but not as long as the audio
  kUnreadable,   // the file could not be read to its end
};

// Up to `length` bytes of the file from `offset`; fewer only where the file
// ends. nullopt when the file cannot be read.
using Mp3Reader =
    std::function<std::optional<std::string>(std::uint64_t offset, std::size_t length)>;

// Walks the MP3's frames from the first one (after an ID3v2 tag, if any) to
// the end of the file, in one pass over `file_size` bytes: each frame must
// start where the previous one ends, all of one stream, and only an APE tag
// and an ID3v1 tag may follow the last one. Its duration is the audio frames
// times the samples a frame holds, held against the PCM audio it was made
// from (`pcm_samples` at `pcm_sample_rate`) within an encoder's delay and
// padding. A Xing, Info or VBRI header is a frame without audio; its counts
// must agree with the walk.
Mp3Verdict CheckMp3(const Mp3Reader& read, std::uint64_t file_size, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate);

// The same over a file held in memory.
Mp3Verdict CheckMp3(std::string_view file, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate);

}  // namespace hoshizora
