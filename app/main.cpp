// The editor: sets the application title, creates the main window and the
// settings dialog, and runs the event loop until the main window closes.
#include <QApplication>
#include <QTranslator>

#include "controls/ClicLabel.h"
#include "session/settings/Settings.h"
#include "ui/common/AppSetup.h"
#include "ui/common/Dialogs.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/SettingsDialog.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTranslator qtTexts;
    veskaron::ui::SetUpRussianApplication(qtTexts);
    // Links of the labels open through the one shell-open path of the windows.
    veskaron::TClickLabel::SetShellOpener(
        [](const QUrl& url) { veskaron::ui::CurrentDialogs().OpenUrl(url); });
    // The one settings object of the run; the windows read and change it.
    veskaron::session::Settings settings;
    settings.load();
    veskaron::ui::MainWindow form(QApplication::arguments().mid(1), nullptr, &settings);
    // Hidden for the whole run: it edits a copy of the settings.
    veskaron::ui::SettingsDialog setup(settings, &form);
    form.SetSetupAction([&setup] { setup.ShowModal(); });
    form.ShowAsStored();
    return QApplication::exec();
}
