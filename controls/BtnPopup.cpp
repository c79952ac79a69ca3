#include "controls/BtnPopup.h"

#include <QApplication>
#include <algorithm>
#include <QBitmap>
#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace veskaron {

namespace {

// Classic 3D colours taken from the palette.
QColor Highlight3D(const QPalette& p) { return p.color(QPalette::Light); }
QColor Light3D(const QPalette& p) { return p.color(QPalette::Midlight); }
QColor Shadow3D(const QPalette& p) { return p.color(QPalette::Dark); }
QColor DarkShadow3D(const QPalette& p) { return p.color(QPalette::Shadow); }
QColor Face(const QPalette& p) { return p.color(QPalette::Button); }

// One-pixel frame; r is inclusive.
void Frame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0) return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

// Thin edge of a flat button: sunken while pressed, raised while hot.
void FlatEdge(QPainter& p, const QRect& r, bool sunken, const QPalette& pal) {
    if (sunken)
        Frame(p, r, Shadow3D(pal), Highlight3D(pal));
    else
        Frame(p, r, Highlight3D(pal), Shadow3D(pal));
}

// Push-button frame, filled with the face colour; returns the interior.
QRect PushFrame(QPainter& p, const QRect& r, bool pushed, const QPalette& pal) {
    p.fillRect(r, Face(pal));
    if (pushed) {
        Frame(p, r, DarkShadow3D(pal), DarkShadow3D(pal));
        Frame(p, r.adjusted(1, 1, -1, -1), Shadow3D(pal), Shadow3D(pal));
    } else {
        Frame(p, r, Highlight3D(pal), DarkShadow3D(pal));
        Frame(p, r.adjusted(1, 1, -1, -1), Light3D(pal), Shadow3D(pal));
    }
    return r.adjusted(2, 2, -2, -2);
}

// 8 x 8 pattern for the toggled-down face: highlight where x and y are both
// even or both odd, face colour elsewhere.
QBrush CheckerBrush(const QPalette& pal) {
    QImage image(8, 8, QImage::Format_RGB32);
    const QRgb face = Face(pal).rgb();
    const QRgb light = Highlight3D(pal).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) image.setPixel(x, y, (x % 2) == (y % 2) ? light : face);
    return QBrush(image);
}

}  // namespace

TBtnPopup::TBtnPopup(QWidget* parent) : QAbstractButton(parent) {
    FFillFont = font();
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(kDefaultWidth, kDefaultHeight);
    connect(this, &QAbstractButton::clicked, this, &TBtnPopup::OnClick);
}

void TBtnPopup::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TBtnPopup::SetArrowWidth(int value) {
    value = std::max(0, value);
    if (FArrowWidth == value) return;
    FArrowWidth = value;
    update();
}

void TBtnPopup::SetGroupIndex(int value) {
    if (FGroupIndex == value) return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TBtnPopup::SetDown(bool value) {
    if (FGroupIndex == 0) value = false;
    if (value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = value;
    if (value) {
        if (FState == bsUp) update();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        repaint();
    }
    if (value) UpdateExclusive();
}

void TBtnPopup::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    // A flat button shows its parent through.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TBtnPopup::SetFillFont(const QFont& value) {
    FFillFont = value;
    update();
}

void TBtnPopup::SetGlyph(const QPixmap& value) {
    FGlyph = value;
    update();
}

void TBtnPopup::SetLayout(TButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    update();
}

void TBtnPopup::SetMargin(int value) {
    if (value == FMargin || value < -1) return;
    FMargin = value;
    update();
}

void TBtnPopup::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs) return;
    FNumGlyphs = value;
    update();
}

void TBtnPopup::SetPressBoth(bool value) {
    if (FPressBoth == value) return;
    FPressBoth = value;
    update();
}

void TBtnPopup::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    update();
}

void TBtnPopup::Click() { Q_EMIT clicked(false); }

void TBtnPopup::UpdateExclusive() {
    if (FGroupIndex == 0 || !parentWidget()) return;
    const auto siblings =
        parentWidget()->findChildren<TBtnPopup*>(QString(), Qt::FindDirectChildrenOnly);
    for (TBtnPopup* other : siblings)
        if (other != this) other->ButtonPressed(this);
}

void TBtnPopup::ButtonPressed(const TBtnPopup* sender) {
    if (sender->FGroupIndex != FGroupIndex) return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        update();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TBtnPopup::MouseEnter() {
    if (FFlat && !FHot && isEnabled()) {
        FHot = true;
        repaint();
    }
}

void TBtnPopup::MouseLeave() {
    if (FFlat && FHot && isEnabled()) {
        FHot = false;
        update();
    }
}

void TBtnPopup::UpdateTracking() {
    if (!FFlat || !isEnabled()) return;
    const bool over = isVisible() && QApplication::widgetAt(QCursor::pos()) == this;
    if (over)
        MouseEnter();
    else
        MouseLeave();
}

void TBtnPopup::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    MouseEnter();
}

