#pragma once

#include <QString>
#include <QStringList>

namespace hoshizora {

// The installed faces that stand in for a design face, best first.
QStringList FontSubstitutes(const QString& design_face);

// The first installed face for a design face (itself, when installed under
// that name, or a substitute); empty when none is installed.
QString ResolveFontFace(const QString& design_face);

// A Japanese-capable sans-serif face; never a face without kana when one with
// kana is installed.
QString JapaneseSansSerifFace();

}  // namespace hoshizora
