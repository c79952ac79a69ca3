#include "ui/Histories.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/line_list.h"
#include "ui/Dialogs.h"

namespace veskaron::ui {

bool ReadListFile(const QString& path, QStringList& items, QWidget* parent) {
    const std::string file = path.toStdString();
    LineListRead read = ReadLineListUtf8(file);
    if (read.missing) {
        const FileStatus created = WriteLineListUtf8(file, {});
        if (!created.ok) {
            CurrentDialogs().Error(parent, QString::fromStdString(created.error));
            return false;
        }
        read = ReadLineListUtf8(file);
    }
    if (!read.ok) {
        CurrentDialogs().Error(parent, QString::fromStdString(read.error));
        return false;
    }
    items.clear();
    for (const std::string& item : read.items) items << QString::fromStdString(item);
    return true;
}

void Histories::Add(QComboBox* box, const QString& fileName) {
    entries_.push_back({box, fileName});
    if (box->isEditable() && box->lineEdit()) box->lineEdit()->installEventFilter(this);
}

void Histories::Load(const QString& folder, QWidget* parent) {
    for (const Entry& e : entries_) {
        QStringList items;
        if (!ReadListFile(folder + e.fileName, items, parent)) continue;
        // Loading the list must not change what the box shows.
        const QSignalBlocker block(e.box);
        const QString text = e.box->currentText();
        e.box->clear();
        e.box->addItems(items);
        e.box->setCurrentIndex(-1);
        if (e.box->isEditable()) e.box->setEditText(text);
    }
}

void Histories::Save(const QString& folder, QWidget* parent) const {
    for (const Entry& e : entries_) {
        std::vector<std::string> items;
        items.reserve(static_cast<std::size_t>(e.box->count()));
        for (int i = 0; i < e.box->count(); ++i) items.push_back(e.box->itemText(i).toStdString());
        const FileStatus status = WriteLineListUtf8((folder + e.fileName).toStdString(), items);
        if (!status.ok) CurrentDialogs().Error(parent, QString::fromStdString(status.error));
    }
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
                if (e.box->lineEdit() == watched) {
                    AddText(e.box);
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace veskaron::ui
