#pragma once
// What the keyword generator window reads from the main window while it is
// open, and how it hands the composed keywords back.
#include <QString>
#include <string>

#include "engine/text_codec.h"

namespace veskaron::session {
class Settings;
}

namespace veskaron::ui {

class KeywordHost {
public:
    virtual ~KeywordHost() = default;
    // The source editor's text as document bytes (CR LF line ends).
    virtual std::string SourceBytes() const = 0;
    // The codec of the open document.
    virtual const TextCodec& Codec() const = 0;
    // The description and keywords fields as shown.
    virtual QString Description() const = 0;
    virtual QString Keywords() const = 0;
    // Replaces the keywords field; the main window treats it as an edit.
    virtual void SetKeywords(const QString& keywords) = 0;
    // The generator's minimum word length at the moment of use.
    virtual int MinWord() const = 0;
    // The settings object of the run; null when the host has none to give,
    // and the window then reads the common record and the store.
    virtual session::Settings* RunSettings() const { return nullptr; }
};

}  // namespace veskaron::ui
