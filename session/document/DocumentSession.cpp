#include "session/document/DocumentSession.h"
#include "messages/qt_text.h"

#include "engine/modern_head.h"
#include "messages/page_texts.h"

#include <QDir>
#include <QFileInfo>
#include <initializer_list>
#include <utility>

#include "engine/translations.h"
#include "platform/error_text.h"
#include "session/document/Koi8Fields.h"
#include "messages/window_texts.h"
#include "session/document/SaveJournal.h"

namespace veskaron::session {
namespace {

// The free texts of the fields, as the view types them.
constexpr std::initializer_list<std::string MetaFields::*> kTexts = {
    &MetaFields::Title,      &MetaFields::Author,       &MetaFields::Copyright,   &MetaFields::Description,
    &MetaFields::Keywords,   &MetaFields::Generator,    &MetaFields::ProgId,      &MetaFields::Url,
    &MetaFields::RefreshUrl, &MetaFields::ExpiriesText, &MetaFields::CharsetText, &MetaFields::Location};


Notice ErrorNotice(QString text) { return {Notice::Kind::Error, std::move(text)}; }

}  // namespace

DocumentSession::DocumentSession(QObject* parent) : QObject(parent) {}

void DocumentSession::setFields(MetaFields fields, std::size_t* references) {
    if (const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name)) {
        for (std::string MetaFields::*text : kTexts)
            fields.*text = koi8->MergeShown(pageTexts_.*text, fields.*text, references);
    }
    doc_.fields = std::move(fields);
    updateModified();
}

MetaFields DocumentSession::shownFields() const {
    MetaFields shown = doc_.fields;
    if (const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name)) {
        for (std::string MetaFields::*text : kTexts) shown.*text = koi8->Shown(shown.*text);
    }
    return shown;
}

void DocumentSession::setModernFields(ModernFields fields) {
    doc_.modern = std::move(fields);
    updateModified();
}

void DocumentSession::markEdited(EditMark mark) {
    EditMarks& marks = doc_.marks;
    switch (mark) {
    case EditMark::Title: marks.titleEdited = true; break;
    case EditMark::Description: marks.descriptionEdited = true; break;
    case EditMark::Keywords: marks.keywordsEdited = true; break;
    case EditMark::Source: marks.sourceEdited = true; break;
    case EditMark::ContentType: marks.contentTypeToggled = true; break;
    case EditMark::Refresh: marks.refreshTouched = true; break;
    case EditMark::Expiry: marks.expiryTouched = true; break;
    }
    updateModified();
}

void DocumentSession::updateModified() {
    if (!isOpen() || loading_) return;
    // Once the fields made it modified, a document stays so until the next snapshot.
    fieldsModified_ = fieldsModified_ || doc_.Differs();
    setModified(fieldsModified_ || sourceEdited_);
}

void DocumentSession::setSourceEdited(bool edited) {
    sourceEdited_ = edited;
    updateModified();
}

qint64 DocumentSession::sizeOnSave() {
    if (size_ < 0 || sizeRevision_ != revision_) {
        size_ = static_cast<qint64>(FileBytesForSave(doc_, doc_.page.text).bytes.size());
        sizeRevision_ = revision_;
    }
    return size_;
}

int DocumentSession::lineBreakOnSave() const {
    return static_cast<int>(FileBytesForSave(doc_, "\r\n").bytes.size() - FileBytesForSave(doc_, "").bytes.size());
}

int DocumentSession::bytesOnSave(char32_t typed) const {
    if (typed == QChar::LineSeparator && loneCrShown_) return 1;  // the page's lone CR
    std::string utf8;
    AppendUtf8(utf8, typed);
    std::string held = doc_.codec->FromUtf8(utf8).bytes;
    if (const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name)) held = koi8->Merge({}, held, nullptr);
    return static_cast<int>(FileBytesForSave(doc_, held).bytes.size() - FileBytesForSave(doc_, "").bytes.size());
}

void DocumentSession::setModified(bool modified) {
    const bool was = doc_.modified;
    doc_.modified = modified;
    if (was != modified) Q_EMIT modifiedChanged(modified);
}

