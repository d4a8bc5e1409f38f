#include "platform/qt/qt_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string_view>

#include "base/little_endian.h"

namespace hoshizora {
namespace {

struct PcmLayout {
  QAudioFormat format;
  qint64 data_offset = 0;
};

// The format and the data chunk of a PCM WAV, from its chunks; nothing for
// anything else. Only 8- and 16-bit PCM, as the audio output takes them.
std::optional<PcmLayout> ReadPcmLayout(QFile& file) {
  const QByteArray head = file.read(12);
  if (head.size() != 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
    return std::nullopt;
  }
  std::optional<QAudioFormat> format;
  // A few chunks at most come before the data; a crafted file cannot loop.
  for (int chunk = 0; chunk < 64; ++chunk) {
    const QByteArray header = file.read(8);
    if (header.size() != 8) {
      return std::nullopt;
    }
    const qint64 size = ReadLe(std::string_view(header.constData(), 8), 4, 4);
    const qint64 next = file.pos() + size + (size & 1);
    if (header.startsWith("fmt ")) {
      const QByteArray read = file.read(std::min<qint64>(size, 16));
      if (read.size() < 16) {
        return std::nullopt;
      }
      const std::string_view fmt(read.constData(), 16);
      const auto tag = ReadLe(fmt, 0, 2);
      const auto channels = static_cast<int>(ReadLe(fmt, 2, 2));
      const auto rate = static_cast<int>(ReadLe(fmt, 4, 4));
      const auto bits = ReadLe(fmt, 14, 2);
      if (tag != 1 || channels < 1 || channels > 2 || rate <= 0 || (bits != 8 && bits != 16)) {
        return std::nullopt;
      }
      QAudioFormat f;
      f.setSampleRate(rate);
      f.setChannelCount(channels);
      f.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
      format = f;
      if (!file.seek(next)) {
        return std::nullopt;
      }
    } else if (header.startsWith("data")) {
      if (!format) {
        return std::nullopt;
      }
      // The samples run from here; a WAV of ours ends with them.
      return PcmLayout{*format, file.pos()};
    } else if (!file.seek(next)) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

QtPlayer::QtPlayer(QObject* parent) : QObject(parent) {}

QtPlayer::~QtPlayer() {
  done_ = nullptr;
  Stop();
}

bool QtPlayer::Play(const std::filesystem::path& wav) {
  Stop();
  file_.setFileName(QFile::decodeName(wav.native().c_str()));
  if (!file_.open(QIODevice::ReadOnly)) {
    return false;
  }
  const auto layout = ReadPcmLayout(file_);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (!layout || device.isNull() || !device.isFormatSupported(layout->format)) {
    file_.close();
    return false;
  }
  sink_ = new QAudioSink(device, layout->format, this);
  const int playback = ++playback_;
  connect(sink_, &QAudioSink::stateChanged, this, [this, playback](QAudio::State state) {
    // Idle: the file ran out of samples. Stopped on its own: the output failed.
    if (state == QAudio::IdleState || state == QAudio::StoppedState) {
      const bool played = sink_->error() == QAudio::NoError;
      // Not from inside the sink's own signal: Finish deletes it.
      QTimer::singleShot(0, this, [this, playback, played] { Finish(playback, played); });
    }
  });
  sink_->start(&file_);
  if (sink_->error() != QAudio::NoError) {
    Stop();
    return false;
  }
  return true;
}

void QtPlayer::Finish(int playback, bool played) {
  if (sink_ == nullptr || playback != playback_) {
    return;  // stopped meanwhile, or another playback started
  }
  Stop();
  if (done_) {
    done_(played);
  }
}

void QtPlayer::Stop() {
  if (sink_ != nullptr) {
    sink_->disconnect(this);
    sink_->stop();
    delete sink_;
    sink_ = nullptr;
  }
  file_.close();
}

}  // namespace hoshizora
