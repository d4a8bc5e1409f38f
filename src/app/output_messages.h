#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "audio/telegram_audio.h"
#include "imaging/image_outcome.h"
#include "platform/message_icon.h"
#include "platform/system.h"

namespace hoshizora {

struct ShownMessage {
  std::u16string text;
  std::u16string caption;
  MessageIcon icon = MessageIcon::kNone;
};

// What the picture writers' outcomes tell the user straight away, in the
// order the writers ran: the listing's, then the form pages'.
std::vector<ShownMessage> PictureMessages(const ImageOutcome& listing, const ImageOutcome& forms);

// One line of the closing message per writer that failed; empty when it did not.
std::u16string AudioProblem(const AudioOutcome& audio);
std::u16string ListingProblem(const ImageOutcome& listing, bool cancelled);
std::u16string FormProblem(const ImageOutcome& forms, int pages);
// The pictures' characters that no installed face could draw, and the faces
// missing; empty when every character was drawn.
std::u16string GlyphProblem(const ImageOutcome& listing, const ImageOutcome& forms);

// Why the run's folder could not be made, as the system said, in a line of
// the closing message that names the folder tried.
std::u16string FolderProblem(const std::filesystem::path& tried, FolderMade made);

// The note naming the characters the audio leaves out.
std::u16string UnkeyedNote(const std::vector<std::u16string>& unkeyed);

}  // namespace hoshizora
