#pragma once
// The page source as the "Редактор" tab shows it: a text view that stays
// quick on pages of many megabytes and on a page that is one long line.
// Texts go in and out whole, with their exact characters (NUL included).
#include <QByteArray>
#include <QString>
#include <QWidget>
// The view's library spells out Qt's keywords, which this program builds without.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qsciscintilla.h>
#undef slots
#undef signals

namespace veskaron::ui {

class SourceView final : public QsciScintilla {
    Q_OBJECT

public:
    explicit SourceView(QWidget* parent = nullptr);

    // A text in the view's own form: UTF-8, line breaks as line feeds; line
    // separators become CRs (line breaks in the view) when the text holds no
    // CR of its own, and go back as they came.
    struct Shown {
        QByteArray utf8;
        bool crIsSeparator = false;
        qint64 units = 0;  // UTF-16 units
        qint64 lineFeeds = 0;
    };
    // From a text as Text() gives it, or as its UTF-8. Safe on any thread.
    static Shown ToShown(QByteArray utf8);
    static Shown ToShown(const QString& text) { return ToShown(text.toUtf8()); }
    // The start shown, the caret at the start, nothing to undo, not edited.
    void SetShown(const Shown& shown);
    void SetText(const QString& text) { SetShown(ToShown(text)); }
    QString Text() const;

    bool Edited() const { return edited_; }
    void ClearEdited();
    // Characters, with a line break counted as two.
    qint64 Length() const { return units_ + lineFeeds_; }

    // Caret and selection in characters.
    int CaretCharacter() const;
    void SetCaretCharacter(int position, int selected = 0);
    bool HasSelection() const;
    // Caret, selection and scrolling in the view's own positions, for keeping
    // them across a new text.
    int CaretByte() const;
    int SelectionStartByte() const;
    void PlaceCaretNear(int byte);
    struct Scroll {
        int firstLine = 0;
        int x = 0;
    };
    Scroll ScrollPosition() const;
    void SetScrollPosition(Scroll scroll);
    // The font of every style.
    void SetViewFont(const QFont& font);
    void setWrapMode(WrapMode mode) override;
    // Replaces the selection (or inserts at the caret) without an undo step.
    void ReplaceSelectionQuietly(const QString& text);
    // Runs `action` so that it gives one change notification at most.
    template <typename F>
    void AsOneChange(F&& action) {
        Batch batch(*this);
        action();
    }

Q_SIGNALS:
    // The text changed: once a key or tool bar action, not for SetShown.
    void Changed();
    // The first change since the text was set or ClearEdited.
    void EditStarted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class Batch {
    public:
        explicit Batch(SourceView& view);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SourceView& view_;
    };

    void modified(int position, int type, int length);
    void styleNeeded(int end);
    void splitIntoRuns(long from, long to);
    const char* Range(long position, long length) const;

    bool edited_ = false;
    bool setting_ = false;
    // Lone CRs of the page are shown as CRs and read back as line separators.
    bool crIsSeparator_ = false;
    int batch_ = 0;
    bool pendingChange_ = false;
    qint64 units_ = 0;
    qint64 lineFeeds_ = 0;
    long styledEnd_ = 0;
};

}  // namespace veskaron::ui
