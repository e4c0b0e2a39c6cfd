// Loading Qt's translation catalogue (package qt6-translations-l10n on Debian).
#include "toolkit/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vintorel {

bool install_qt_translations(const QLocale& locale, const QString& directory) {
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  QString from = directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
  auto translator = new QTranslator(QCoreApplication::instance());
  // "qtbase_ja.qm" holds the widgets' texts; "qtbase_ja_JP" is tried first.
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), from) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  installed = translator;
  return true;
}

}  // namespace vintorel
