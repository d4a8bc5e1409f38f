#pragma once

#include <QLocale>

class QCoreApplication;

namespace hoshizora {

// Installs Qt's own translations for `locale` into the application, so that
// the standard dialogs (file dialogs, their buttons) speak the user's
// language. Returns false when the system has no translation for it: Qt's
// English stays, which is no fault.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace hoshizora
