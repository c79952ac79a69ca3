#include "tests/support/ScriptedDialogs.h"

#include <QDialog>

namespace veskaron::ui {
namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

std::optional<QString> TakeText(std::deque<std::optional<QString>>& queue) {
    std::optional<QString> value;
    if (!queue.empty()) {
        if (queue.front().has_value()) value.emplace(*queue.front());
        queue.pop_front();
    }
    return value;
}

}  // namespace

void ScriptedDialogs::Message(QWidget*, MessageKind kind, const QString& caption,
                              const QString& text) {
    shown.push_back({kind, caption, text});
}

Answer ScriptedDialogs::AskYesNoCancel(QWidget*, const QString& caption, const QString& text) {
    shown.push_back({MessageKind::Question, caption, text});
    return TakeFront(answers, Answer::Cancel);
}

Answer ScriptedDialogs::AskYesNo(QWidget*, const QString& caption, const QString& text,
                                 MessageKind icon) {
    shown.push_back({icon, caption, text});
    return TakeFront(answers, Answer::No);
}

std::optional<QString> ScriptedDialogs::InputText(QWidget*, const QString& caption,
                                                  const QString& prompt, const QString&) {
    shown.push_back({MessageKind::Question, caption, prompt});
    return TakeText(texts);
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*, const QString&, const QString&,
                                                     const QString& filter) {
    fileFilters.push_back(filter);
    return TakeText(fileNames);
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const QString&, const QString&,
                                                     const QString& filter) {
    fileFilters.push_back(filter);
    return TakeText(fileNames);
}

int ScriptedDialogs::ExecModal(QDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    auto script = TakeFront(modal, std::function<void(QDialog&)>{});
    if (script) script(dialog);
    return dialog.result();
}

void ScriptedDialogs::OpenUrl(const QUrl& url, Opened done) {
    opened.push_back(url);
    if (done) done(openWorks);
}

ScopedScriptedDialogs::ScopedScriptedDialogs() {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    SetDialogs(std::move(dialogs));
}

ScopedScriptedDialogs::~ScopedScriptedDialogs() { SetDialogs(nullptr); }

}  // namespace veskaron::ui
