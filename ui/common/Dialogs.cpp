#include "ui/common/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <utility>

namespace veskaron::ui {
namespace {

std::unique_ptr<Dialogs>& Installed() {
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Texts name files and tags ("<head>"): shown as they are, never as markup.
void ShowAsIs(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

}  // namespace

void Dialogs::Error(QWidget* parent, const QString& text) {
    Message(parent, MessageKind::Error, kCaptionError, text);
}

Dialogs& CurrentDialogs() {
    if (!Installed()) Installed() = std::make_unique<QtDialogs>();
    return *Installed();
}

void SetDialogs(std::unique_ptr<Dialogs> dialogs) { Installed() = std::move(dialogs); }

// ---- Qt ----

void QtDialogs::Message(QWidget* parent, MessageKind kind, const QString& caption,
                        const QString& text) {
    QMessageBox box(IconOf(kind), caption, text, QMessageBox::Ok, parent);
    ShowAsIs(box);
    box.exec();
}

Answer QtDialogs::AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    ShowAsIs(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

Answer QtDialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                           MessageKind icon) {
    QMessageBox box(IconOf(icon), caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    ShowAsIs(box);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtDialogs::InputText(QWidget* parent, const QString& caption,
                                            const QString& prompt, const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const QString& caption,
                                               const QString& dir, const QString& filter) {
    const QString name = QFileDialog::getOpenFileName(parent, caption, dir, filter);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const QString& caption,
                                               const QString& dir, const QString& filter) {
    const QString name = QFileDialog::getSaveFileName(parent, caption, dir, filter);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

int QtDialogs::ExecModal(QDialog& dialog) { return dialog.exec(); }

void QtDialogs::OpenUrl(const QUrl& url, Opened opened) {
    // The desktop's opener says by its exit status whether it found a
    // program; the library's own call only whether the opener started.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        const bool started = QDesktopServices::openUrl(url);
        if (opened) opened(started);
        return;
    }
    // Not owned by a window: the opener may stay for the browser's lifetime,
    // and the program's end must not take the browser with it.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto done = std::make_shared<Opened>(std::move(opened));
    QObject::connect(process, &QProcess::errorOccurred, process, [process, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        if (*done) std::exchange(*done, {})(false);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process, [process, done](int code, QProcess::ExitStatus status) {
        if (*done) std::exchange(*done, {})(status == QProcess::NormalExit && code == 0);
        process->deleteLater();
    });
    process->start();
}

}  // namespace veskaron::ui
