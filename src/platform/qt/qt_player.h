#pragma once

#include <QFile>
#include <QObject>

#include "platform/player.h"

class QAudioSink;

namespace hoshizora {

// The Player port over Qt Multimedia's audio sink: the WAV's samples are
// streamed from the file to the default output, never read whole, so a long
// telegram costs no memory.
class QtPlayer : public QObject, public Player {
 public:
  explicit QtPlayer(QObject* parent = nullptr);
  ~QtPlayer() override;

  bool Play(const std::filesystem::path& wav) override;
  void Stop() override;
  void SetDoneHandler(DoneHandler handler) override { done_ = std::move(handler); }

 private:
  void Finish(int playback, bool played);

  QFile file_;
  QAudioSink* sink_ = nullptr;
  int playback_ = 0;  // counts the playbacks, so a late report of an old one is dropped
  DoneHandler done_;
};

}  // namespace hoshizora
