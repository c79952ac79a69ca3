#pragma once
// Text between the open document's bytes and the widgets, always through the
// document's codec.
#include <QPlainTextEdit>
#include <QString>
#include <QTextDocument>
#include <string>
#include <string_view>

#include "engine/text_codec.h"
#include "messages/qt_text.h"

namespace veskaron::ui {

inline QString ToQt(const TextCodec& codec, std::string_view bytes) {
    return QString::fromStdString(codec.ToUtf8(bytes));
}

// Characters the codec cannot hold become "&#N;"; `references` (optional)
// receives how many.
inline std::string FromQt(const TextCodec& codec, const QString& text,
                          std::size_t* references = nullptr) {
    EncodeResult r = codec.FromUtf8(text.toStdString());
    if (references) *references += r.references;
    return std::move(r.bytes);
}

// What a plain text box holds, character for character: toPlainText() turns
// no-break spaces into spaces and line separators into line breaks; here only
// the box's own lines become line breaks.
inline QString PlainText(const QPlainTextEdit& box) {
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

}  // namespace veskaron::ui
