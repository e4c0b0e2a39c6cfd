// Qt's own texts (the file dialog's labels and buttons, the message boxes'
// standard buttons) in the user's language.
#pragma once
#include <QLocale>
#include <QString>

namespace vintorel {

// Loads Qt's translation catalogue for `locale` from `directory` (empty: Qt's
// own translations directory) into the application. False when there is none
// for the locale; Qt's texts then stay in English. A later call replaces the
// catalogue of an earlier one.
bool install_qt_translations(const QLocale& locale, const QString& directory = QString());

}  // namespace vintorel