void DocumentSession::takeSnapshot() {
    const bool was = doc_.modified;
    fieldsModified_ = sourceEdited_ = false;
    doc_.Remember();
    pageTexts_ = doc_.fields;
    if (was) Q_EMIT modifiedChanged(false);
}

// ---- The source view's text ----

ShownSource ToShownSource(std::string_view bytes, const TextCodec& codec) {
    ShownSource shown{FromUtf8(codec.ToUtf8(bytes))};
    QString& text = shown.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A lone CR would be a line of its own in the view and come back as a
    // whole line end; a line separator looks the same and goes back as the
    // CR it was (unless the page holds line separators of its own).
    shown.loneCr = text.contains(u'\r') && !text.contains(QChar::LineSeparator);
    if (shown.loneCr) text.replace(u'\r', QChar::LineSeparator);
    return shown;
}

ShownSourceUtf8 ToShownSourceUtf8(std::string_view bytes, const TextCodec& codec) {
    const std::string utf8 = codec.ToUtf8(bytes);
    ShownSourceUtf8 shown;
    QByteArray& text = shown.utf8;
    text.resize(static_cast<qsizetype>(utf8.size()));
    char* out = text.data();
    bool cr = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
            cr = true;
        }
        *out++ = c;
    }
    text.truncate(out - text.data());
    // As ToShownSource decides it.
    constexpr char kLineSeparator[] = "\xE2\x80\xA8";
    shown.loneCr = cr && !text.contains(kLineSeparator);
    if (shown.loneCr) text.replace('\r', kLineSeparator);
    return shown;
}

QString DocumentSession::sourceText() {
    ShownSource shown = ToShownSource(doc_.page.text, *doc_.codec);
    noteSourceShown(shown.loneCr);
    return std::move(shown.text);
}

void DocumentSession::noteSourceShown(bool loneCr) {
    // What the view was given is what its typed text is told apart from.
    if (Koi8FieldTexts::For(doc_.encoding.name)) {
        sourceBase_ = doc_.page.text;
    } else {
        sourceBase_.clear();
    }
    loneCrShown_ = loneCr;
}

std::string DocumentSession::fromSourceText(const QString& shown, std::size_t* references) const {
    QString text = shown;
    if (loneCrShown_) text.replace(QChar::LineSeparator, u'\r');
    text.replace(u'\n', QStringLiteral("\r\n"));
    EncodeResult encoded = doc_.codec->FromUtf8(text.toStdString());
    if (references) *references += encoded.references;
    if (const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name))
        return koi8->Merge(sourceBase_, encoded.bytes, references);
    return std::move(encoded.bytes);
}

void DocumentSession::syncEditedSource(std::size_t* references) {
    if (!editedSource_) return;
    if (const std::optional<QString> edited = editedSource_())
        doc_.page.text = fromSourceText(*edited, references);
}

std::string DocumentSession::sourceBytes() const {
    if (editedSource_) {
        if (const std::optional<QString> edited = editedSource_()) return fromSourceText(*edited, nullptr);
    }
    return doc_.page.text;
}

void DocumentSession::changeText(std::string text) {
    doc_.page.text = std::move(text);
    ++revision_;
}

// ---- Load ----

bool DocumentSession::load(const QString& path, const LoadOptions& options) {
    const PageLoad load = LoadPage(doc_, path.toStdString(), options);
    if (!load.fileOk) {
        Q_EMIT failed({ErrorNotice(FromUtf8(RussianFileError(load.fileError)))});
        return false;
    }
    ++revision_;
    // The page as read is the page a save of it writes.
    size_ = QFileInfo(path).size();
    sizeRevision_ = revision_;
    sourceBase_.clear();
    loneCrShown_ = false;
    pageTexts_ = doc_.fields;
    // The views show the values and hand back what their controls hold.
    loading_ = true;
    Q_EMIT loaded(load.report);
    loading_ = false;
    doc_.modified = true;  // so that the snapshot announces the fresh state
    takeSnapshot();

    Notices notices;
    for (const LoadWarning warning : load.report.warnings) notices << ErrorNotice(FromUtf8(LoadWarningText(warning)));
    if (!load.report.ok)
        notices << ErrorNotice(msg::kLoadStopped.arg(QDir::toNativeSeparators(path), FromUtf8(load.report.error)));
    if (!notices.isEmpty()) Q_EMIT failed(notices);
    return true;
}

