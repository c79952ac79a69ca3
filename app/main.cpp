// The editor: sets the application title, creates the main window and runs
// the event loop until it closes.
#include <QApplication>

#include "ui/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The application's title; window captions stay as each window sets them.
    QApplication::setApplicationName(QStringLiteral("VESKARON \"VARNOK-Soft\""));
    veskaron::ui::TForm1 form(QApplication::arguments().mid(1));
    form.ShowAsStored();
    return QApplication::exec();
}
