#include "ui/pages/SourceView.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>

#include "engine/text_codec.h"

namespace veskaron::ui {
namespace {

using Sci = QsciScintillaBase;

// The view measures a line in runs of one style and keeps the widths of runs
// shorter than 30 bytes. A long line split into such runs (all styles look
// the same) is measured from that store after an edit, not glyph by glyph:
// typing in a page that is one long line stays quick.
constexpr int kRun = 26;
constexpr long kPositionStore = 1 << 19;

constexpr char kSeparatorUtf8[] = "\xE2\x80\xA8";  // U+2028

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// UTF-16 units of a UTF-8 text, and its line feeds.
void CountUtf8(const char* bytes, long length, qint64& units, qint64& lineFeeds) {
    qint64 u = 0, lf = 0;
    for (long i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        u += Continuation(b) ? 0 : (b >= 0xF0 ? 2 : 1);
        lf += b == '\n';
    }
    units = u;
    lineFeeds = lf;
}

}  // namespace

SourceView::Batch::Batch(SourceView& view) : view_(view) { ++view_.batch_; }

SourceView::Batch::~Batch() {
    if (--view_.batch_ == 0 && std::exchange(view_.pendingChange_, false)) Q_EMIT view_.Changed();
}

SourceView::SourceView(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(true);
    // Only whole characters come in, so no byte needs a mark of its own; and a
    // character without a mark is measured without looking one up.
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const char key[2] = {static_cast<char>(byte), '\0'};
        SendScintilla(Sci::SCI_CLEARREPRESENTATION, key, static_cast<const char*>(nullptr));
    }
    SendScintilla(Sci::SCI_SETEOLMODE, Sci::SC_EOL_LF);
    for (int margin = 0; margin < 5; ++margin) setMarginWidth(margin, 0);
    SendScintilla(Sci::SCI_SETLEXER, 0UL);  // the styles are set here
    SendScintilla(Sci::SCI_USEPOPUP, 0UL);
    SendScintilla(Sci::SCI_SETPOSITIONCACHE, static_cast<unsigned long>(kPositionStore));
    setWrapMode(WrapNone);
    SendScintilla(Sci::SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(Sci::SCI_SETSCROLLWIDTHTRACKING, 1UL);
    connect(this, &Sci::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                modified(position, type, length);
            });
    connect(this, &Sci::SCN_STYLENEEDED, this, &SourceView::styleNeeded);
}

void SourceView::SetViewFont(const QFont& font) {
    // What the font leaves open (the size) comes from the window's font.
    setFont(font.resolve(QWidget::font()));
    SendScintilla(Sci::SCI_STYLECLEARALL);
    // The text keeps a few pixels from the frame, as in the other text boxes.
    SendScintilla(Sci::SCI_SETMARGINLEFT, 0UL, 4L);
}

void SourceView::setWrapMode(WrapMode mode) {
    QsciScintilla::setWrapMode(mode);
    // Unwrapped, the caret's line keeps its measures while the lines around
    // it are drawn (a long line is not measured again for every picture).
    if (mode == WrapNone) SendScintilla(Sci::SCI_SETLAYOUTCACHE, static_cast<unsigned long>(Sci::SC_CACHE_PAGE));
}

SourceView::Shown SourceView::ToShown(QByteArray utf8) {
    Shown shown{std::move(utf8)};
    QByteArray& bytes = shown.utf8;
    shown.crIsSeparator = !bytes.contains('\r') && bytes.contains(kSeparatorUtf8);
    if (shown.crIsSeparator) bytes.replace(kSeparatorUtf8, "\r");
    CountUtf8(bytes.constData(), static_cast<long>(bytes.size()), shown.units, shown.lineFeeds);
    return shown;
}

void SourceView::SetShown(const Shown& shown) {
    setting_ = true;
    styledEnd_ = 0;
    SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(Sci::SCI_CLEARALL);
    SendScintilla(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(shown.utf8.size()), shown.utf8.constData());
    SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    SendScintilla(Sci::SCI_SETSAVEPOINT);
    SendScintilla(Sci::SCI_GOTOPOS, 0UL);
    setting_ = false;
    crIsSeparator_ = shown.crIsSeparator;
    units_ = shown.units;
    lineFeeds_ = shown.lineFeeds;
    // Shared, not copied: the view holds its own copy of the bytes.
    base_ = shown.utf8;
    diffFrom_ = diffTail_ = LONG_MAX;
    bytesDelta_ = 0;
    const bool was = std::exchange(edited_, false);
    if (was) Q_EMIT EditedChanged(false);
    // A new text is a change for those who count them, as every fill was.
    Q_EMIT Changed();
}

