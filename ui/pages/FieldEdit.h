#pragma once
// What the field pages share: the kinds of edit they report to the main
// window and the moves of texts between the document's bytes and the controls.
#include <QString>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/text_codec.h"

class QComboBox;
class QWidget;

namespace veskaron::ui {

// Which mark an edit sets before the modified state is recomputed; Compare
// sets none (the snapshot comparison sees the change).
enum class FieldEdit { Compare, Title, Description, Keywords, ContentType, Refresh, Expiry };

// Fills a fixed list (the items are the program's UTF-8 texts).
void FillItems(QComboBox* box, std::span<const std::string_view> items);
// An editable box with a history: Enter is handled by the history, not by the box.
void MakeHistoryBox(QComboBox* box);

// Shows a text without touching the box's list or selection.
void SetBoxText(QComboBox* box, const QString& text);
// Selects an index (-1: nothing selected).
void SetBoxIndex(QComboBox* box, int index);

// The page's own words in a fixed list of `listed` items: an extra last item,
// marked and with a tooltip. The box shows the list item `index` when it is
// one (the words then still stand until another item is chosen), else the
// page's item; `selectOwn` shows the page's item whatever the index.
// TrackOwnWords must be connected before any other handler of the box.
void TrackOwnWords(QComboBox* box, int listed);
void ShowOwnWords(QComboBox* box, int listed, int index, const std::string& own, const QString& shown,
                  bool selectOwn = false);
// The index for the field and, in `own`, the words that still stand (empty
// once the user chose another item).
int ReadOwnWords(const QComboBox* box, int listed, std::string& own);

// Multi-line texts: CR LF in the document, one line feed in the widgets.
QString MemoToQt(const TextCodec& codec, std::string_view bytes);
std::string MemoFromQt(const TextCodec& codec, const QString& text, std::size_t* references);

// A label and its control on one row; the label's buddy is the control.
QWidget* Row(QWidget* label, QWidget* control);

}  // namespace veskaron::ui
