#pragma once
// A combo box that shows the full text of list items too wide for the open
// list in a tip over the item, can complete typed text from its items, and
// can give its list a horizontal scroll extent.
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <functional>

class QKeyEvent;
class QMouseEvent;
class QLineEdit;

namespace veskaron {

class TComBox;

// The tip window over a list item.
class TListHint : public QLabel {
    Q_OBJECT

public:
    explicit TListHint(QWidget* owner);

    // Shows text at rect (screen coordinates).
    void ActivateHint(const QRect& rect, const QString& text);
    // How often the tip has been (re)placed; it stays put while the pointer
    // stays on the same item.
    int Activations() const { return FActivations; }

private:
    int FActivations = 0;
};

class TComBox : public QComboBox {
    Q_OBJECT

public:
    // The owner may set hideToolTip to keep a tip from showing.
    using TShowHintEvent =
        std::function<void(TComBox* sender, const QString& toolTipText, bool& hideToolTip)>;

    explicit TComBox(QWidget* parent = nullptr);
    ~TComBox() override;

    bool Search() const { return FSearch; }
    void SetSearch(bool value) { FSearch = value; }
    // The drop-down list's client area, once the list has been opened.
    QWidget* HintHandle() const { return FHintHandle; }
    bool ShowHintTips() const { return FShowHintTips; }
    void SetShowHintTips(bool value);
    // -1: the list does not scroll sideways; otherwise its scrollable width.
    int HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(int value);

    TShowHintEvent OnShowHintTip;

    TListHint* HintWindow() const { return FHint; }

    // Pointer movement over the list, in the list's client coordinates.
    void ListMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);

    void showPopup() override;
    void hidePopup() override;

    // Whether a key lets the text change it causes complete from the items:
    // letters and punctuation do; digits, space, editing and cursor keys not.
    static bool KeyAllowsSearch(const QKeyEvent* event);

Q_SIGNALS:
    void OnListMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeOverList();
    void ReleaseList();
    void Change();
    void ApplyHorizontalExtent();
    void FixExtentRange();
    void HideTip();
    void OuterListMouseMove(const QMouseEvent* event);

    bool FSearch = false;
    bool FShowHintTips = true;
    int FHorizontalExtent = -1;
    QPointer<QWidget> FHintHandle;
    QPointer<QWidget> FListWindow;
    QPointer<QAbstractItemView> FListView;
    TListHint* FHint = nullptr;
    // The last key pressed lets a search run.
    bool FKeyFlag = true;
    // Set while the search itself selects an item.
    bool FSelecting = false;
    bool FFixingRange = false;
    // The edit field has been typed into during the current key.
    bool FEdited = false;
    QPointer<QLineEdit> FWatchedEdit;
};

}  // namespace veskaron
