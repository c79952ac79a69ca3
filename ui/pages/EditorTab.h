#pragma once
// The "Редактор" page: the page source in a plain-text editor with its tool
// bar (new META block, clipboard, undo, word wrap) and the snippet button.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "ui/common/BackgroundWork.h"
#include "ui/pages/SourceView.h"

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QToolButton;

namespace veskaron {
class TBtnPopup;
}

namespace veskaron::ui {

class EditorTab final : public QWidget {
    Q_OBJECT

public:
    explicit EditorTab(QWidget* parent = nullptr);

    // Replaces the whole text in one step: not undoable, not an edit.
    void LoadText(const QString& text);
    // The same, keeping the caret and the scroll position as near as the new text allows.
    void ReplaceText(const QString& text);
    // Makes the next text (UTF-8, as Text() would give it) ready away from
    // the window's thread, so that showing a large page costs only the copy
    // into the view. `revision` names the text; an older text that nobody
    // started is never made.
    void PrepareText(std::uint64_t revision, std::function<QByteArray()> make);
    // Shows the text prepared for `revision` (waiting for it while a thread
    // makes it, making it here when no thread has started it), as LoadText
    // does, or as ReplaceText does with `keepCaret`; false when none was
    // prepared for it.
    bool ShowPreparedText(std::uint64_t revision, bool keepCaret);
    QString Text() const;
    // The user changed the text since it was loaded or saved.
    bool Edited() const;
    void ClearEdited();
    // Length with CR LF line breaks, without copying the text.
    qint64 TextLength() const;
    // How the current size is told: `shown` is the bytes the page file has
    // for the text as it was shown; the edits add what their characters
    // weigh in it (a line break, and each character beyond ASCII).
    void SetSizeMeasure(qint64 shown, int lineBreak, std::function<int(char32_t)> other);
    // The bytes the page would have if saved now.
    qint64 SizeOnSave() const;

    void ResetChangeCounter() { changes_ = 0; }
    void DisableSnippetButton();
    // One menu entry per line, empty lines too.
    void BuildSnippetMenu(const QStringList& lines);
    void InsertSnippet(const QString& snippet);

    // Word wrap is off while a long operation rewrites the text and comes
    // back as the check box says on every way out.
    class WrapPause {
    public:
        explicit WrapPause(EditorTab& tab);
        ~WrapPause();
        WrapPause(const WrapPause&) = delete;
        WrapPause& operator=(const WrapPause&) = delete;

    private:
        EditorTab& tab_;
    };

    SourceView* Editor() const { return editor_; }

Q_SIGNALS:
    void InsertMetaBlock();                       // Button3
    void SourceEdited();                    // the user changed the text
    void CurrentSize(qint64 bytes);         // after the first two changes since a load
    void HintShown(const QString& longHint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sourceTextChanged();
    void wordWrapClicked();
    void ShowSnippet(const QString& snippet);
    void insertShownSnippet();
    void insertMenuSnippet(QAction* entry);
    void UpdateClipboardButtons();
    void ApplyWordWrap(bool on);
    void RunOnEditor(void (SourceView::*action)());

    QPushButton* insertBlockButton_;
    QToolButton* cutButton_;
    QToolButton* copyButton_;
    QToolButton* pasteButton_;
    QToolButton* undoButton_;
    QCheckBox* wordWrapBox_;
    TBtnPopup* snippetButton_;
    QMenu* snippetMenu_;
    SourceView* editor_;
    int changes_ = 0;
    std::uint64_t preparedRevision_ = 0;
    std::shared_ptr<MadeAhead<SourceView::Shown>> prepared_;
    std::optional<qint64> shownSize_;  // the file's bytes for the text shown
};

}  // namespace veskaron::ui
