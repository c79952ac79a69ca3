#include "ui/common/AppSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace veskaron::ui {

void SetUpRussianApplication(QTranslator& qtTexts) {
    // Dates (the calendar of the expiry date) and numbers as a Russian user
    // reads them, whatever the system's own locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // Qt's own texts (message box buttons, edit menus, file dialogs) in Russian like the rest.
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The application's title; window captions stay as each window sets them.
    QApplication::setApplicationName(QStringLiteral("VESKARON \"VARNOK-Soft\""));
}

}  // namespace veskaron::ui
