#include "platform/qt/font_substitutes.h"

#include <QFontDatabase>

namespace hoshizora {

QStringList FontSubstitutes(const QString& design_face) {
  if (design_face == u"MS Gothic") {
    return {"IPAGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP", "VL Gothic", "TakaoGothic"};
  }
  if (design_face == u"MS UI Gothic") {
    return {"IPAPGothic", "Noto Sans CJK JP", "VL PGothic"};
  }
  if (design_face == u"HGP行書体") {
    return {"AoyagiKouzanFontT", "IPAPMincho", "IPAMincho", "Noto Serif CJK JP", "TakaoPMincho"};
  }
  return {};
}

QString ResolveFontFace(const QString& design_face) {
  const QStringList installed = QFontDatabase::families();
  if (installed.contains(design_face, Qt::CaseInsensitive)) {
    return design_face;
  }
  for (const QString& face : FontSubstitutes(design_face)) {
    if (installed.contains(face, Qt::CaseInsensitive)) {
      return face;
    }
  }
  return {};
}

QString JapaneseSansSerifFace() {
  const QStringList installed = QFontDatabase::families();
  for (const char* face :
       {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"}) {
    if (installed.contains(face, Qt::CaseInsensitive)) {
      return face;
    }
  }
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace hoshizora
