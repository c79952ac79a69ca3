#include "ui/main/Histories.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/error_text.h"
#include "platform/line_list.h"
#include "ui/common/Dialogs.h"

namespace veskaron::ui {

namespace {

// Reads the list, creating the file empty when missing; the error text otherwise.
QString ReadOrCreate(const QString& path, QStringList& items) {
    const std::string file = path.toStdString();
    LineListRead read = ReadLineListUtf8(file);
    if (read.missing) {
        const FileStatus created = WriteLineListUtf8(file, {});
        if (!created.ok) return QString::fromStdString(RussianFileError(created.error));
        read = ReadLineListUtf8(file);
    }
    if (!read.ok) return QString::fromStdString(RussianFileError(read.error));
    items.clear();
    for (const std::string& item : read.items) items << QString::fromStdString(item);
    return {};
}

// One message for all the files that failed, so an unwritable folder does not
// bring up a box per file.
void Report(const QStringList& errors, QWidget* parent) {
    if (!errors.isEmpty()) CurrentDialogs().Error(parent, errors.join(u'\n'));
}

}  // namespace

bool ReadListFile(const QString& path, QStringList& items, QWidget* parent) {
    const QString error = ReadOrCreate(path, items);
    Report(error.isEmpty() ? QStringList() : QStringList{error}, parent);
    return error.isEmpty();
}

void Histories::Add(QComboBox* box, const QString& fileName, bool blankLines) {
    entries_.push_back({box, fileName, blankLines});
    // A typed key reaches the box, which has the focus and hands the key to
    // its line edit without passing any filter of the edit.
    if (box->isEditable()) box->installEventFilter(this);
    if (box->isEditable() && box->lineEdit()) box->lineEdit()->installEventFilter(this);
}

void Histories::Load(const QString& folder, QWidget* parent) {
    QStringList errors;
    for (const Entry& e : entries_) {
        QStringList items;
        const QString error = ReadOrCreate(folder + e.fileName, items);
        if (!error.isEmpty()) {
            errors << error;
            continue;
        }
        if (!e.blankLines) items.removeIf([](const QString& item) { return item.trimmed().isEmpty(); });
        // Loading the list must not change what the box shows.
        const QSignalBlocker block(e.box);
        const QString text = e.box->currentText();
        e.box->clear();
        e.box->addItems(items);
        e.box->setCurrentIndex(-1);
        if (e.box->isEditable()) e.box->setEditText(text);
    }
    Report(errors, parent);
}

void Histories::Save(const QString& folder, QWidget* parent) const {
    QStringList errors;
    for (const Entry& e : entries_) {
        std::vector<std::string> items;
        items.reserve(static_cast<std::size_t>(e.box->count()));
        for (int i = 0; i < e.box->count(); ++i) items.push_back(e.box->itemText(i).toStdString());
        const FileStatus status = WriteLineListUtf8((folder + e.fileName).toStdString(), items);
        if (!status.ok) errors << QString::fromStdString(RussianFileError(status.error));
    }
    Report(errors, parent);
}

void Histories::AddText(QComboBox* box) {
    const QString text = box->currentText();
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
    }
    const QSignalBlocker block(box);
    box->addItem(text);
    box->setEditText(text);
}

bool Histories::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (const Entry& e : entries_) {
                if (e.box == watched || (e.box->lineEdit() && e.box->lineEdit() == watched)) {
                    AddText(e.box);
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace veskaron::ui
