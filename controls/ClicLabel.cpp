#include "controls/ClicLabel.h"

#include <QDesktopServices>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QFont>
#include <QMouseEvent>
#include <QPalette>

namespace veskaron {

namespace {

TClickLabel::ShellOpener& Opener() {
    static TClickLabel::ShellOpener opener;
    return opener;
}

}  // namespace

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent), FLink(kDefaultLink) {
    FRememberedColor = Qt::blue;
    SetFontColor(Qt::blue);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setText(FLink);
}

QColor TClickLabel::FontColor() const { return palette().color(QPalette::WindowText); }

void TClickLabel::SetFontColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QUrl TClickLabel::LinkUrl(const QString& link) {
    const QString text = link.trimmed();
    if (QDir::isAbsolutePath(text)) return QUrl::fromLocalFile(text);
    const QUrl url(text, QUrl::TolerantMode);
    if (url.isValid() && !url.scheme().isEmpty()) return url;
    // A relative name is taken from the current folder, as the shell would.
    if (QFileInfo::exists(text)) return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    return QUrl::fromUserInput(text);
}

void TClickLabel::SetShellOpener(ShellOpener opener) { Opener() = std::move(opener); }

void TClickLabel::ShellOpen(const QUrl& url) {
    if (Opener()) {
        Opener()(url);
        return;
    }
    // The answer is of no interest: a link that does not open is not an error.
    QDesktopServices::openUrl(url);
}

void TClickLabel::enterEvent(QEnterEvent* event) {
    FRememberedColor = FontColor();
    SetFontColor(Qt::red);
    setCursor(Qt::PointingHandCursor);
    QLabel::enterEvent(event);
}

void TClickLabel::leaveEvent(QEvent* event) {
    SetFontColor(FRememberedColor);
    unsetCursor();
    QLabel::leaveEvent(event);
}

void TClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    ShellOpen(LinkUrl(FLink));
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT OnDblClick();
}

}  // namespace veskaron
