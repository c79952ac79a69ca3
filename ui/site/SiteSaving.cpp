#include "ui/site/SiteSaving.h"

#include "messages/window_texts.h"
#include "messages/qt_text.h"
#include "session/settings/Settings.h"
#include "ui/common/Dialogs.h"
#include "ui/site/JournalDialog.h"
#include "ui/site/ListedLines.h"
#include "ui/site/SiteApplyRun.h"
#include "ui/site/SiteReview.h"
#include "ui/site/SiteWindow.h"

namespace veskaron::ui {
namespace {

SaveOptions SaveOptionsOf(const session::Settings& settings) {
    SaveOptions options;
    options.backup = settings.backupFiles();
    options.writer = settings.writerOptions();
    return options;
}

}  // namespace

SiteSaving::SiteSaving(SiteWindow& window, Host& host, SiteApplyRun& apply, const session::Settings& settings)
    : QObject(&window), window_(window), host_(host), apply_(apply), settings_(settings) {
    connect(&apply_, &SiteApplyRun::planned, this, &SiteSaving::planned);
    connect(&apply_, &SiteApplyRun::committed, this, &SiteSaving::committed);
}

void SiteSaving::reviewAndSave() {
    session::SiteModel& model = window_.model();
    if (window_.busy()) return;
    if (model.editedPages() == 0) {
        CurrentDialogs().Message(&window_, MessageKind::Information, msg::kCaptionAttention, msg::site::kNoEdits);
        return;
    }
    std::vector<SiteApplyRun::PageWork> pages;
    for (session::SiteModel::PageEdits& page : model.pendingEdits())
        pages.push_back({std::move(page.path), std::move(page.assignments)});
    apply_.plan(std::move(pages), host_.loadOptions(), SaveOptionsOf(settings_));
    host_.showProgress();
    host_.showState();
}

void SiteSaving::planned() {
    session::SiteModel& model = window_.model();
    std::vector<site::PlannedEdit> plans = apply_.takePlans();
    std::vector<QString> names;
    bool changes = false, problems = false;
    for (const site::PlannedEdit& plan : plans) {
        const std::string relative = site::RelativePath(model.root(), plan.path);
        names.push_back(FromUtf8(relative));
        // Edits that change no byte are done with.
        if (plan.status == site::EditStatus::Unchanged) model.dropEdits(model.rowOfPath(relative));
        changes = changes || plan.status == site::EditStatus::Changes;
        problems = problems || (plan.status != site::EditStatus::Changes && plan.status != site::EditStatus::Unchanged);
    }
    model.refreshDuplicates();
    host_.showProgress();
    host_.showState();
    if (!changes && !problems) {
        CurrentDialogs().Message(&window_, MessageKind::Information, msg::kCaptionAttention,
                                 msg::site::kNothingChanges);
        return;
    }
    SiteReview review(plans, names, &window_);
    if (CurrentDialogs().ExecModal(review) != QDialog::Accepted) return;
    std::vector<site::PlannedEdit> chosen;
    for (std::size_t i : review.ticked()) chosen.push_back(std::move(plans[i]));
    if (chosen.empty()) return;
    apply_.commit(std::move(chosen), SaveOptionsOf(settings_));
    host_.showProgress();
    host_.showState();
}

void SiteSaving::committed() {
    const std::string& root = window_.model().root();
    const std::vector<site::PlannedEdit>& plans = apply_.committedPlans();
    const std::vector<site::CommitResult>& results = apply_.results();
    std::vector<std::string> written;
    QStringList failures, warnings;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const QString name = FromUtf8(site::RelativePath(root, plans[i].path));
        if (results[i].written) {
            written.push_back(plans[i].path);
            if (!results[i].warning.empty())
                warnings << msg::site::kPageProblem.arg(name, FromUtf8(results[i].warning));
        } else {
            failures << msg::site::kPageProblem.arg(name, FromUtf8(results[i].error));
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
    if (!written.empty()) host_.readSavedPages(std::move(written));
    host_.showProgress();
    host_.showState();
    CurrentDialogs().Message(&window_,
                             failures.isEmpty() && warnings.isEmpty() ? MessageKind::Information
                                                                      : MessageKind::Warning,
                             msg::kCaptionAttention, report);
    if (!savedPaths.isEmpty()) Q_EMIT pagesSaved(savedPaths);
    Q_EMIT saveEnded();
}

void SiteSaving::showJournal() {
    if (window_.busy()) return;
    JournalDialog journal(&window_);
    CurrentDialogs().ExecModal(journal);
    // The journal holds every folder's saves: the pages of this site that
    // an undo wrote back are read again, as after a save.
    const session::SiteModel& model = window_.model();
    const std::string prefix = model.root() + "/";
    std::vector<std::string> pages;
    QStringList paths;
    for (const std::string& path : journal.restored()) {
        paths << FromUtf8(path);
        if (path.starts_with(prefix) && model.rowOfPath(site::RelativePath(model.root(), path)) >= 0)
            pages.push_back(path);
    }
    if (!pages.empty()) {
        host_.readSavedPages(std::move(pages));
        host_.showProgress();
        host_.showState();
    }
    if (!paths.isEmpty()) Q_EMIT pagesSaved(paths);
}

}  // namespace veskaron::ui
