#pragma once
// A hyperlink label: blue underlined text that turns red under the pointer and
// opens its link through the desktop on a double click.
#include <QColor>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

namespace veskaron {

class TClickLabel : public QLabel {
    Q_OBJECT

public:
    // Hands a link to the desktop; replaced in tests so nothing is launched.
    using ShellOpener = std::function<void(const QUrl&)>;

    static inline const QString kDefaultLink = QStringLiteral("http://www.varnok-soft.ru/");

    explicit TClickLabel(QWidget* parent = nullptr);

    QString Link() const { return FLink; }
    // Only stores the text; the caption stays as it is.
    void SetLink(const QString& link) { FLink = link; }

    // The text colour; what the label returns to when the pointer leaves.
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    // The link as a URL: web and mail links as written, a bare local path as
    // a file URL.
    static QUrl LinkUrl(const QString& link);

    // The opener every label uses; an empty function restores the desktop's.
    static void SetShellOpener(ShellOpener opener);
    static void ShellOpen(const QUrl& url);

Q_SIGNALS:
    void OnDblClick();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString FLink;
    QColor FRememberedColor;
};

}  // namespace veskaron
