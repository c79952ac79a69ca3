#include "ui/common/Hints.h"

#include <QApplication>
#include <QEvent>
#include <QTextDocument>
#include <QWidget>

namespace veskaron::ui {
namespace {
constexpr const char* kHintProperty = "veskaronHint";
constexpr const char* kTopicProperty = "veskaronHelpTopic";
}  // namespace

QString ShortHint(const QString& hint) {
    const auto bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint) {
    const auto bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString PlainTip(const QString& text) {
    // A tooltip that looks like markup is rendered as markup.
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void SetHint(QWidget* widget, const QString& hint) { SetHintParts(widget, ShortHint(hint), LongHint(hint)); }

void SetHintParts(QWidget* widget, const QString& shortHint, const QString& longHint) {
    widget->setProperty(kHintProperty, longHint);
    widget->setToolTip(PlainTip(shortHint));
    // Assistive tools read the tip's text, not its markup.
    if (widget->toolTip() != shortHint) widget->setAccessibleDescription(shortHint);
}

QString LongHintOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QString hint = widget->property(kHintProperty).toString();
        if (!hint.isEmpty()) return hint;
        if (widget->isWindow()) break;
    }
    return {};
}

void SetHelpTopic(QWidget* widget, int topic) { widget->setProperty(kTopicProperty, topic); }

int HelpTopicOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const int topic = widget->property(kTopicProperty).toInt();
        if (topic > 0) return topic;
        if (widget->isWindow()) break;
    }
    return 0;
}

HintTracker::HintTracker(QWidget* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

bool HintTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Enter && event->type() != QEvent::Leave) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    // Leaving a control puts the pointer back over its parent.
    Report(event->type() == QEvent::Enter ? widget : widget->parentWidget());
    return false;
}

void HintTracker::Report(const QWidget* widget) {
    const QString text = LongHintOf(widget);
    if (text == last_) return;
    last_ = text;
    Q_EMIT LongHintChanged(text);
}

}  // namespace veskaron::ui