QString SourceView::Text() const {
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    const auto* bytes = reinterpret_cast<const char*>(SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    QString text = QString::fromUtf8(bytes, length);
    if (crIsSeparator_) text.replace(u'\r', QChar::LineSeparator);
    return text;
}

void SourceView::ClearEdited() {
    bytesDelta_ = 0;
    SendScintilla(Sci::SCI_SETSAVEPOINT);
    if (!edited_) return;  // the text is the base already
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    base_ = QByteArray(Range(0, length), length);
    diffFrom_ = diffTail_ = LONG_MAX;
    edited_ = false;
    Q_EMIT EditedChanged(false);
}

void SourceView::SetByteMeasure(int lineBreak, CharBytes other) {
    lineBreakBytes_ = lineBreak;
    charBytes_ = std::move(other);
    bmpBytes_.assign(0x10000, -1);
    otherBytes_.clear();
}

qint64 SourceView::Bytes(const char* utf8, long length) {
    qint64 bytes = 0;
    const std::string_view text(utf8, static_cast<std::size_t>(length));
    for (std::size_t i = 0, step = 1; i < text.size(); i += step) {
        const auto b = static_cast<unsigned char>(text[i]);
        step = 1;
        if (b < 0x80) {
            bytes += b == '\n' ? lineBreakBytes_ : 1;
            continue;
        }
        const char32_t cp = DecodeUtf8At(text, i, step);
        if (!charBytes_) {
            bytes += static_cast<qint64>(step);
        } else if (cp < 0x10000) {
            std::int8_t& known = bmpBytes_[cp];
            if (known < 0) known = static_cast<std::int8_t>(std::clamp(charBytes_(cp), 0, 127));
            bytes += known;
        } else {
            const auto found = otherBytes_.find(cp);
            bytes += found != otherBytes_.end() ? found->second : otherBytes_[cp] = charBytes_(cp);
        }
    }
    return bytes;
}

// The text can differ from the base only where it was changed; comparing
// that stretch when the lengths agree finds a text typed or undone back.
void SourceView::NoteChanged(long position, long inserted) {
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    diffFrom_ = std::min(diffFrom_, position);
    diffTail_ = std::min(diffTail_, length - position - inserted);
}

bool SourceView::SameAsBase() {
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    if (length != base_.size()) return false;
    const long from = std::min(diffFrom_, length);
    const long to = std::max(from, length - std::min(diffTail_, length));
    if (to > from && std::memcmp(Range(from, to - from), base_.constData() + from, static_cast<std::size_t>(to - from)) != 0)
        return false;
    diffFrom_ = diffTail_ = LONG_MAX;
    return true;
}

int SourceView::CaretCharacter() const {
    const long caret = SendScintilla(Sci::SCI_GETCURRENTPOS);
    return static_cast<int>(SendScintilla(Sci::SCI_COUNTCHARACTERS, 0UL, caret));
}

void SourceView::SetCaretCharacter(int position, int selected) {
    const long start = SendScintilla(Sci::SCI_POSITIONRELATIVE, 0UL, static_cast<long>(position));
    const long end = SendScintilla(Sci::SCI_POSITIONRELATIVE, static_cast<unsigned long>(start),
                                   static_cast<long>(selected));
    SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(start), end);
}

bool SourceView::HasSelection() const { return !SendScintilla(Sci::SCI_GETSELECTIONEMPTY); }

int SourceView::CaretByte() const { return static_cast<int>(SendScintilla(Sci::SCI_GETCURRENTPOS)); }

int SourceView::SelectionStartByte() const {
    return static_cast<int>(SendScintilla(Sci::SCI_GETSELECTIONSTART));
}

void SourceView::PlaceCaretNear(int byte) {
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    long position = std::clamp<long>(byte, 0, length);
    while (position > 0 && Continuation(static_cast<unsigned char>(
                               SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)))))
        --position;
    SendScintilla(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(position));
}

SourceView::Scroll SourceView::ScrollPosition() const {
    return {static_cast<int>(SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE)),
            static_cast<int>(SendScintilla(Sci::SCI_GETXOFFSET))};
}

void SourceView::SetScrollPosition(Scroll scroll) {
    SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(scroll.firstLine));
    SendScintilla(Sci::SCI_SETXOFFSET, static_cast<unsigned long>(scroll.x));
}

void SourceView::ReplaceSelectionQuietly(const QString& text) {
    Batch batch(*this);
    QByteArray bytes = text.toUtf8();
    if (crIsSeparator_) bytes.replace(kSeparatorUtf8, "\r");
    const long start = SendScintilla(Sci::SCI_GETSELECTIONSTART);
    SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start),
                  SendScintilla(Sci::SCI_GETSELECTIONEND));
    // Nothing to undo afterwards: undo must not bring back what was replaced
    // (nor anything before it).
    SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    SendScintilla(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(start + bytes.size()));
}

void SourceView::keyPressEvent(QKeyEvent* event) {
    Batch batch(*this);
    QsciScintilla::keyPressEvent(event);
}

