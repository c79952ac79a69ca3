// The site window as a webmaster meets it: the folder read into the table,
// a title edited in a cell by keyboard, the review driven by keyboard, the
// bytes on disk afterwards, and the main window's button and double click.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include "engine/text_codec.h"
#include "messages/window_texts.h"
#include "session/settings/Settings.h"
#include "tests/support/OpenSite.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/main/MainWindow.h"
#include "ui/site/SiteWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

QByteArray Cp1251(const char* utf8) { return QByteArray::fromStdString(Windows1251Codec()->FromUtf8(utf8).bytes); }

QByteArray Page(const char* title) {
    return Cp1251("<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
                  "<title>") +
           Cp1251(title) + Cp1251("</title>\r\n<meta name=\"author\" content=\"Иван\">\r\n</head>\r\n<body>Текст</body>\r\n</html>\r\n");
}

QModelIndex CellOf(QTableView& table, const QString& relative, int column) {
    QAbstractItemModel& m = *table.model();
    for (int r = 0; r < m.rowCount(); ++r)
        if (m.index(r, session::SiteModel::kPath).data().toString() == relative) return m.index(r, column);
    return {};
}

// Types a new text into a cell as a person does: F2, the text, Enter.
void TypeInto(QTableView& table, const QModelIndex& cell, const QString& text) {
    table.window()->activateWindow();
    QTRY_VERIFY(table.window()->isActiveWindow());
    table.setFocus();
    table.setCurrentIndex(cell);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != &table);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    // keyClicks takes Latin-1 only: Cyrillic goes as the keys' texts.
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits after the key's event.
    QTRY_COMPARE(QApplication::focusWidget(), &table);
}

}  // namespace

class TestSiteWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editReviewAndSave();
    void siteButtonAndDoubleClick();
    void stopThenReadAgainKeepingEdits();
    void csvThroughTheButtons();
    void indexingAndSitemap();
    void findingsAndCaptionsReadable();
};

