#pragma once
// The open document: its bytes, its fields, the snapshot they are compared
// with, and the load, save, preview and block writing that change them. The
// windows are views: they show what the session holds, hand it what the user
// typed, and show the notices its signals carry.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/loader.h"
#include "engine/save.h"
#include "engine/writer.h"

namespace veskaron::session {

// A message for the person at the window. Errors carry the error caption,
// the others "Внимание".
struct Notice {
    enum class Kind { Error, Warning, Information };
    Kind kind = Kind::Error;
    QString text;
    friend bool operator==(const Notice&, const Notice&) = default;
};
using Notices = QList<Notice>;

// What a user's edit sets before the modified state is recomputed, for the
// controls whose every touch counts as a change.
enum class EditMark { Title, Description, Keywords, Source, ContentType, Refresh, Expiry };

// A page text as the source view shows it: line breaks as line feeds, a lone
// CR as a line separator (`loneCr`: the page's lone CRs are shown so). Safe
// on any thread.
struct ShownSource {
    QString text;
    bool loneCr = false;
};
ShownSource ToShownSource(std::string_view bytes, const TextCodec& codec);
// The same text as UTF-8, made without a detour through UTF-16: what a large
// page's view is filled from.
struct ShownSourceUtf8 {
    QByteArray utf8;
    bool loneCr = false;
};
ShownSourceUtf8 ToShownSourceUtf8(std::string_view bytes, const TextCodec& codec);

class DocumentSession final : public QObject {
    Q_OBJECT

public:
    explicit DocumentSession(QObject* parent = nullptr);

    const Document& document() const { return doc_; }
    bool isOpen() const { return !doc_.path.empty(); }
    bool isModified() const { return doc_.modified; }
    const TextCodec& codec() const { return *doc_.codec; }

    // The field values as the view holds them, in the codec's bytes. On a
    // KOI8 page only what differs from the page's own texts counts as typed
    // (see Koi8FieldTexts); `references` receives the characters written as
    // "&#N;". Recomputes the modified state.
    void setFields(MetaFields fields, std::size_t* references = nullptr);
    // The field values for the view's controls: on a KOI8 page the
    // references its saves write for characters KOI8 lacks are shown as
    // those characters (and setFields writes them back as they were).
    MetaFields shownFields() const;
    void markEdited(EditMark mark);
    // The canonical, viewport, Open Graph and Twitter values as the view holds
    // them, in the codec's bytes. Recomputes the modified state.
    void setModernFields(ModernFields fields);
    // Recomputes the modified state, e.g. after the source view was edited.
    void updateModified();
    // Whether the source view's text differs from the one it was given: it
    // counts while it does, and no longer once undone or typed back.
    void setSourceEdited(bool edited);

    // The bytes a save of the session's text writes, and what the source
    // view's characters weigh in them: a line break, and any other character
    // as the save would write it when typed (a reference where the page's
    // charset has no such character).
    qint64 sizeOnSave();
    int lineBreakOnSave() const;
    int bytesOnSave(char32_t typed) const;

    // The source view's text when the user edited it since it was filled,
    // else nothing: the session then holds the text as it stands.
    using EditedSource = std::function<std::optional<QString>()>;
    void setEditedSource(EditedSource source) { editedSource_ = std::move(source); }

    // The page text for the source view: line breaks as line feeds, a lone
    // CR as a line separator. What was given is what the view's edits are
    // told apart from on a KOI8 page.
    QString sourceText();
    // The source view shows ToShownSource of the text at the current
    // revision, made elsewhere.
    void noteSourceShown(bool loneCr);
    // Bumped whenever the session's text changes (load, block, save): a view
    // filled at another revision is stale.
    std::uint64_t textRevision() const { return revision_; }
    // The page bytes with the source view's edits, without keeping them.
    std::string sourceBytes() const;

    // Reads a page. Views refresh from document() on `loaded` (and may hand
    // back the values as their controls hold them through setFields); the
    // snapshot is taken after that. Problems follow as `failed`.
    bool load(const QString& path, const LoadOptions& options);
    // Writes the document to its file. `fieldReferences`: characters the
    // view's reading of the fields wrote as "&#N;".
    bool save(const SaveOptions& options, std::size_t fieldReferences = 0);
    // Writes the preview file and opens it; the document stays as it is.
    // The path written, or empty.
    QString preview(const MetaWriteOptions& writer, const FileOpener& open);
    // Writes the META block into the text, as the source view's button does.
    bool insertMetaBlock(MetaWriteOptions writer);

Q_SIGNALS:
    void loaded(const veskaron::LoadReport& report);
    void modifiedChanged(bool modified);
    // The file was written; `notices` tell of a missing backup or of
    // characters written as references.
    void saved(const veskaron::session::Notices& notices);
    // Something went wrong (a load, save, preview or block refused or failed).
    void failed(const veskaron::session::Notices& notices);
    // The program changed the text (a block was written): views refresh.
    void textChanged();

private:
    void syncEditedSource(std::size_t* references);
    std::string fromSourceText(const QString& text, std::size_t* references) const;
    void takeSnapshot();
    void setModified(bool modified);
    void changeText(std::string text);

    Document doc_;
    // The field texts as the page file has them: on a KOI8 page only what
    // differs from them counts as typed.
    MetaFields pageTexts_;
    EditedSource editedSource_;
    std::uint64_t revision_ = 0;
    bool loading_ = false;
    // The source view shows the page's lone CRs as line separators.
    bool loneCrShown_ = false;
    // A KOI8 page's text as the source view was last given it.
    std::string sourceBase_;
    // The fields or the program's own changes made the document modified
    // (which lasts until the next snapshot), the source view's edits make it
    // modified while they stand.
    bool fieldsModified_ = false;
    bool sourceEdited_ = false;
    // sizeOnSave() of the text at a revision.
    std::uint64_t sizeRevision_ = 0;
    qint64 size_ = -1;
};

}  // namespace veskaron::session
