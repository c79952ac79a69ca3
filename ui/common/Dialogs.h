#pragma once
// Every modal question, message, text input, file dialog, modal window and
// shell open of the windows goes through one replaceable interface: the Qt
// implementation shows them to a person; tests install one that answers from
// a queue, so that they never block on exec().
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace veskaron::ui {

enum class Answer { Yes, No, Cancel, Ok };

enum class MessageKind { Error, Warning, Information, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message with one OK button.
    virtual void Message(QWidget* parent, MessageKind kind, const QString& caption,
                         const QString& text) = 0;
    // Yes / No / Cancel with a question icon.
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Yes / No, with a question icon unless `icon` names another.
    virtual Answer AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                            MessageKind icon = MessageKind::Question) = 0;
    // A line of text; empty when the user cancelled.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& caption,
                                             const QString& prompt, const QString& initial) = 0;
    // File dialogs; `filter` in Qt's form ("Файл ... (*.fkh)"). Empty when cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& caption,
                                                const QString& dir, const QString& filter) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& caption,
                                                const QString& dir, const QString& filter) = 0;
    // Shows a window modally and returns its result (QDialog::Accepted / Rejected).
    virtual int ExecModal(QDialog& dialog) = 0;
    // Opens a file or link with the desktop's default program. `opened`
    // learns, now or later from the event loop, whether a program took it:
    // false when none could be started.
    using Opened = std::function<void(bool)>;
    virtual void OpenUrl(const QUrl& url, Opened opened = {}) = 0;

    // Shorthands for the two captions the program uses.
    void Error(QWidget* parent, const QString& text);
};

// The one instance the windows use; the Qt one unless a test replaced it.
Dialogs& CurrentDialogs();
// Installs a replacement (tests); nullptr restores the Qt implementation.
void SetDialogs(std::unique_ptr<Dialogs> dialogs);

class QtDialogs final : public Dialogs {
public:
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
    void OpenUrl(const QUrl& url, Opened opened = {}) override;
};

}  // namespace veskaron::ui