void TBtnPopup::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    MouseLeave();
}

bool TBtnPopup::hitButton(const QPoint& pos) const {
    return pos.x() >= 0 && pos.x() <= width() - FArrowWidth && pos.y() >= 0 && pos.y() <= height();
}

bool TBtnPopup::event(QEvent* event) {
    // The "&"-marked caption character clicks at once, without the animated
    // press of an ordinary button.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled()) Click();
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void TBtnPopup::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        UpdateTracking();
        repaint();
    } else if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        update();
    }
}

void TBtnPopup::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    FIgnoreRelease = false;
    Q_EMIT OnMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
    event->accept();
    if (!isEnabled()) return;
    FInArrow = width() - FArrowWidth <= pos.x() && pos.x() <= width() && 0 <= pos.y() &&
               pos.y() <= height();
    if (event->button() == Qt::LeftButton) {
        FState = FDown ? bsExclusive : bsDown;
        repaint();
    }
    if (FDropDown && FInArrow) {
        const QPointer<TBtnPopup> self(this);
        const QPointer<QMenu> menu(FDropDown);
        // The click that closes the menu must not reach anything after it,
        // least of all this button again.
        const bool replayOff = menu->testAttribute(Qt::WA_NoMouseReplay);
        menu->setAttribute(Qt::WA_NoMouseReplay, true);
        menu->exec(mapToGlobal(QPoint(0, height())));
        if (menu) menu->setAttribute(Qt::WA_NoMouseReplay, replayOff);
        if (!self) return;
        // The press ends with the menu: whatever of it is still to come is
        // dropped, and the button comes up as if released outside.
        FIgnoreRelease = true;
        EndPress(-1, -1);
    }
    if (FInArrow) Q_EMIT OnDrop();
    FInArrow = false;
    repaint();
}

void TBtnPopup::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT OnMouseMove(event->buttons(), event->modifiers(), pos.x(), pos.y());
}

void TBtnPopup::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT OnMouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
    event->accept();
    if (FIgnoreRelease) {
        FIgnoreRelease = false;
        return;
    }
    EndPress(pos.x(), pos.y());
}

void TBtnPopup::EndPress(int x, int y) {
    if (!isEnabled()) {
        FState = bsUp;
        repaint();
    }
    const bool inMain = 0 <= x && x <= width() - FArrowWidth && 0 <= y && y <= height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        FHot = false;
        if (inMain) update();
    } else if (inMain) {
        SetDown(!FDown);
        if (FDown) repaint();
    } else {
        // Released outside: back to the toggled look, never left pressed.
        FState = FDown ? bsExclusive : bsUp;
        repaint();
    }
    if (inMain) Click();
    UpdateTracking();
    repaint();
}

void TBtnPopup::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
    if (FDown) Q_EMIT OnDblClick();
}

QPixmap TBtnPopup::GlyphFor(TButtonState state) const {
    if (FGlyph.isNull()) return {};
    const int count = std::max(1, FNumGlyphs);
    const int w = FGlyph.width() / count;
    if (w <= 0) return {};
    auto image = [&](int index) {
        QPixmap part = FGlyph.copy(index * w, 0, w, FGlyph.height());
        // Bitmaps without transparency use their bottom-left pixel as the
        // transparent colour.
        if (!part.hasAlphaChannel()) {
            const QColor key = part.toImage().pixelColor(0, part.height() - 1);
            part.setMask(part.createMaskFromColor(key, Qt::MaskInColor));
        }
        return part;
    };
    int index = 0;
    switch (state) {
        case bsUp: index = 0; break;
        case bsDisabled: index = 1; break;
        case bsDown: index = 2; break;
        case bsExclusive: index = 3; break;
    }
    if (index < count) return image(index);
    if (state == bsDisabled) {
        QStyleOption opt;
        opt.initFrom(this);
        return style()->generatedIconPixmap(QIcon::Disabled, image(0), &opt);
    }
    return image(0);
}

