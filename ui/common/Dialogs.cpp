#include "ui/common/Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSplitter>
#include <QTreeView>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <utility>

#include "messages/window_texts.h"

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

QString SizeText(qint64 bytes) {
    const QLocale locale;
    if (bytes < 1024) return msg::kFileBytes.arg(bytes);
    if (bytes < 1024 * 1024) return msg::kFileKilobytes.arg(locale.toString(bytes / 1024.0, 'f', 1));
    if (bytes < 1024LL * 1024 * 1024) return msg::kFileMegabytes.arg(locale.toString(bytes / 1048576.0, 'f', 1));
    return msg::kFileGigabytes.arg(locale.toString(bytes / 1073741824.0, 'f', 1));
}

// The file dialog's dates and sizes in the program's language and short enough for
// their column ("07.12.2026 22:48", not the system locale's long form).
class FileDates final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files && role == Qt::DisplayRole) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == 3)
                return QLocale().toString(files->lastModified(source), QStringLiteral("dd.MM.yyyy HH:mm"));
            if (index.column() == 1 && !files->isDir(source)) return SizeText(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

std::optional<QString> RunFileDialog(QWidget* parent, const QString& caption, const QString& dir,
                                     const QString& filter, bool save) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setProxyModel(new FileDates(&dialog));
    if (auto* details = dialog.findChild<QTreeView*>()) {
        details->header()->setStretchLastSection(false);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column <= 3; ++column)  // size, type, date: whole
            details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (auto* panes = dialog.findChild<QSplitter*>()) panes->setSizes({170, 590});
    dialog.resize(780, 460);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

// Texts name files and tags ("<head>"): shown as they are, never as markup.
void ShowAsIs(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

}  // namespace

void Dialogs::Error(QWidget* parent, const QString& text) {
    Message(parent, MessageKind::Error, msg::kCaptionError, text);
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
    return RunFileDialog(parent, caption, dir, filter, false);
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const QString& caption,
                                               const QString& dir, const QString& filter) {
    return RunFileDialog(parent, caption, dir, filter, true);
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