void TestSiteWindow::editReviewAndSave() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    const QByteArray a = Page("Старый заголовок"), b = Page("Вторая страница сайта");
    WriteBytes(tmp.Page("a.html"), a);
    QDir(tmp.pages.path()).mkpath(QStringLiteral("d"));
    WriteBytes(tmp.Page("d/b.html"), b);
    WriteBytes(tmp.Page("notes.txt"), "not a page");
    session::Settings settings;
    settings.load();

    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(QTest::qWaitForWindowActive(site));
    QVERIFY(open.Scanned());
    auto* table = Find<QTableView>(*site, "TableSite");
    QCOMPARE(table->model()->rowCount(), 2);  // the mask leaves the text file out

    TypeInto(*table, CellOf(*table, QStringLiteral("a.html"), session::SiteModel::kTitle),
             QStringLiteral("Новый заголовок страницы"));
    TypeInto(*table, CellOf(*table, QStringLiteral("d/b.html"), session::SiteModel::kTitle),
             QStringLiteral("Не сохранять"));
    QCOMPARE(site->model().editedPages(), 2);
    QVERIFY(CellOf(*table, QStringLiteral("a.html"), session::SiteModel::kTitle)
                .data(session::SiteModel::EditedRole)
                .toBool());

    // The review: both pages listed with their diffs; the second is unticked
    // by keyboard, and Enter saves.
    QString diff;
    int listed = 0;
    dialogs->modal.push_back([&](QDialog& review) {
        review.show();
        review.activateWindow();
        QTRY_VERIFY(review.isActiveWindow());
        auto* pages = Find<QListWidget>(review, "ListReviewPages");
        listed = pages->count();
        diff = Find<QPlainTextEdit>(review, "EditReviewDiff")->toPlainText();
        QCOMPARE(QApplication::focusWidget(), pages);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(pages->item(1)->checkState(), Qt::Unchecked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        review.hide();
    });
    QSignalSpy saved(site.data(), &SiteWindow::saveEnded);
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteApply"), Qt::LeftButton);
    QTRY_COMPARE(saved.count(), 1);
    QCOMPARE(listed, 2);
    QVERIFY2(diff.contains(QStringLiteral("\n-<title>Старый заголовок</title>")), qPrintable(diff));
    QVERIFY2(diff.contains(QRegularExpression(QStringLiteral("\n\\+.*<title>Новый заголовок страницы</title>"))),
             qPrintable(diff));
    QTRY_COMPARE(open.scanned.count(), 2);  // the saved page read again

    QByteArray expected = a;
    expected.replace(Cp1251("Старый заголовок"), Cp1251("Новый заголовок страницы"));
    const QByteArray written = ReadBytes(tmp.Page("a.html"));
    QVERIFY(written.contains(Cp1251("<title>Новый заголовок страницы</title>")));
    QVERIFY(!written.contains(Cp1251("Старый")));
    QCOMPARE(written, expected);
    QCOMPARE(ReadBytes(tmp.Page("d/b.html")), b);
    QVERIFY(!QFile::exists(tmp.Page("a.html.bak")));  // no backups unless the settings ask
    QCOMPARE(site->model().editedPages(), 1);  // the unticked page keeps its edit
    const QModelIndex title = CellOf(*table, QStringLiteral("a.html"), session::SiteModel::kTitle);
    QCOMPARE(title.data().toString(), QStringLiteral("Новый заголовок страницы"));
    QVERIFY(!title.data(session::SiteModel::EditedRole).toBool());
    QVERIFY(!dialogs->shown.empty());
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("Записано страниц: 1")));

    // A page changed on disk after the review is refused by name; the others are written.
    TypeInto(*table, CellOf(*table, QStringLiteral("a.html"), session::SiteModel::kTitle),
             QStringLiteral("Третий заголовок"));
    dialogs->modal.push_back([&](QDialog& review) {
        WriteBytes(tmp.Page("d/b.html"), Page("Правка в другой программе"));
        review.show();
        review.activateWindow();
        QTRY_VERIFY(review.isActiveWindow());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        review.hide();
    });
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteApply"), Qt::LeftButton);
    QTRY_COMPARE(saved.count(), 2);
    QTRY_COMPARE(open.scanned.count(), 3);
    QVERIFY(ReadBytes(tmp.Page("a.html")).contains(Cp1251("Третий заголовок")));
    QCOMPARE(ReadBytes(tmp.Page("d/b.html")), Page("Правка в другой программе"));
    const QString report = dialogs->shown.back().text;
    QVERIFY2(report.contains(QStringLiteral("d/b.html")), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("Записано страниц: 1")));
    QCOMPARE(site->model().editedPages(), 1);

    // "Отменить правки" forgets the rest once the user agrees; closing with
    // edits asks first.
    TypeInto(*table, CellOf(*table, QStringLiteral("a.html"), session::SiteModel::kKeywords), QStringLiteral("камень"));
    dialogs->answers.push_back(Answer::No);
    QVERIFY(!site->close());
    QCOMPARE(dialogs->shown.back().caption, msg::kCaptionAttention);
    auto* undo = Find<QPushButton>(*site, "BtnSiteUndo");
    const std::size_t asked = dialogs->shown.size();
    dialogs->answers.push_back(Answer::No);
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(dialogs->shown.size(), asked + 1);
    QCOMPARE(dialogs->shown.back().text, msg::kDropEditsQuestion.arg(2));
    QCOMPARE(site->model().editedPages(), 2);
    dialogs->answers.push_back(Answer::Yes);
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(site->model().editedPages(), 0);
    QVERIFY(!undo->isEnabled());
    QVERIFY(site->close());
    QTRY_VERIFY(site.isNull());
}

