#pragma once
// Dialogs for tests: answers from queues and records what was shown, so that
// no test blocks on a modal exec().
#include <deque>
#include <functional>
#include <vector>

#include "ui/common/Dialogs.h"

namespace veskaron::ui {

// Answers from queues and records what was shown. An empty queue answers
// Cancel / nothing; an empty modal queue rejects the window.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        MessageKind kind;  // for AskYesNo: its icon
        QString caption;
        QString text;
    };
    std::deque<Answer> answers;                       // AskYesNoCancel / AskYesNo
    std::deque<std::optional<QString>> texts;         // InputText
    std::deque<std::optional<QString>> fileNames;     // OpenFileName / SaveFileName
    // Each modal window is handed to the next function, which may work its
    // controls (click OK, ...); the window's result() is returned.
    std::deque<std::function<void(QDialog&)>> modal;
    std::vector<Shown> shown;                         // messages and questions, in order
    std::vector<QUrl> opened;                         // OpenUrl
    bool openWorks = true;                            // what OpenUrl tells at once
    std::vector<QString> fileFilters;                 // the filters of the file dialogs asked

    void Message(QWidget* parent, MessageKind kind, const QString& caption,
                 const QString& text) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) override;
    Answer AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                    MessageKind icon = MessageKind::Question) override;
    std::optional<QString> InputText(QWidget* parent, const QString& caption,
                                     const QString& prompt, const QString& initial) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& caption,
                                        const QString& dir, const QString& filter) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& caption,
                                        const QString& dir, const QString& filter) override;
    int ExecModal(QDialog& dialog) override;
    void OpenUrl(const QUrl& url, Opened done = {}) override;
};

// Installs a ScriptedDialogs for the lifetime of the object (tests).
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScriptedDialogs* operator->() { return dialogs_; }
    ScriptedDialogs& operator*() { return *dialogs_; }

private:
    ScriptedDialogs* dialogs_;
};

}  // namespace veskaron::ui
