#include "ui/pages/FieldEdit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "messages/window_texts.h"
#include "ui/pages/DocText.h"

namespace veskaron::ui {

void FillItems(QComboBox* box, std::span<const std::string_view> items) {
    const QSignalBlocker block(box);
    box->clear();
    for (std::string_view item : items) box->addItem(FromUtf8(item));
    box->setCurrentIndex(-1);
}

void MakeHistoryBox(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Completion would change what the user typed into an older item.
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    // A long item in the history must not widen the page: the box takes the
    // width its row gives it.
    box->setSizePolicy(QSizePolicy::Ignored, box->sizePolicy().verticalPolicy());
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 12);
}

void SetBoxText(QComboBox* box, const QString& text) {
    if (box->isEditable()) {
        box->setEditText(text);
    } else {
        box->setCurrentIndex(box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    }
}

void TrackOwnWords(QComboBox* box, int listed) {
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box, listed](int index) {
        box->setProperty("ownActive", index == listed && box->count() > listed);
    });
}

void ShowOwnWords(QComboBox* box, int listed, int index, const std::string& own, const QString& shown,
                  bool selectOwn) {
    const QSignalBlocker block(box);
    while (box->count() > listed) box->removeItem(listed);
    box->setProperty("ownText", QByteArray::fromStdString(own));
    box->setProperty("ownIndex", index);
    box->setProperty("ownActive", !own.empty());
    if (own.empty()) {
        SetBoxIndex(box, index);
        return;
    }
    box->addItem(msg::kOwnWordsItem.arg(shown));
    box->setItemData(listed, msg::kOwnWordsTip, Qt::ToolTipRole);
    box->setCurrentIndex(!selectOwn && index >= 1 && index < listed ? index : listed);
}

int ReadOwnWords(const QComboBox* box, int listed, std::string& own) {
    if (box->property("ownActive").toBool()) {
        own = box->property("ownText").toByteArray().toStdString();
        return box->property("ownIndex").toInt();
    }
    own.clear();
    const int index = box->currentIndex();
    return index >= listed ? 0 : index;
}

void SetBoxIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

QString MemoToQt(const TextCodec& codec, std::string_view bytes) {
    QString text = ToQt(codec, bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string MemoFromQt(const TextCodec& codec, const QString& text, std::size_t* references) {
    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    return FromQt(codec, crlf, references);
}

QWidget* Row(QWidget* label, QWidget* control) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(control, 1);
    if (auto* l = qobject_cast<QLabel*>(label)) l->setBuddy(control);
    return row;
}

}  // namespace veskaron::ui