void TestSiteWindow::siteButtonAndDoubleClick() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    WriteBytes(tmp.Page("index.html"), Page("Главная страница сайта"));
    WriteBytes(tmp.Page("about.html"), Page("О мастерской"));
    MainWindow form({tmp.Page("index.html")});
    form.show();
    QTest::mouseClick(Find<QPushButton>(form, "SpButSite"), Qt::LeftButton);
    auto* site = form.findChild<SiteWindow*>(QStringLiteral("TFmSite"));
    QVERIFY(site);
    QCOMPARE(site->folder(), QDir::cleanPath(tmp.pages.path()));
    QCOMPARE(site->windowTitle(), QStringLiteral("Сайт"));
    QVERIFY(!site->isModal());
    QTRY_COMPARE(site->model().rowCount(), 2);
    QTRY_VERIFY(!site->busy());
    auto* table = Find<QTableView>(*site, "TableSite");
    const QModelIndex cell = CellOf(*table, QStringLiteral("about.html"), session::SiteModel::kPath);
    const QPoint at = table->visualRect(cell).center();
    // A person's double click: the first press and release, then the second.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(QString::fromStdString(form.CurrentDocument().path), tmp.Page("about.html"));

    // A save from the site window of the page open here reads it again.
    QVERIFY(site->model().setEdit(site->model().rowOfPath("about.html"), "Title", "О мастерской и мастерах"));
    dialogs->modal.push_back([](QDialog& review) { Find<QPushButton>(review, "BtnReviewSave")->click(); });
    QSignalSpy saved(site, &SiteWindow::saveEnded);
    site->reviewAndSave();
    QTRY_COMPARE(saved.count(), 1);
    QCOMPARE(Windows1251Codec()->ToUtf8(form.CurrentDocument().fields.Title), std::string("О мастерской и мастерах"));
    QVERIFY(!form.Session().isModified());
    // The button again brings the same window forward.
    QTest::mouseClick(Find<QPushButton>(form, "SpButSite"), Qt::LeftButton);
    QCOMPARE(form.findChildren<SiteWindow*>().size(), 1);
    QVERIFY(site->close());
    QVERIFY(form.close());
}

// "Стоп" leaves the pages read so far, in order; "Обновить" reads them all
// again and keeps what was typed.
void TestSiteWindow::stopThenReadAgainKeepingEdits() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    const int pages = 3000;
    for (int i = 0; i < pages; ++i)
        WriteBytes(tmp.Page(QStringLiteral("p%1.html").arg(i, 4, 10, QLatin1Char('0'))), Page("Страница сайта"));
    session::Settings settings;
    settings.load();
    QPointer<SiteWindow> site = new SiteWindow(tmp.pages.path(), settings);
    const auto leftOpen = qScopeGuard([&site] { delete site.data(); });
    QSignalSpy scanned(site.data(), &SiteWindow::scanEnded);
    site->show();
    session::SiteModel& model = site->model();
    QTRY_VERIFY(model.rowCount() > 0);
    if (site->busy()) QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteStop"), Qt::LeftButton);
    QTRY_COMPARE(scanned.count(), 1);
    QVERIFY(model.rowCount() <= pages);
    for (int r = 0; r < model.rowCount(); ++r)
        QCOMPARE(model.text(r, session::SiteModel::kPath), QStringLiteral("p%1.html").arg(r, 4, 10, QLatin1Char('0')));
    QVERIFY(model.setEdit(0, "Title", "Первая страница"));

    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteRescan"), Qt::LeftButton);
    QTRY_COMPARE(scanned.count(), 2);
    QCOMPARE(model.rowCount(), pages);
    QCOMPARE(model.editedPages(), 1);
    QCOMPARE(model.text(0, session::SiteModel::kTitle), QStringLiteral("Первая страница"));
    QVERIFY(Find<QLabel>(*site, "LabelSiteStatus")->text().contains(QStringLiteral("Страниц: 3000")));
    model.dropEdits();
}

