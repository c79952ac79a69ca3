#pragma once
// The page source as the "Редактор" tab shows it: a text view that stays
// quick on pages of many megabytes and on a page that is one long line.
// Texts go in and out whole, with their exact characters (NUL included).
#include <QByteArray>
#include <QString>
#include <QWidget>
#include <climits>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>
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

    // The text differs from the one set (or the one there at ClearEdited):
    // undoing every change, or typing back what was removed, is no edit.
    bool Edited() const { return edited_; }
    void ClearEdited();
    // Characters, with a line break counted as two.
    qint64 Length() const { return units_ + lineFeeds_; }

    // What the characters weigh in the page's file: a line break, and each
    // character beyond ASCII (asked once per character). The bytes gained
    // or lost since the text was set are counted with it.
    using CharBytes = std::function<int(char32_t)>;
    void SetByteMeasure(int lineBreak, CharBytes other);
    qint64 BytesSinceSet() const { return bytesDelta_; }

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
    // Edited() changed: the text left the one set, or came back to it.
    void EditedChanged(bool edited);

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
    qint64 Bytes(const char* utf8, long length);
    void NoteChanged(long position, long inserted);
    bool SameAsBase();

    bool edited_ = false;
    bool setting_ = false;
    // Lone CRs of the page are shown as CRs and read back as line separators.
    bool crIsSeparator_ = false;
    int batch_ = 0;
    bool pendingChange_ = false;
    qint64 units_ = 0;
    qint64 lineFeeds_ = 0;
    long styledEnd_ = 0;
    // The text as set, and where the text may differ from it now: from
    // diffFrom_ on, up to the last diffTail_ bytes, which are the base's own.
    QByteArray base_;
    long diffFrom_ = LONG_MAX;
    long diffTail_ = LONG_MAX;
    int lineBreakBytes_ = 2;
    CharBytes charBytes_;
    std::vector<std::int8_t> bmpBytes_;  // known weights below U+10000, -1 unknown
    std::unordered_map<char32_t, int> otherBytes_;
    qint64 bytesDelta_ = 0;
};

}  // namespace veskaron::ui
