#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace hoshizora {

bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale) {
  // Owned by the application: it must outlive every dialog.
  auto* translator = new QTranslator(&app);
  // "qt" gathers qtbase and the other modules' catalogues.
  if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace hoshizora