void TBtnPopup::DrawGlyphAndCaption(QPainter& painter, const QRect& client, const QPoint& offset,
                                    TButtonState state) {
    const QPixmap glyph = GlyphFor(state);
    QString caption = text();
    const QFontMetrics fm(painter.font());
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    QSize textSize = caption.isEmpty() ? QSize(0, 0) : fm.size(flags, caption);
    const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.deviceIndependentSize().toSize();
    const QSize clientSize = client.size();
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    // A caption wider than the face shows its start and an ellipsis rather
    // than a middle cut off at both sides.
    const int room = clientSize.width() - 2 -
                     (horizontal && glyphSize.width() > 0 ? glyphSize.width() + std::max(FSpacing, 0) : 0);
    if (textSize.width() > room && room > 0) {
        caption = fm.elidedText(caption, Qt::ElideRight, room, flags);
        textSize = fm.size(flags, caption);
    }

    QPoint glyphPos;
    QPoint textPos;
    if (horizontal) {
        glyphPos.setY((clientSize.height() - glyphSize.height() + 1) / 2);
        textPos.setY((clientSize.height() - textSize.height() + 1) / 2);
    } else {
        glyphPos.setX((clientSize.width() - glyphSize.width() + 1) / 2);
        textPos.setX((clientSize.width() - textSize.width() + 1) / 2);
    }
    // Spacing only separates two things.
    int spacing = (textSize.width() == 0 || glyphSize.width() == 0) ? 0 : FSpacing;
    int margin = FMargin;
    if (margin == -1) {
        if (spacing == -1) {
            const QSize total(glyphSize.width() + textSize.width(),
                              glyphSize.height() + textSize.height());
            margin = horizontal ? (clientSize.width() - total.width()) / 3
                                : (clientSize.height() - total.height()) / 3;
            spacing = margin;
        } else {
            const QSize total(glyphSize.width() + spacing + textSize.width(),
                              glyphSize.height() + spacing + textSize.height());
            margin = horizontal ? (clientSize.width() - total.width() + 1) / 2
                                : (clientSize.height() - total.height() + 1) / 2;
        }
    } else if (spacing == -1) {
        const QSize total(clientSize.width() - (margin + glyphSize.width()),
                          clientSize.height() - (margin + glyphSize.height()));
        spacing = horizontal ? (total.width() - textSize.width()) / 2
                             : (total.height() - textSize.height()) / 2;
    }
    switch (FLayout) {
        case blGlyphLeft:
            glyphPos.setX(margin);
            textPos.setX(glyphPos.x() + glyphSize.width() + spacing);
            break;
        case blGlyphRight:
            glyphPos.setX(clientSize.width() - margin - glyphSize.width());
            textPos.setX(glyphPos.x() - spacing - textSize.width());
            break;
        case blGlyphTop:
            glyphPos.setY(margin);
            textPos.setY(glyphPos.y() + glyphSize.height() + spacing);
            break;
        case blGlyphBottom:
            glyphPos.setY(clientSize.height() - margin - glyphSize.height());
            textPos.setY(glyphPos.y() - spacing - textSize.height());
            break;
    }
    const QPoint shift = client.topLeft() + offset;
    if (!glyph.isNull()) painter.drawPixmap(glyphPos + shift, glyph);
    if (caption.isEmpty()) return;
    const QRect textRect(textPos + shift, textSize);
    const int align = Qt::AlignCenter | flags;
    if (state == bsDisabled) {
        painter.setPen(Highlight3D(palette()));
        painter.drawText(textRect.translated(1, 1), align, caption);
        painter.setPen(Shadow3D(palette()));
        painter.drawText(textRect, align, caption);
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(textRect, align, caption);
    }
}

void TBtnPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    const int w = width();
    const int h = height();

    if (!isEnabled())
        FState = bsDisabled;
    else if (FState == bsDisabled)
        FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
    p.setFont(FHot ? FFillFont : font());

    // Main part.
    QRect r(0, 0, w - FArrowWidth, h);
    if (FInArrow && !FDown) FState = bsUp;
    const bool pressedLook = FState == bsDown || FState == bsExclusive;
    if (FFlat) {
        if (pressedLook || (FHot && FState != bsDisabled)) FlatEdge(p, r, pressedLook, pal);
        r.adjust(1, 1, -1, -1);
    } else {
        r = PushFrame(p, r, pressedLook, pal);
    }
    const QPoint offset = pressedLook ? QPoint(1, 1) : QPoint(0, 0);
    if (FState == bsExclusive && !(FFlat && FHot)) p.fillRect(r, CheckerBrush(pal));
    p.save();
    p.setClipRect(r);
    DrawGlyphAndCaption(p, r, offset, FState);
    p.restore();

    // Arrow part.
    const QRect arrowRect(w - FArrowWidth, 0, FArrowWidth, h);
    const bool pressed = FInArrow || (FPressBoth && pressedLook);
    if (!FFlat)
        PushFrame(p, arrowRect, pressed, pal);
    else if (FHot && isEnabled())
        FlatEdge(p, arrowRect, pressed, pal);

    // The arrow: rows one pixel lower and one shorter at each end, down to a
    // single pixel; x1 itself is not drawn.
    const int q = (FArrowWidth / 2) / 2;
    int y = h - h / 2 - q + 1;
    int x0 = w - FArrowWidth + q;
    int x1 = w - q;
    QPoint shift(0, 0);
    if (pressed)
        shift = FFlat ? QPoint(1, 1) : QPoint(0, 1);
    else if (!FFlat)
        shift = QPoint(-1, 0);
    const QColor arrowColor = isEnabled() ? QColor(Qt::black) : Shadow3D(pal);
    for (; x0 < x1; ++x0, --x1, ++y)
        p.fillRect(QRect(x0 + shift.x(), y + shift.y(), x1 - x0, 1), arrowColor);
}

}  // namespace veskaron
