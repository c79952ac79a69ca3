// Takes the pictures of the README: creates the windows as the editor does,
// drives them as a person would and saves each window with QWidget::grab.
// Run by tools/screenshots.sh, which prepares the demo home; the one argument
// is the folder for the PNG files, then the pages to load, the one shown last.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <cstdio>
#include <functional>
#include <utility>

#include "controls/ClicLabel.h"
#include "platform/paths.h"
#include "session/document/SaveJournal.h"
#include "session/settings/Settings.h"
#include "ui/common/AppSetup.h"
#include "ui/common/Dialogs.h"
#include "ui/keywords/KeywordWindow.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/SettingsDialog.h"
#include "ui/site/SiteOverview.h"
#include "ui/site/SiteWindow.h"

namespace {

using namespace veskaron;

// Lets queued work (thread results, folder listings, layouts) run for a while.
void Settle(int ms = 300) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Modal windows are photographed instead of waiting for a person; questions
// are answered "no" so that nothing is changed on the way.
class Camera final : public ui::Dialogs {
public:
    std::function<void(QDialog&)> onModal;

    void Message(QWidget*, ui::MessageKind, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    ui::Answer AskYesNoCancel(QWidget*, const QString&, const QString&) override { return ui::Answer::Cancel; }
    ui::Answer AskYesNo(QWidget*, const QString&, const QString&, ui::MessageKind) override {
        return ui::Answer::No;
    }
    // What the person types into the next text inputs.
    QStringList typed;

    std::optional<QString> InputText(QWidget*, const QString&, const QString&, const QString&) override {
        if (typed.isEmpty()) return std::nullopt;
        return typed.takeFirst();
    }
    std::optional<QString> OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    // The next file a save dialog is given, once.
    std::optional<QString> saveAs;
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return std::exchange(saveAs, std::nullopt);
    }
    int ExecModal(QDialog& dialog) override {
        dialog.show();
        Settle();
        if (onModal) onModal(dialog);
        dialog.hide();
        return QDialog::Rejected;
    }
    void OpenUrl(const QUrl&, Opened) override {}
};

QString g_out;
int g_failures = 0;

void Save(const QImage& image, const QString& name) {
    const QString path = g_out + QLatin1Char('/') + name + QStringLiteral(".png");
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
}

void Save(QWidget& window, const QString& name) {
    Settle(100);
    Save(window.grab().toImage(), name);
}

// The main window's tabs by their object names; a tab added later is named
// after its object name ("TabSocial" -> social).
QString TabPicture(const QString& objectName, int index) {
    if (objectName == QLatin1String("TabSheet1")) return QStringLiteral("main");
    if (objectName == QLatin1String("TabSheet2")) return QStringLiteral("http");
    if (objectName == QLatin1String("TabSheet3")) return QStringLiteral("editor");
    QString name = objectName;
    if (name.startsWith(QLatin1String("Tab"))) name = name.mid(3);
    return name.isEmpty() ? QStringLiteral("tab%1").arg(index + 1) : name.toLower();
}

// The folder tree rooted at the home folder: the pictures show the user's
// folders, not the machine's.
void RootTreeAtHome(QWidget& form) {
    auto* tree = form.findChild<QTreeView*>(QStringLiteral("DirectoryListBox1"));
    auto* model = tree ? qobject_cast<QFileSystemModel*>(tree->model()) : nullptr;
    if (!model) return;
    const QModelIndex home = model->index(QString::fromStdString(HomeFolder()));
    if (home.isValid() && tree->rootIndex() != home) tree->setRootIndex(home);
    tree->scrollTo(tree->currentIndex());
}

// The pages of a tabbed dialog one below the other.
QImage PagesOf(QWidget& dialog) {
    auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QList<QImage> shots;
    for (int i = 0; pages && i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Settle(100);
        shots << dialog.grab().toImage();
    }
    if (shots.isEmpty()) return {};
    QImage all(shots[0].width(), shots[0].height() * int(shots.size()), QImage::Format_RGB32);
    QPainter painter(&all);
    for (int i = 0; i < shots.size(); ++i) painter.drawImage(0, i * shots[0].height(), shots[i]);
    return all;
}

// The first page of a report, at A4's proportions: its text as Qt's rich
// text shows it, and under it the charts drawn from their SVG, which rich
// text cannot show.
QImage ReportPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression svg(QStringLiteral("<svg .*?</svg>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QList<QImage> charts;
    for (auto it = svg.globalMatch(html); it.hasNext();) {
        QByteArray bytes = it.next().captured().toUtf8();
        bytes.replace("<svg ", "<svg xmlns=\"http://www.w3.org/2000/svg\" ");
        charts << QImage::fromData(bytes, "SVG");
    }
    // The charts' section and what follows it are drawn below the text.
    html.truncate(html.indexOf(QStringLiteral("<section class=\"part\">")));
    QImage page(794, 1123, QImage::Format_RGB32);
    page.fill(Qt::white);
    QTextDocument text;
    text.setHtml(html + QStringLiteral("</body></html>"));
    text.setTextWidth(page.width());
    const int textHeight = std::min(page.height(), int(text.size().height()) + 8);
    QPainter painter(&page);
    text.drawContents(&painter, QRectF(0, 0, page.width(), textHeight));
    int y = textHeight;
    for (const QImage& chart : charts) {
        if (y + chart.height() > page.height()) break;
        painter.drawImage(20, y, chart);
        y += chart.height() + 12;
    }
    return page;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_FOLDER PAGE...\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QStringList pages;
    for (int i = 2; i < argc; ++i) pages << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    const QString page = pages.back();
    QDir().mkpath(g_out);

    // As the editor starts.
    QTranslator qtTexts;
    ui::SetUpRussianApplication(qtTexts);
    auto owned = std::make_unique<Camera>();
    Camera& camera = *owned;
    ui::SetDialogs(std::move(owned));
    TClickLabel::SetShellOpener([](const QUrl&) {});
    session::Settings settings;
    settings.load();
    ui::MainWindow form({page}, nullptr, &settings);
    ui::SettingsDialog setup(settings, &form);
    form.SetSetupAction([&setup] { setup.ShowModal(); });
    form.show();
    Settle();

    // Pages picked in the file list; the other pages given before the main
    // one fill the folder history.
    auto* browser = form.findChild<ui::FileBrowserPane*>();
    if (!browser) return 1;
    for (const QString& path : pages) {
        browser->GoToFolder(QFileInfo(path).absolutePath());
        Settle();
        if (!browser->SelectFile(path)) {
            std::fprintf(stderr, "the file list does not show %s\n", qPrintable(path));
            return 1;
        }
        Settle(500);
    }
    RootTreeAtHome(form);

    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    auto* about = form.findChild<QAbstractButton*>(QStringLiteral("SpButAbout"));
    auto* setupButton = form.findChild<QAbstractButton*>(QStringLiteral("SpButSetup"));
    if (!tabs || !about || !setupButton) {
        std::fprintf(stderr, "the main window lacks its tabs or buttons\n");
        return 1;
    }
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        Settle();
        RootTreeAtHome(form);
        Save(form, TabPicture(tabs->widget(i)->objectName(), i));
    }
    tabs->setCurrentIndex(0);

    // The generator after a run over the page, with a word in each hand-made
    // list, showing the words that repeat.
    camera.onModal = [&camera](QDialog& dialog) {
        auto* generator = qobject_cast<ui::KeywordWindow*>(&dialog);
        auto* start = dialog.findChild<QAbstractButton*>(QStringLiteral("BtStr"));
        if (!generator || !start) return;
        auto press = [&dialog](const char* name) {
            if (auto* b = dialog.findChild<QAbstractButton*>(QLatin1String(name))) b->click();
        };
        camera.typed = {QStringLiteral("уральский камень")};
        press("SpeedButton1");
        camera.typed = {QStringLiteral("наша")};
        press("SpeedButton6");
        camera.typed = {QStringLiteral("каждый")};
        press("SpeedButton6");
        press("RadioButton2");
        QEventLoop loop;
        QObject::connect(generator, &ui::KeywordWindow::countFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        start->click();
        loop.exec();
        Save(dialog, QStringLiteral("generator"));
    };
    form.Document().showKeywordGenerator();

    camera.onModal = [](QDialog& dialog) { Save(dialog, QStringLiteral("notebook")); };
    form.editFolderHistory();

    camera.onModal = [](QDialog& dialog) { Save(dialog, QStringLiteral("about")); };
    about->click();

    camera.onModal = [](QDialog& dialog) { Save(PagesOf(dialog), QStringLiteral("setup")); };
    setupButton->click();

    // The site window over the demo site with one title typed into the
    // table, then the review of that edit (rejected: nothing is written).
    ui::SiteWindow* site = form.showSiteWindow();
    {
        QEventLoop loop;
        QObject::connect(site, &ui::SiteWindow::scanEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        if (site->busy()) loop.exec();
    }
    session::SiteModel& table = site->model();
    const int contacts = table.rowOfPath("contacts.html");
    if (contacts < 0) {
        std::fprintf(stderr, "the site window lacks the demo pages\n");
        return 1;
    }
    table.setData(table.index(contacts, session::SiteModel::kTitle),
                  QStringLiteral("Контакты мастерской в Екатеринбурге: адрес и телефон"), Qt::EditRole);
    Save(*site, QStringLiteral("site"));
    // The overview of the same rows, and the report it writes of them.
    if (auto* views = site->findChild<QTabWidget*>(QStringLiteral("PageSiteViews"))) {
        auto* overview = site->findChild<ui::SiteOverview*>();
        views->setCurrentWidget(overview);
        Settle();
        Save(*site, QStringLiteral("site-overview"));
        const QString report = QDir::current().filePath(QStringLiteral("report.html"));
        camera.saveAs = report;
        QEventLoop loop;
        QObject::connect(overview, &ui::SiteOverview::reportWritten, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        overview->writeReport();
        loop.exec();
        Save(ReportPicture(report), QStringLiteral("report"));
        QFile::remove(report);
        views->setCurrentIndex(0);
    }
    bool reviewed = false;
    camera.onModal = [&reviewed](QDialog& dialog) {
        Save(dialog, QStringLiteral("site-review"));
        reviewed = true;
    };
    site->reviewAndSave();
    for (int waited = 0; !reviewed && waited < 100; ++waited) Settle(100);
    site->model().dropEdits();
    // The sitemap's dialog with the site's address typed (cancelled: nothing is written).
    bool mapped = false;
    camera.onModal = [&mapped](QDialog& dialog) {
        if (auto* url = dialog.findChild<QLineEdit*>(QStringLiteral("EditSitemapUrl")))
            url->setText(QStringLiteral("https://uralkamen.ru"));
        Settle(100);
        Save(dialog, QStringLiteral("sitemap"));
        mapped = true;
    };
    site->writeSitemap();
    for (int waited = 0; !mapped && waited < 100; ++waited) Settle(100);
    // The journal of saves with one batch: the demo title edit as a save
    // records it (the page itself stays as it is).
    const std::string contactsPage = site->model().root() + "/contacts.html";
    const std::vector<site::PlannedEdit> plans = {site::PlanEdit(
        contactsPage, {"Title=Контакты мастерской в Екатеринбурге: адрес и телефон"}, LoadOptions{}, SaveOptions{})};
    if (const session::PlansJournal journal = session::JournalPlans(plans, session::kSiteWindowOrigin); journal.batch) {
        journal.batch->Written(journal.first);
        journal.batch->Finish();
    }
    bool journaled = false;
    camera.onModal = [&journaled](QDialog& dialog) {
        auto* pages = dialog.findChild<QListWidget*>(QStringLiteral("ListJournalPages"));
        for (int waited = 0; pages && pages->count() == 0 && waited < 100; ++waited) Settle(50);
        Save(dialog, QStringLiteral("journal"));
        journaled = true;
    };
    site->showJournal();
    site->close();

    camera.onModal = nullptr;
    return g_failures == 0 ? 0 : 1;
}
