// A stand-in for the MP3 encoder, started by tests the way the audio step
// starts the real one: `lame IN.wav OUT.mp3`. What it does is read from a
// file beside it named like itself with the extension ".mode" (so a copy
// named lame.exe reads lame.mode), or from HOSHIZORA_STAND_IN when that is set:
//   mp3      check that IN is a WAV file and write an MP3-looking OUT (default)
//   args     check that IN exists, write its own path and arguments into OUT,
//            one UTF-8 line each
//   mp3 args as mp3, and write those lines into a file beside the stand-in
//            with the extension ".args"
//   junk     leave a few bytes that are no MP3 in OUT and exit 0
//   lose N   delete IN, write nothing and exit N
//   blank N  empty IN, write nothing and exit N
//   halve N  cut IN to half its length, write nothing and exit N
//   xing     write one MP3 frame whose Xing header claims as many frames as
//            the WAV needs into OUT and exit 0
//   empty    leave an empty OUT and exit 0
//   partial  leave a few bytes in OUT and exit 1
//   exit N   write nothing and exit N
//   hang     never end on its own; adds a byte to OUT every 50 ms, so a test
//            can see that it has really stopped

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadMode(const fs::path& self) {
  if (const char* env = std::getenv("HOSHIZORA_STAND_IN"); env != nullptr && *env != '\0') {
    return env;
  }
  fs::path mode_file = self;
  mode_file.replace_extension(".mode");
  std::ifstream in(mode_file, std::ios::binary);
  std::string mode;
  std::getline(in, mode);
  while (!mode.empty() && (mode.back() == '\r' || mode.back() == ' ')) {
    mode.pop_back();
  }
  return mode.empty() ? "mp3" : mode;
}

std::uint32_t ReadLe32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return v;
}

// An ID3v2.4 tag with no frames, then one silent MPEG-1 Layer III frame
// (128 kbit/s, 44100 Hz, mono: 417 bytes) per 1152 samples of the WAV.
std::string FakeMp3(std::uint32_t wav_data_bytes) {
  std::string mp3("ID3\x04\x00\x00\x00\x00\x00\x00", 10);
  const std::uint32_t samples = wav_data_bytes / 2;
  const std::uint32_t frames = samples / 1152 + 1;
  std::string frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  frame[3] = '\xC4';
  for (std::uint32_t i = 0; i < frames; ++i) {
    mp3 += frame;
  }
  return mp3;
}

// One 128 kbit/s frame whose Xing header claims what FakeMp3 would write.
std::string LyingMp3(std::uint32_t wav_data_bytes) {
  std::string frame = FakeMp3(0).substr(10, 417);
  const std::uint32_t frames = wav_data_bytes / 2 / 1152 + 1;
  std::string note("Xing\0\0\0\1", 8);
  for (int shift = 24; shift >= 0; shift -= 8) {
    note += static_cast<char>(frames >> shift);
  }
  return frame.replace(4 + 17, note.size(), note);
}

int Encode(const std::vector<fs::path>& args, bool lying = false) {
  if (args.size() < 2) {
    return 2;
  }
  std::ifstream in(args[args.size() - 2], std::ios::binary);
  const std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (wav.size() < 44 || wav.compare(0, 4, "RIFF") != 0 || wav.compare(8, 4, "WAVE") != 0) {
    return 3;
  }
  std::ofstream out(args.back(), std::ios::binary | std::ios::trunc);
  out << (lying ? LyingMp3(ReadLe32(wav, 40)) : FakeMp3(ReadLe32(wav, 40)));
  return out.flush() ? 0 : 4;
}

int WriteArguments(const fs::path& self, const std::vector<fs::path>& args, const fs::path& to) {
  if (args.size() < 2) {
    return 2;
  }
  if (!fs::exists(args[args.size() - 2])) {
    return 3;
  }
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  const auto line = [&](const fs::path& p) {
    const std::u8string utf8 = p.u8string();
    out << std::string(utf8.begin(), utf8.end()) << '\n';
  };
  line(self);
  for (const auto& a : args) {
    line(a);
  }
  return out.flush() ? 0 : 4;
}

int Run(const fs::path& self, const std::vector<fs::path>& args) {
  const std::string mode = ReadMode(self);
  if (mode == "mp3") {
    return Encode(args);
  }
  if (mode == "args") {
    return WriteArguments(self, args, args.empty() ? fs::path() : args.back());
  }
  if (mode == "mp3 args") {
    fs::path lines = self;
    lines.replace_extension(".args");
    const int status = WriteArguments(self, args, lines);
    return status != 0 ? status : Encode(args);
  }
  if (mode == "junk") {
    if (!args.empty()) {
      std::ofstream(args.back(), std::ios::binary | std::ios::trunc) << "junk\n";
    }
    return 0;
  }
  if (mode.rfind("lose ", 0) == 0) {
    if (args.size() >= 2) {
      std::error_code ignored;
      fs::remove(args[args.size() - 2], ignored);
    }
    return std::atoi(mode.c_str() + 5);
  }
  if (mode.rfind("blank ", 0) == 0 || mode.rfind("halve ", 0) == 0) {
    if (args.size() >= 2) {
      std::error_code ignored;
      const fs::path& in = args[args.size() - 2];
      const std::uintmax_t size = fs::file_size(in, ignored);
      fs::resize_file(in, mode[0] == 'b' ? 0 : size / 2, ignored);
    }
    return std::atoi(mode.c_str() + 6);
  }
  if (mode == "xing") {
    return Encode(args, true);
  }
  if (mode == "empty" || mode == "partial") {
    std::ofstream out;
    if (!args.empty()) {
      out.open(args.back(), std::ios::binary | std::ios::trunc);
    }
    out << (mode == "partial" ? "partial" : "");
    return mode == "partial" ? 1 : 0;
  }
  if (mode.rfind("exit ", 0) == 0) {
    return std::atoi(mode.c_str() + 5);
  }
  if (mode == "hang") {
    for (;;) {
      if (!args.empty()) {
        std::ofstream(args.back(), std::ios::binary | std::ios::app) << '.';
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  return 125;
}

}  // namespace

// Arguments as the system gives them: UTF-16 on Windows, bytes elsewhere.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
  std::vector<fs::path> args;
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  return Run(fs::path(argv[0]), args);
}
