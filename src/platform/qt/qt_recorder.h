#pragma once

#include <QObject>
#include <string>

#include "platform/recorder.h"

class QAudioSource;
class QIODevice;

namespace hoshizora {

// The Recorder port over Qt Multimedia's audio source: the default input, in
// mono 16-bit when it offers that, else in its own format, mixed down.
class QtRecorder : public QObject, public Recorder {
 public:
  explicit QtRecorder(QObject* parent = nullptr);
  ~QtRecorder() override;

  bool Start() override;
  std::optional<Recording> Stop() override;
  void SetEndedHandler(EndedHandler handler) override { ended_ = std::move(handler); }

 private:
  // Takes what the input has; false once the recording is full.
  bool Take();
  void Close();
  void EndByItself(int recording);

  QAudioSource* source_ = nullptr;
  QIODevice* input_ = nullptr;
  InputSamples kind_ = InputSamples::kSigned16;
  int channels_ = 1;
  Recording taken_;
  std::string partial_;
  int recording_ = 0;  // counts the recordings, so a late report of an old one is dropped
  EndedHandler ended_;
};

}  // namespace hoshizora