void SourceView::inputMethodEvent(QInputMethodEvent* event) {
    Batch batch(*this);
    QsciScintilla::inputMethodEvent(event);
}

// The menu the other text boxes of the window have, in the same words.
void SourceView::contextMenuEvent(QContextMenuEvent* event) {
    const auto tr = [](const char* text) { return QCoreApplication::translate("QWidgetTextControl", text); };
    QMenu menu(this);
    const auto add = [&](const char* text, QKeySequence::StandardKey key, bool enabled, auto action) {
        QAction* entry = menu.addAction(tr(text), this, [this, action] { AsOneChange(action); });
        entry->setShortcut(key);
        entry->setEnabled(enabled);
    };
    const bool selected = HasSelection();
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    add("&Undo", QKeySequence::Undo, isUndoAvailable(), [this] { undo(); });
    add("&Redo", QKeySequence::Redo, isRedoAvailable(), [this] { redo(); });
    menu.addSeparator();
    add("Cu&t", QKeySequence::Cut, selected, [this] { cut(); });
    add("&Copy", QKeySequence::Copy, selected, [this] { copy(); });
    add("&Paste", QKeySequence::Paste, clipboard && clipboard->hasText(), [this] { paste(); });
    add("Delete", QKeySequence::UnknownKey, selected, [this] { removeSelectedText(); });
    menu.addSeparator();
    add("Select All", QKeySequence::SelectAll, SendScintilla(Sci::SCI_GETLENGTH) > 0, [this] { selectAll(); });
    menu.exec(event->globalPos());
}

const char* SourceView::Range(long position, long length) const {
    return reinterpret_cast<const char*>(
        SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), length));
}

void SourceView::modified(int position, int type, int length) {
    if (setting_) return;
    if (type & Sci::SC_MOD_BEFOREDELETE) {
        qint64 units = 0, lineFeeds = 0;
        const char* removed = Range(position, length);
        CountUtf8(removed, length, units, lineFeeds);
        units_ -= units;
        lineFeeds_ -= lineFeeds;
        bytesDelta_ -= Bytes(removed, length);
        return;
    }
    const bool inserted = type & Sci::SC_MOD_INSERTTEXT;
    if (!inserted && !(type & Sci::SC_MOD_DELETETEXT)) return;
    if (inserted) {
        qint64 units = 0, lineFeeds = 0;
        const char* added = Range(position, length);
        CountUtf8(added, length, units, lineFeeds);
        units_ += units;
        lineFeeds_ += lineFeeds;
        bytesDelta_ += Bytes(added, length);
        if (position < styledEnd_) styledEnd_ += length;
    } else if (position < styledEnd_) {
        styledEnd_ = std::max<long>(position, styledEnd_ - length);
    }
    // Split the edited place into runs at once, before the line is measured
    // again, and keep the runs after it: they moved with the text.
    if (position < styledEnd_) {
        const long styled = styledEnd_;
        splitIntoRuns(position - kRun, position + (inserted ? length : 0) + kRun);
        SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(styled), 0L);
        styledEnd_ = styled;
    }
    NoteChanged(position, inserted ? length : 0);
    const bool edited = !SameAsBase();
    if (std::exchange(edited_, edited) != edited) Q_EMIT EditedChanged(edited);
    if (batch_ > 0) {
        pendingChange_ = true;
    } else {
        Q_EMIT Changed();
    }
}

void SourceView::styleNeeded(int end) {
    splitIntoRuns(SendScintilla(Sci::SCI_GETENDSTYLED), end);
    styledEnd_ = std::max<long>(styledEnd_, SendScintilla(Sci::SCI_GETENDSTYLED));
}

void SourceView::splitIntoRuns(long from, long to) {
    const long length = SendScintilla(Sci::SCI_GETLENGTH);
    from = std::max(0L, from);
    to = std::min(length, to);
    const auto byteAt = [this](long i) {
        return static_cast<unsigned char>(SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(i)));
    };
    while (from > 0 && Continuation(byteAt(from))) --from;
    while (to < length && Continuation(byteAt(to))) ++to;
    if (to <= from) return;
    const char* bytes = Range(from, to - from);
    std::string styles(static_cast<std::size_t>(to - from), '\0');
    char style = from > 0 ? char((SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(from - 1)) & 1) ^ 1)
                          : char(0);
    int run = 0;
    for (long i = 0; i < to - from; ++i) {
        if (!Continuation(static_cast<unsigned char>(bytes[i])) && run >= kRun) {
            style ^= 1;
            run = 0;
        }
        ++run;
        styles[static_cast<std::size_t>(i)] = style;
    }
    SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(from), 0L);
    SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<unsigned long>(styles.size()), styles.data());
}

}  // namespace veskaron::ui
