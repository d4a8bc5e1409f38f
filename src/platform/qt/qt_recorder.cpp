#include "platform/qt/qt_recorder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <QTimer>

namespace hoshizora {
namespace {

constexpr int kPreferredRate = 44100;

std::optional<InputSamples> KindOf(QAudioFormat::SampleFormat format) {
  switch (format) {
    case QAudioFormat::UInt8:
      return InputSamples::kUnsigned8;
    case QAudioFormat::Int16:
      return InputSamples::kSigned16;
    case QAudioFormat::Int32:
      return InputSamples::kSigned32;
    case QAudioFormat::Float:
      return InputSamples::kFloat32;
    default:
      return std::nullopt;
  }
}

}  // namespace

QtRecorder::QtRecorder(QObject* parent) : QObject(parent) {}

QtRecorder::~QtRecorder() {
  ended_ = nullptr;
  Close();
}

bool QtRecorder::Start() {
  Close();
  const QAudioDevice device = QMediaDevices::defaultAudioInput();
  if (device.isNull()) {
    return false;
  }
  QAudioFormat format;
  format.setSampleRate(kPreferredRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) {
    format = device.preferredFormat();
  }
  const auto kind = KindOf(format.sampleFormat());
  if (!kind || format.sampleRate() <= 0 || format.channelCount() <= 0) {
    return false;
  }
  kind_ = *kind;
  channels_ = format.channelCount();
  taken_ = Recording{format.sampleRate(), {}};
  partial_.clear();
  source_ = new QAudioSource(device, format, this);
  input_ = source_->start();
  if (input_ == nullptr || source_->error() != QAudio::NoError) {
    Close();
    return false;
  }
  const int recording = ++recording_;
  connect(input_, &QIODevice::readyRead, this, [this, recording] {
    if (!Take()) {
      // Not from inside the input's own signal: ending deletes it.
      QTimer::singleShot(0, this, [this, recording] { EndByItself(recording); });
    }
  });
  connect(source_, &QAudioSource::stateChanged, this, [this, recording](QAudio::State state) {
    if (state == QAudio::StoppedState && source_ != nullptr &&
        source_->error() != QAudio::NoError) {
      QTimer::singleShot(0, this, [this, recording] { EndByItself(recording); });
    }
  });
  return true;
}

bool QtRecorder::Take() {
  if (input_ == nullptr) {
    return true;
  }
  const QByteArray bytes = input_->readAll();
  return AppendInput(taken_, partial_,
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     kind_, channels_);
}

void QtRecorder::EndByItself(int recording) {
  if (source_ == nullptr || recording != recording_) {
    return;  // stopped meanwhile
  }
  source_->suspend();
  if (ended_) {
    ended_();
  }
}

std::optional<Recording> QtRecorder::Stop() {
  if (source_ == nullptr) {
    return std::nullopt;
  }
  Take();
  Close();
  Recording taken = std::move(taken_);
  taken_ = {};
  return taken;
}

void QtRecorder::Close() {
  if (source_ != nullptr) {
    source_->disconnect(this);
    if (input_ != nullptr) {
      input_->disconnect(this);
    }
    source_->stop();
    delete source_;
    source_ = nullptr;
    input_ = nullptr;
  }
}

}  // namespace hoshizora
