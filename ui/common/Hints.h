#pragma once
// Hints with a short and a long part ("short|long"): the short part is the
// tooltip, the long part goes to the status bar while the pointer is over the
// control. Help topic numbers are kept on the controls the same way.
#include <QObject>
#include <QString>

class QWidget;

namespace veskaron::ui {

QString ShortHint(const QString& hint);
// The text after the bar, or the whole hint when it has none.
QString LongHint(const QString& hint);

void SetHint(QWidget* widget, const QString& hint);
// The two parts given apart, for a text that may hold a bar of its own (a
// snippet of the page's markup). Both are shown as plain text.
void SetHintParts(QWidget* widget, const QString& shortHint, const QString& longHint);
// The long hint of the widget, or of its nearest parent that has one.
QString LongHintOf(const QWidget* widget);
// A tooltip that shows `text` as it is, markup included.
QString PlainTip(const QString& text);

void SetHelpTopic(QWidget* widget, int topic);
// The topic of the widget or of its nearest parent with one; 0 when none.
int HelpTopicOf(const QWidget* widget);

// Watches the pointer entering and leaving the widgets of one window and
// reports the long hint of the control under it.
class HintTracker final : public QObject {
    Q_OBJECT

public:
    explicit HintTracker(QWidget* window);

Q_SIGNALS:
    void LongHintChanged(const QString& longHint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Report(const QWidget* widget);
    QWidget* window_;
    QString last_;
};

}  // namespace veskaron::ui
