#include "ui/site/SiteCsvFiles.h"

#include <QFile>

#include "messages/window_texts.h"
#include "messages/qt_text.h"
#include "session/site/SiteCsv.h"
#include "ui/common/BackgroundWork.h"
#include "ui/common/Dialogs.h"
#include "ui/site/ListedLines.h"
#include "ui/site/SiteWindow.h"

namespace veskaron::ui {

SiteCsvFiles::SiteCsvFiles(SiteWindow& window, session::SiteFilter& filter) : window_(window), filter_(filter) {}

void SiteCsvFiles::exportCsv() {
    session::SiteModel& model = window_.model();
    if (window_.busy() || model.rowCount() == 0) return;
    const auto file = CurrentDialogs().SaveFileName(&window_, msg::site::kExportCaption,
                                                    window_.folder() + QStringLiteral("/site.csv"),
                                                    msg::site::kCsvFilter);
    if (!file || file->isEmpty()) return;
    // The rows as the table shows them: filtered and sorted.
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(filter_.rowCount()));
    for (int r = 0; r < filter_.rowCount(); ++r) rows.push_back(filter_.mapToSource(filter_.index(r, 0)).row());
    // The file is written on another thread: a CSV of a large site is tens of
    // megabytes, and the disk may be slow or far away.
    RunThenCall(
        &window_,
        [path = QFile::encodeName(*file).toStdString(), bytes = session::SiteCsv(model, rows)] {
            return WriteFileAtomically(path, bytes);
        },
        [this](FileStatus written) {
            if (!written.ok) CurrentDialogs().Error(&window_, msg::site::kExportFailed.arg(FromUtf8(written.error)));
        });
}

void SiteCsvFiles::importCsv() {
    if (window_.busy() || window_.model().rowCount() == 0) return;
    const auto file =
        CurrentDialogs().OpenFileName(&window_, msg::site::kImportCaption, window_.folder(), msg::site::kCsvFilter);
    if (!file || file->isEmpty()) return;
    RunThenCall(
        &window_, [path = QFile::encodeName(*file).toStdString()] { return ReadWholeFile(path); },
        [this](FileRead read) { takeCsv(read); });
}

void SiteCsvFiles::takeCsv(const FileRead& read) {
    if (!read.ok) {
        CurrentDialogs().Error(&window_, msg::site::kImportFailed.arg(FromUtf8(read.error)));
        return;
    }
    // Rows read again meanwhile would lose what the file sets: it waits for them.
    if (window_.busy()) {
        CurrentDialogs().Error(&window_, msg::site::kImportFailed.arg(msg::site::kImportBusy));
        return;
    }
    const session::SiteCsvImport taken = session::ImportSiteCsv(window_.model(), read.bytes);
    if (!taken.ok) {
        CurrentDialogs().Error(&window_, msg::site::kImportFailed.arg(taken.error));
        return;
    }
    QString report = taken.note + QStringLiteral("\n") + msg::site::kImportDone.arg(taken.edits).arg(taken.pages);
    if (!taken.outsidePaths.isEmpty())
        report += QStringLiteral("\n\n") + msg::site::kImportOutsidePaths.arg(Listed(taken.outsidePaths));
    if (!taken.unknownPaths.isEmpty())
        report += QStringLiteral("\n\n") + msg::site::kImportUnknownPaths.arg(Listed(taken.unknownPaths));
    if (!taken.unreadPages.isEmpty())
        report += QStringLiteral("\n\n") + msg::site::kImportUnreadable.arg(Listed(taken.unreadPages));
    if (!taken.badValues.isEmpty())
        report += QStringLiteral("\n\n") + msg::site::kImportBadValues.arg(Listed(taken.badValues));
    const bool clean = taken.unknownPaths.isEmpty() && taken.outsidePaths.isEmpty() && taken.unreadPages.isEmpty() &&
                       taken.badValues.isEmpty();
    CurrentDialogs().Message(&window_, clean ? MessageKind::Information : MessageKind::Warning,
                             msg::kCaptionAttention, report);
}

}  // namespace veskaron::ui