// The export as a spreadsheet gets it, one cell changed there, and the import.
void TestSiteWindow::csvThroughTheButtons() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    WriteBytes(tmp.Page("a.html"), Page("Первая страница сайта"));
    WriteBytes(tmp.Page("b.html"), Page("Вторая страница сайта"));
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(open.Scanned());

    const QString csv = tmp.Data("site.csv");
    dialogs->fileNames.push_back(csv);
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteExport"), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(csv));  // written off the window's thread, in place at once
    QByteArray bytes = ReadBytes(csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFPath,Title,"));
    QVERIFY(bytes.contains(QStringLiteral("a.html,Первая страница сайта,").toUtf8()));
    bytes.replace("Вторая страница сайта", "\"Вторая, исправленная\"");  // quoted, as a spreadsheet writes it
    bytes += "c.html,Нет такой,,,,,,,,\r\n";
    WriteBytes(csv, bytes);

    dialogs->fileNames.push_back(csv);
    const auto shown = dialogs->shown.size();
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteImport"), Qt::LeftButton);
    QTRY_COMPARE(dialogs->shown.size(), shown + 1);
    QCOMPARE(site->model().editedPages(), 1);
    QCOMPARE(site->model().pendingEdits().front().assignments,
             std::vector<std::string>{"Title=Вторая, исправленная"});
    const QString report = dialogs->shown.back().text;
    QVERIFY2(report.contains(QStringLiteral("правок: 1")) && report.contains(QStringLiteral("c.html")),
             qPrintable(report));
    site->model().dropEdits();

    // What a spreadsheet in a Russian locale saves: semicolons, Windows-1251,
    // and a row that leads out of the site's folder, which is refused by name.
    WriteBytes(csv, Cp1251("Path;Title\r\na.html;Первая, новая\r\n../../victim.html;Взлом\r\n"));
    dialogs->fileNames.push_back(csv);
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteImport"), Qt::LeftButton);
    QTRY_COMPARE(dialogs->shown.size(), shown + 2);
    QCOMPARE(site->model().pendingEdits().front().assignments, std::vector<std::string>{"Title=Первая, новая"});
    const QString spreadsheet = dialogs->shown.back().text;
    QVERIFY2(spreadsheet.contains(QStringLiteral("разделитель — точка с запятой, кодировка — Windows-1251")) &&
                 spreadsheet.contains(QStringLiteral("за пределы папки сайта")) &&
                 spreadsheet.contains(QStringLiteral("3: ../../victim.html")),
             qPrintable(spreadsheet));

    // A broken file is refused in Russian, naming its line.
    WriteBytes(csv, "Path,Title\r\na.html,\"open\r\n");
    dialogs->fileNames.push_back(csv);
    QTest::mouseClick(Find<QPushButton>(*site, "BtnSiteImport"), Qt::LeftButton);
    QTRY_COMPARE(dialogs->shown.size(), shown + 3);
    QVERIFY2(dialogs->shown.back().text.contains(QStringLiteral("строка 2: поле в кавычках не закрыто")),
             qPrintable(dialogs->shown.back().text));
    site->model().dropEdits();
}


