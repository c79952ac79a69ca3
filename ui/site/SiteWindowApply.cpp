// The site window's writing side: the CSV export and import, and the review
// and save of the edited pages.
#include <QFile>

#include "engine/file_io.h"
#include "session/Messages.h"
#include "session/site/SiteCsv.h"
#include "session/settings/Settings.h"
#include "ui/common/BackgroundWork.h"
#include "ui/common/Dialogs.h"
#include "ui/site/JournalDialog.h"
#include "ui/site/SiteApplyRun.h"
#include "ui/site/SiteReview.h"
#include "ui/site/SiteScanRun.h"
#include "ui/site/SiteWindow.h"

namespace veskaron::ui {
namespace {

constexpr int kListedLines = 20;

// At most kListedLines lines, then how many more.
QString Listed(const QStringList& lines) {
    QStringList shown = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines) shown << msg::site::kMoreLines.arg(lines.size() - kListedLines);
    return shown.join(QLatin1Char('\n'));
}

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

void SiteWindow::exportCsv() {
    if (busy() || model_->rowCount() == 0) return;
    const auto file = CurrentDialogs().SaveFileName(this, msg::site::kExportCaption,
                                                    folder_ + QStringLiteral("/site.csv"), msg::site::kCsvFilter);
    if (!file || file->isEmpty()) return;
    // The rows as the table shows them: filtered and sorted.
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(filter_->rowCount()));
    for (int r = 0; r < filter_->rowCount(); ++r) rows.push_back(filter_->mapToSource(filter_->index(r, 0)).row());
    // The file is written on another thread: a CSV of a large site is tens of
    // megabytes, and the disk may be slow or far away.
    RunThenCall(
        this,
        [path = QFile::encodeName(*file).toStdString(), bytes = session::SiteCsv(*model_, rows)] {
            return WriteFileAtomically(path, bytes);
        },
        [this](FileStatus written) {
            if (!written.ok) CurrentDialogs().Error(this, msg::site::kExportFailed.arg(Q(written.error)));
        });
}

void SiteWindow::importCsv() {
    if (busy() || model_->rowCount() == 0) return;
    const auto file = CurrentDialogs().OpenFileName(this, msg::site::kImportCaption, folder_, msg::site::kCsvFilter);
    if (!file || file->isEmpty()) return;
    RunThenCall(
        this, [path = QFile::encodeName(*file).toStdString()] { return ReadWholeFile(path); },
        [this](FileRead read) { takeCsv(read); });
}

