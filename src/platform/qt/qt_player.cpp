#include "platform/qt/qt_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <string_view>

#include "platform/wav_layout.h"

namespace hoshizora {
namespace {

// The sink's format for a PCM WAV's layout.
QAudioFormat FormatOf(const WavLayout& layout) {
  QAudioFormat format;
  format.setSampleRate(layout.sample_rate);
  format.setChannelCount(layout.channels);
  format.setSampleFormat(layout.bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  return format;
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
  const QByteArray head = file_.read(kWavHeadBytes);
  const auto layout =
      ReadWavLayout(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  // The samples run from the data chunk to the end: a WAV of ours ends with them.
  if (!layout || !file_.seek(static_cast<qint64>(layout->data_offset)) || device.isNull() ||
      !device.isFormatSupported(FormatOf(*layout))) {
    file_.close();
    return false;
  }
  sink_ = new QAudioSink(device, FormatOf(*layout), this);
  const int playback = ++playback_;
  connect(sink_, &QAudioSink::stateChanged, this, [this, playback](QAudio::State state) {
    // Idle at the end of the file: played. Stopped on its own: the output
    // failed. (Idle before the end is a moment's underrun.)
    if ((state == QAudio::IdleState && file_.atEnd()) || state == QAudio::StoppedState) {
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
