#include "platform/qt/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

#include "platform/qt/main_window.h"

namespace hoshizora {
namespace {

TEST(QtTranslations, JapaneseFileDialogsAndFilterShownOnce) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFile::exists(folder + "/qtbase_ja.qm")) {
    GTEST_SKIP() << "no Japanese Qt translations in " << folder.toStdString()
                 << " (qt6-translations-l10n)";
  }
  ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Japanese)));
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
  EXPECT_FALSE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Zulu)));

  FileDialogSettings s;
  s.filter_pattern = u"*.txt";
  s.filter_name = u"テキストファイル (*.txt)";
  EXPECT_EQ(FilterText(s), QStringLiteral("テキストファイル (*.txt)"));
  s.filter_name = u"テキストファイル";
  EXPECT_EQ(FilterText(s), QStringLiteral("テキストファイル (*.txt)"));
}

}  // namespace
}  // namespace hoshizora