void SiteWindow::takeCsv(const FileRead& read) {
    if (!read.ok) {
        CurrentDialogs().Error(this, msg::site::kImportFailed.arg(Q(read.error)));
        return;
    }
    // Rows read again meanwhile would lose what the file sets: it waits for them.
    if (busy()) {
        CurrentDialogs().Error(this, msg::site::kImportFailed.arg(msg::site::kImportBusy));
        return;
    }
    const session::SiteCsvImport taken = session::ImportSiteCsv(*model_, read.bytes);
    if (!taken.ok) {
        CurrentDialogs().Error(this, msg::site::kImportFailed.arg(taken.error));
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
    CurrentDialogs().Message(this, clean ? MessageKind::Information : MessageKind::Warning, msg::kCaptionAttention,
                             report);
}

namespace {

SaveOptions SaveOptionsOf(const session::Settings& settings) {
    SaveOptions options;
    options.backup = settings.backupFiles();
    options.writer = settings.writerOptions();
    return options;
}

}  // namespace

void SiteWindow::reviewAndSave() {
    if (busy()) return;
    if (model_->editedPages() == 0) {
        CurrentDialogs().Message(this, MessageKind::Information, msg::kCaptionAttention, msg::site::kNoEdits);
        return;
    }
    std::vector<SiteApplyRun::PageWork> pages;
    for (session::SiteModel::PageEdits& page : model_->pendingEdits())
        pages.push_back({std::move(page.path), std::move(page.assignments)});
    apply_->plan(std::move(pages), loadOptions(), SaveOptionsOf(settings_));
    showProgress();
    showState();
}

void SiteWindow::planned() {
    std::vector<site::PlannedEdit> plans = apply_->takePlans();
    std::vector<QString> names;
    bool changes = false, problems = false;
    for (const site::PlannedEdit& plan : plans) {
        const std::string relative = site::RelativePath(model_->root(), plan.path);
        names.push_back(Q(relative));
        // Edits that change no byte are done with.
        if (plan.status == site::EditStatus::Unchanged) model_->dropEdits(model_->rowOfPath(relative));
        changes = changes || plan.status == site::EditStatus::Changes;
        problems = problems || (plan.status != site::EditStatus::Changes && plan.status != site::EditStatus::Unchanged);
    }
    model_->refreshDuplicates();
    showProgress();
    showState();
    if (!changes && !problems) {
        CurrentDialogs().Message(this, MessageKind::Information, msg::kCaptionAttention, msg::site::kNothingChanges);
        return;
    }
    TFmSiteReview review(plans, names, this);
    if (CurrentDialogs().ExecModal(review) != QDialog::Accepted) return;
    std::vector<site::PlannedEdit> chosen;
    for (std::size_t i : review.ticked()) chosen.push_back(std::move(plans[i]));
    if (chosen.empty()) return;
    apply_->commit(std::move(chosen), SaveOptionsOf(settings_));
    showProgress();
    showState();
}

void SiteWindow::committed() {
    const std::vector<site::PlannedEdit>& plans = apply_->committedPlans();
    const std::vector<site::CommitResult>& results = apply_->results();
    std::vector<std::string> written;
    QStringList failures, warnings;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const QString name = Q(site::RelativePath(model_->root(), plans[i].path));
        if (results[i].written) {
            written.push_back(plans[i].path);
            if (!results[i].warning.empty()) warnings << msg::site::kPageProblem.arg(name, Q(results[i].warning));
        } else {
            failures << msg::site::kPageProblem.arg(name, Q(results[i].error));
        }
    }
    QString report = failures.isEmpty() ? msg::site::kSaveReport.arg(written.size())
                                        : msg::site::kSaveFailures.arg(written.size())
                                              .arg(failures.size())
                                              .arg(Listed(failures));
    if (!warnings.isEmpty()) report += QStringLiteral("\n\n") + msg::site::kSaveWarnings.arg(Listed(warnings));
    QStringList savedPaths;
    for (const std::string& path : written) savedPaths << QString::fromStdString(path);
    // The pages written show what they hold now, findings included.
    if (!written.empty()) {
        rescanningSaved_ = true;
        scanNote_.clear();
        scan_->startPages(model_->root(), std::move(written), loadOptions());
    }
    showProgress();
    showState();
    CurrentDialogs().Message(this, failures.isEmpty() && warnings.isEmpty() ? MessageKind::Information
                                                                           : MessageKind::Warning,
                             msg::kCaptionAttention, report);
    if (!savedPaths.isEmpty()) Q_EMIT pagesSaved(savedPaths);
    Q_EMIT saveEnded();
}

void SiteWindow::showJournal() {
    if (busy()) return;
    TFmJournal journal(this);
    CurrentDialogs().ExecModal(journal);
    // The journal holds every folder's saves: the pages of this site that
    // an undo wrote back are read again, as after a save.
    const std::string prefix = model_->root() + "/";
    std::vector<std::string> pages;
    QStringList paths;
    for (const std::string& path : journal.restored()) {
        paths << Q(path);
        if (path.starts_with(prefix) && model_->rowOfPath(site::RelativePath(model_->root(), path)) >= 0)
            pages.push_back(path);
    }
    if (!pages.empty()) {
        rescanningSaved_ = true;
        scanNote_.clear();
        scan_->startPages(model_->root(), std::move(pages), loadOptions());
        showProgress();
        showState();
    }
    if (!paths.isEmpty()) Q_EMIT pagesSaved(paths);
}

}  // namespace veskaron::ui
