#pragma once
// Small helpers the windows build their controls with. Every control carries
// its layout name as objectName: the tests, the help topics and the
// accessibility tree find it by that name.
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>

#include "ui/common/Hints.h"

namespace veskaron::ui {

template <typename W>
W* Named(W* widget, const QString& name, const QString& hint = {}, int topic = 0) {
    widget->setObjectName(name);
    if (!hint.isEmpty()) SetHint(widget, hint);
    if (topic > 0) SetHelpTopic(widget, topic);
    return widget;
}
template <typename W>
W* Named(W* widget, const char* name, const QString& hint = {}, int topic = 0) {
    return Named(widget, QString::fromLatin1(name), hint, topic);
}

// A label; with a buddy, its mnemonic focuses that control.
inline QLabel* Caption(const QString& text, const QString& name, QWidget* buddy = nullptr) {
    auto* label = Named(new QLabel(text), name);
    if (buddy) label->setBuddy(buddy);
    return label;
}

// A group box of radio buttons named "<name>Item<i>", whose ids in `group`
// are the item indices. Nothing is checked.
inline QGroupBox* RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                             QButtonGroup* group) {
    auto* box = Named(new QGroupBox(caption), name);
    auto* column = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = Named(new QRadioButton(items[i]), QStringLiteral("%1Item%2").arg(name).arg(i));
        group->addButton(button, i);
        column->addWidget(button);
    }
    return box;
}

}  // namespace veskaron::ui