// The Индексация column and its filter, then "Sitemap…": the address typed,
// the closed page named with its reason, the file written on "Записать".
void TestSiteWindow::indexingAndSitemap() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    WriteBytes(tmp.Page("a.html"), Page("Открытая страница сайта"));
    QByteArray closed = Page("Закрытая страница сайта");
    closed.replace("</head>", "<meta name=\"robots\" content=\"noindex\"></head>");
    WriteBytes(tmp.Page("b.html"), closed);
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(QTest::qWaitForWindowActive(site));
    QVERIFY(open.Scanned());
    auto* table = Find<QTableView>(*site, "TableSite");
    QCOMPARE(CellOf(*table, QStringLiteral("b.html"), session::SiteModel::kIndexing).data().toString(),
             QStringLiteral("нет: noindex"));
    auto* codes = Find<QComboBox>(*site, "ComboSiteCode");
    const int notIndexed = codes->findData(QString::fromLatin1(session::SiteModel::kNotIndexable));
    QVERIFY(notIndexed >= 0);
    QCOMPARE(codes->itemText(notIndexed), QStringLiteral("Не индексируются (1)"));

    QString count;
    int leftOut = 0;
    dialogs->modal.push_back([&](QDialog& dialog) {
        auto* url = Find<QLineEdit>(dialog, "EditSitemapUrl");
        QVERIFY(!Find<QPushButton>(dialog, "BtnSitemapWrite")->isEnabled());
        url->setText(QStringLiteral("https://x.ru"));
        count = Find<QLabel>(dialog, "LabelSitemapCount")->text();
        leftOut = Find<QListWidget>(dialog, "ListSitemapLeftOut")->count();
        Find<QPushButton>(dialog, "BtnSitemapWrite")->click();
    });
    Find<QPushButton>(*site, "BtnSiteSitemap")->click();
    QCOMPARE(count, QStringLiteral("В карту войдут страниц: 1. Не войдут: 1."));
    QCOMPARE(leftOut, 1);
    const QByteArray xml = ReadBytes(tmp.Page("sitemap.xml"));
    QVERIFY(xml.contains("<loc>https://x.ru/a.html</loc>"));
    QVERIFY(!xml.contains("b.html"));
    QVERIFY(!dialogs->shown.empty());  // the message that says where it went
}
// Findings follow a typed canonical address, the filter names them in
// Russian, and captions and long paths stay readable.
void TestSiteWindow::findingsAndCaptionsReadable() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    QDir(tmp.pages.path()).mkpath(QStringLiteral("catalog/balkony/hrushchevka"));
    WriteBytes(tmp.Page("catalog/balkony/hrushchevka/uteplenie-balkona.html"), Page("Утепление балкона в хрущёвке"));
    session::Settings settings;
    settings.load();
    OpenSite open(tmp.pages.path(), settings);
    const QPointer<SiteWindow>& site = open.window;
    QVERIFY(QTest::qWaitForWindowActive(site));
    QVERIFY(open.Scanned());
    auto* table = Find<QTableView>(*site, "TableSite");
    auto* codes = Find<QComboBox>(*site, "ComboSiteCode");
    const int missing = codes->findData(QStringLiteral("canonical-missing"));
    QVERIFY(missing >= 0);
    QCOMPARE(codes->itemText(missing), QStringLiteral("Нет канонического адреса (1)"));
    QCOMPARE(codes->itemData(missing, Qt::ToolTipRole).toString(), QStringLiteral("canonical-missing"));

    const QString page = QStringLiteral("catalog/balkony/hrushchevka/uteplenie-balkona.html");
    TypeInto(*table, CellOf(*table, page, session::SiteModel::kCanonical), QStringLiteral("/catalog/"));
    QVERIFY(CellOf(*table, page, session::SiteModel::kCanonical).data(session::SiteModel::MarkRole).toBool());
    QVERIFY(codes->findData(QStringLiteral("canonical-relative")) >= 0);
    TypeInto(*table, CellOf(*table, page, session::SiteModel::kCanonical), QStringLiteral("https://x.ru/catalog/"));
    QVERIFY(!CellOf(*table, page, session::SiteModel::kCanonical).data(session::SiteModel::MarkRole).toBool());
    QCOMPARE(codes->findData(QStringLiteral("canonical-relative")), -1);

    const QModelIndex path = CellOf(*table, page, session::SiteModel::kPath);
    QVERIFY(path.data(Qt::ToolTipRole).toString().contains(QDir::toNativeSeparators(tmp.Page(page))) ||
            path.data(Qt::ToolTipRole).toString().contains(tmp.Page(page)));
    const int arrow = table->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, table->horizontalHeader());
    for (int c = 0; c < table->model()->columnCount(); ++c)
        for (const QString& line : table->model()->headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n')))
            QVERIFY2(table->columnWidth(c) >= table->fontMetrics().horizontalAdvance(line) + arrow, qPrintable(line));
    if (!qEnvironmentVariableIsEmpty("VESKARON_SHOTS"))
        site->grab().save(qEnvironmentVariable("VESKARON_SHOTS") + QStringLiteral("/site-findings.png"));
}

QTEST_MAIN(TestSiteWindow)
#include "tst_SiteWindow.moc"
