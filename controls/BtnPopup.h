#pragma once
// A flat-capable push button split in two: the main part clicks (and can
// toggle within a group), the narrow arrow part at the right edge opens a
// menu just below the button.
#include <QAbstractButton>
#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

namespace veskaron {

class TBtnPopup : public QAbstractButton {
    Q_OBJECT

public:
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

    static constexpr int kDefaultWidth = 42;
    static constexpr int kDefaultHeight = 25;

    explicit TBtnPopup(QWidget* parent = nullptr);

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    int ArrowWidth() const { return FArrowWidth; }
    void SetArrowWidth(int value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // The toggled state of a group button (not the momentary press).
    bool Down() const { return FDown; }
    void SetDown(bool value);
    QMenu* DropDown() const { return FDropDown; }
    void SetDropDown(QMenu* menu) { FDropDown = menu; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    QFont FillFont() const { return FFillFont; }
    void SetFillFont(const QFont& value);
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    bool PressBoth() const { return FPressBoth; }
    void SetPressBoth(bool value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

    TButtonState State() const { return FState; }
    // The pointer is over a flat, enabled button.
    bool Hot() const { return FHot; }

    QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }

Q_SIGNALS:
    void OnClick();
    void OnDblClick();
    // After a press on the arrow part, once the menu has closed.
    void OnDrop();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void Click();
    void EndPress(int x, int y);
    void UpdateExclusive();
    void ButtonPressed(const TBtnPopup* sender);
    void UpdateTracking();
    void MouseEnter();
    void MouseLeave();
    QPixmap GlyphFor(TButtonState state) const;
    void DrawGlyphAndCaption(class QPainter& painter, const QRect& client, const QPoint& offset,
                             TButtonState state);

    bool FAllowAllUp = false;
    int FArrowWidth = 13;
    int FGroupIndex = 0;
    bool FDown = false;
    QPointer<QMenu> FDropDown;
    bool FFlat = false;
    QFont FFillFont;
    QPixmap FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FNumGlyphs = 1;
    bool FPressBoth = true;
    int FSpacing = 4;

    TButtonState FState = bsUp;
    bool FInArrow = false;
    bool FHot = false;
    // The release that belongs to a press which opened the menu is dropped.
    bool FIgnoreRelease = false;
};

}  // namespace veskaron
