#pragma once

#include "encoding/telegram_fields.h"
#include "imaging/form_layout.h"
#include "imaging/image_outcome.h"
#include "platform/canvas.h"

namespace hoshizora {

// Writes the body (between the signs, line breaks removed) 60 characters a
// page in vertical writing onto copies of the form template, with the header
// fields and the addressee on every page. Tells nobody anything: the outcome
// says what happened.
ImageOutcome WriteFormImages(Canvas& canvas, System& system, const FormDestination& where,
                             const TelegramFields& fields, const PageProgress& progress = {});

}  // namespace hoshizora