// ---- Save, preview, the block ----

bool DocumentSession::save(const SaveOptions& options, std::size_t fieldReferences) {
    if (!isOpen()) return false;
    std::size_t references = fieldReferences;
    syncEditedSource(&references);
    const std::string before = doc_.page.text;
    // The typed characters the text could not hold; the save adds those its
    // own charset conversion writes as references.
    doc_.references = references;
    const bool was = doc_.modified;
    // Journaled first, so that the save can be taken back.
    PageSaveJournal journal(kMainWindowOrigin);
    SaveOptions journaled = options;
    journal.Attach(journaled);
    const SaveResult result = SaveDocument(doc_, journaled);
    journal.Done(result.written);
    // Saved as edited, the text's own tags are the values now.
    if (options.asEdited) doc_.modern = ReadModernHead(doc_.page.text).fields;
    // The writer's block (or a <meta charset> renamed for another charset) is
    // part of the text now, whether or not the file took it.
    if (doc_.page.text != before) {
        ++revision_;
        Q_EMIT textChanged();
    }

    Notices notices;
    if (!result.refusal.empty()) notices << ErrorNotice(msg::RefusalText(result.refusal));
    if (!result.error.empty()) {
        notices << ErrorNotice(FromUtf8(RussianFileError(result.error)));
    } else if (!result.warning.empty()) {
        notices << Notice{Notice::Kind::Warning, FromUtf8(RussianFileError(result.warning))};
    }
    if (result.written && result.references > 0) {
        notices << Notice{Notice::Kind::Information,
                          msg::kReferencesWritten.arg(FromUtf8(doc_.encoding.name)).arg(result.references)};
    }
    if (result.written) {
        size_ = QFileInfo(FromUtf8(doc_.path)).size();
        sizeRevision_ = revision_;
    }
    if (result.saved) {
        doc_.modified = was;
        takeSnapshot();
    } else {
        // The file does not hold what the window shows.
        fieldsModified_ = true;
        if (!was) Q_EMIT modifiedChanged(true);
    }
    if (result.written) {
        Q_EMIT saved(notices);
    } else {
        Q_EMIT failed(notices);
    }
    return result.saved;
}

QString DocumentSession::preview(const MetaWriteOptions& writer, const FileOpener& open) {
    if (!isOpen()) return {};
    // The view's edits go into the preview, not into the session's text: an
    // edit undone later must leave the text as it was.
    std::optional<std::string> held;
    if (editedSource_) {
        if (const std::optional<QString> edited = editedSource_())
            held = std::exchange(doc_.page.text, fromSourceText(*edited, nullptr));
    }
    const PreviewResult result = WritePreview(doc_, writer, open);
    if (held) doc_.page.text = std::move(*held);
    Notices notices;
    if (!result.refusal.empty()) notices << ErrorNotice(msg::RefusalText(result.refusal));
    if (!result.error.empty()) notices << ErrorNotice(FromUtf8(RussianFileError(result.error)));
    if (!notices.isEmpty()) Q_EMIT failed(notices);
    return result.written ? QString::fromStdString(result.path) : QString();
}

bool DocumentSession::insertMetaBlock(MetaWriteOptions writer) {
    if (!isOpen()) return false;
    syncEditedSource(nullptr);
    writer.kind = doc_.kind;
    std::string text = doc_.page.text;
    const WriteResult result = WriteMetaBlock(text, doc_.fields, writer);
    if (!result.Done()) {
        Q_EMIT failed({ErrorNotice(msg::RefusalText(RefusalReason{result.refusal, {}}))});
        return false;
    }
    changeText(std::move(text));
    Q_EMIT textChanged();
    markEdited(EditMark::Source);
    return true;
}

}  // namespace veskaron::session
