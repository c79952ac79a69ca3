// The editor: sets the application title, creates the main window and the
// settings dialog, and runs the event loop until the main window closes.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "controls/ClicLabel.h"
#include "session/Settings.h"
#include "ui/common/Dialogs.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/LiveSettings.h"
#include "ui/settings/USetup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Dates (the calendar of the expiry date) and numbers as a Russian user
    // reads them, whatever the system's own locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // Qt's own texts (message box buttons, edit menus, file dialogs) in Russian like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The application's title; window captions stay as each window sets them.
    QApplication::setApplicationName(QStringLiteral("VESKARON \"VARNOK-Soft\""));
    // Links of the labels open through the one shell-open path of the windows.
    veskaron::TClickLabel::SetShellOpener(
        [](const QUrl& url) { veskaron::ui::CurrentDialogs().OpenUrl(url); });
    // The one settings object of the run; the windows read and change it.
    veskaron::session::Settings settings;
    settings.load();
    veskaron::ui::KeepCurrentSetupValuesInStep(settings);
    veskaron::ui::TForm1 form(QApplication::arguments().mid(1), nullptr, &settings);
    // Hidden for the whole run: it edits a copy of the settings.
    veskaron::ui::TFmSetup setup(settings, &form);
    form.SetSetupAction([&setup] { setup.ShowModal(); });
    QObject::connect(&setup, &veskaron::ui::TFmSetup::confirmed, &form,
                     [&form, &settings] { form.ApplySettings(static_cast<int>(settings.tabStyle())); });
    form.ShowAsStored();
    return QApplication::exec();
}
