// How the page shows in search results: the widths beside the title and
// description as the user types, the snippet on the search tab for a computer
// and a phone, and the stored tab with the search tab among the others.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "engine/serp.h"
#include "engine/text_codec.h"
#include "messages/window_texts.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/main/MainWindow.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

QByteArray Cp1251(const char* utf8) { return QByteArray::fromStdString(Windows1251Codec()->FromUtf8(utf8).bytes); }

const char* const kHead = "<link rel=\"canonical\" href=\"https://shop.ru/toys/\">\r\n";

QByteArray Page(const char* head = "") {
    return Cp1251("<html>\r\n<head>\r\n<title>Игрушки</title>\r\n") + head +
           "</head>\r\n<body>x</body>\r\n</html>\r\n";
}

// The window with page.html loaded, shown and active, so keys go through focus.
struct Shown {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> form;
    explicit Shown(const QByteArray& page) {
        WriteBytes(tmp.Page("page.html"), page);
        form = std::make_unique<MainWindow>(QStringList{tmp.Page("page.html")});
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("window not active");
        auto* list = Find<QListWidget>(*form, "FileListBox1");
        list->setCurrentItem(list->findItems(QStringLiteral("page.html"), Qt::MatchExactly).front());
    }
    // Replaces a box's text with keys typed where the focus is.
    void Type(QWidget* box, const QString& text) {
        box->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        // Each character as a key with its text: keyClicks takes Latin-1 only.
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
        }
    }
    QString Text(const char* label) { return Find<QLabel>(*form, label)->text(); }
};

bool Red(QLabel* label) { return label->palette().color(QPalette::WindowText).red() > 150 &&
                                 label->palette().color(QPalette::WindowText).green() < 50; }

}  // namespace

class TestSocialPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void widthsFollowTyping_data();
    void widthsFollowTyping();
    void snippetOnBothProfiles();
    void storedTabs();
    void addressWithinTheSite();
    void headTagsEditedAndSaved();
};

void TestSocialPage::widthsFollowTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("measured");  // as the windows-1251 page carries it
    QTest::addColumn<bool>("over");
    QTest::newRow("latin") << QStringLiteral("Wooden toys") << QStringLiteral("Wooden toys") << false;
    QTest::newRow("cyrillic, over") << QStringLiteral("Ш").repeated(40) << QStringLiteral("Ш").repeated(40) << true;
    // A character the charset lacks is written, and so measured, as its reference.
    QTest::newRow("reference") << QStringLiteral("Знак ✓") << QStringLiteral("Знак &#10003;") << false;
}

void TestSocialPage::widthsFollowTyping() {
    QFETCH(QString, typed);
    QFETCH(QString, measured);
    QFETCH(bool, over);
    Shown w(Page());
    QCOMPARE(w.Text("LabelTitlePx"), msg::kWidthPx.arg(TextWidthPx("Игрушки", 20)).arg(600));
    w.Type(Find<QLineEdit>(*w.form, "Edit1"), typed);
    const std::string m = measured.toStdString();
    QCOMPARE(w.Text("LabelTitlePx"), msg::kWidthPx.arg(TextWidthPx(m, 20)).arg(600));
    QCOMPARE(Red(Find<QLabel>(*w.form, "LabelTitlePx")), over);
    // The description's limit is 920 px at 14 px: the same text is over only when longer.
    w.Type(Find<QPlainTextEdit>(*w.form, "Memo1"), typed.repeated(3));
    const std::string d = (measured.repeated(3)).toStdString();
    QCOMPARE(w.Text("LabelDescriptionPx"), msg::kWidthPx.arg(TextWidthPx(d, 14)).arg(920));
    QCOMPARE(Red(Find<QLabel>(*w.form, "LabelDescriptionPx")), TextWidthPx(d, 14) > 920);
    QVERIFY(w.form->CurrentDocument().modified);
}

void TestSocialPage::snippetOnBothProfiles() {
    Shown w(Page(kHead));
    const QString title = QStringLiteral("Деревянные игрушки ручной работы из Вологды: машинки, кубики, пирамидки, лошадки, свистульки и погремушки для самых маленьких");
    const QString description = QStringLiteral("Мастерская в Вологде. ").repeated(12);
    w.Type(Find<QLineEdit>(*w.form, "Edit1"), title);
    w.Type(Find<QPlainTextEdit>(*w.form, "Memo1"), description);
    auto* tabs = Find<QTabWidget>(*w.form, "PageControl1");
    tabs->setCurrentWidget(Find<QWidget>(*w.form, "TabSocial"));
    QCOMPARE(tabs->tabText(2), msg::kSocialTab);
    QCOMPARE(w.Text("LabelSerpAddress"), QStringLiteral("https://shop.ru/toys/"));
    for (const char* radio : {"RadioSerpMobile", "RadioSerpDesktop"}) {
        Find<QRadioButton>(*w.form, radio)->click();
        const SerpSnippet s = MakeSnippet(title.toStdString(), description.toStdString(),
                                          QByteArray(radio).endsWith("Mobile") ? kMobileSerp : kDesktopSerp);
        // The title in the lines the measure gives (the phone's two), each
        // shown whole.
        auto* label = Find<QLabel>(*w.form, "LabelSerpTitle");
        const QStringList lines = label->text().split(u'\n');
        QCOMPARE(lines.join(u' '), QString::fromStdString(s.title.shown));
        QCOMPARE(lines.size(), radio == std::string_view("RadioSerpMobile") ? 2 : 1);
        QTRY_VERIFY(label->height() >= label->fontMetrics().lineSpacing() * lines.size());
        for (const QString& line : lines) QTRY_VERIFY(label->width() >= label->fontMetrics().horizontalAdvance(line));
        QCOMPARE(w.Text("LabelSerpDescription"), QString::fromStdString(s.description.shown));
        QVERIFY(s.title.cut && s.description.cut && s.title.shown.ends_with(" …"));
    }
    // Typed while the search tab is hidden: shown when it is opened again.
    tabs->setCurrentIndex(0);
    w.Type(Find<QLineEdit>(*w.form, "Edit1"), QStringLiteral("Кубики"));
    tabs->setCurrentIndex(2);
    QCOMPARE(w.Text("LabelSerpTitle"), QStringLiteral("Кубики"));
}

// Without a canonical address the result shows the page's address in its
// site: the site's own (a robots.txt's sitemap names it) joined with the
// path from the site's folder, else that path under the folder's name.
void TestSocialPage::addressWithinTheSite() {
    for (const bool known : {false, true}) {
        TempFolders tmp;
        ScopedScriptedDialogs dialogs;
        QDir(tmp.pages.path()).mkpath(QStringLiteral("site/catalog"));
        WriteBytes(tmp.Page("site/robots.txt"),
                   known ? "User-agent: *\nSitemap: https://shop.example/sitemap.xml\n" : "User-agent: *\n");
        WriteBytes(tmp.Page("site/catalog/index.html"), Page());
        MainWindow form({tmp.Page("site/catalog/index.html")});
        auto* list = Find<QListWidget>(form, "FileListBox1");
        list->setCurrentItem(list->findItems(QStringLiteral("index.html"), Qt::MatchExactly).front());
        Find<QTabWidget>(form, "PageControl1")->setCurrentWidget(Find<QWidget>(form, "TabSocial"));
        QCOMPARE(Find<QLabel>(form, "LabelSerpAddress")->text(),
                 known ? QStringLiteral("https://shop.example/catalog/index.html") : QStringLiteral("site/catalog/index.html"));
        // A relative canonical address is read against the site's.
        auto* canonical = Find<QLineEdit>(form, "EditCanonical");
        canonical->setText(QStringLiteral("/catalog/"));
        QCOMPARE(Find<QLabel>(form, "LabelSerpAddress")->text(),
                 known ? QStringLiteral("https://shop.example/catalog/") : QStringLiteral("/catalog/"));
        dialogs->answers = {Answer::No};
        QVERIFY(form.close());
    }
}

void TestSocialPage::storedTabs() {
    // Stored numbers: 0, 1 the field pages, 2 the editor (as before), 3 the search tab.
    for (const auto& [tab, stored] : {std::pair{"TabSheet3", 2}, std::pair{"TabSocial", 3}}) {
        {
            Shown w(Page());
            auto* tabs = Find<QTabWidget>(*w.form, "PageControl1");
            tabs->setCurrentWidget(Find<QWidget>(*w.form, tab));
            QVERIFY(w.form->close());
            QCOMPARE(w.form->Document().RunSettings().mainWindowValues().PageIndex.value_or(-1), stored);
            MainWindow again;
            auto* list = Find<QListWidget>(again, "FileListBox1");
            list->setCurrentItem(list->findItems(QStringLiteral("page.html"), Qt::MatchExactly).front());
            QCOMPARE(Find<QTabWidget>(again, "PageControl1")->currentWidget()->objectName(), QString::fromLatin1(tab));
        }
    }
}

void TestSocialPage::headTagsEditedAndSaved() {
    const QByteArray head = Cp1251("<meta property='og:title' content='Старое'>\r\n"
                                   "<link rel=\"alternate\" hreflang=\"en\" href=\"https://shop.ru/en/\">\r\n"
                                   "<script type=\"application/ld+json\">{\"@type\": \"Store\"}</script>\r\n");
    const QByteArray page = Page(head.constData());
    Shown w(page);
    auto* tabs = Find<QTabWidget>(*w.form, "PageControl1");
    tabs->setCurrentIndex(2);
    auto* list = Find<QListWidget>(*w.form, "ListHeadData");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), msg::JsonLdItem(QStringLiteral("Store"), true, {}));
    QVERIFY(!w.form->CurrentDocument().modified);
    w.Type(Find<QLineEdit>(*w.form, "EditOgTitle"), QStringLiteral("Новое"));
    QVERIFY(w.form->CurrentDocument().modified);
    QCOMPARE(w.Text("LabelEditOgTitleCount"), msg::kCharacterCount.arg(5));
    Find<QPushButton>(*w.form, "ButtonTwitterFromTitle")->click();
    QCOMPARE(Find<QLineEdit>(*w.form, "EditTwitterTitle")->text(), QStringLiteral("Игрушки"));
    QCOMPARE(w.Text("LabelCardTitle"), QStringLiteral("Новое"));
    QVERIFY(w.form->saveDocument());
    // The value changed within its quotes, the new tag on its own line before
    // </head>, the lines beside them as they were.
    QByteArray expected = head;
    expected.replace(Cp1251("'Старое'"), Cp1251("'Новое'"));
    expected += Cp1251("<meta name=\"twitter:title\" content=\"Игрушки\" >\r\n</head>\r\n<body>x</body>");
    const QByteArray saved = ReadBytes(w.tmp.Page("page.html"));
    QVERIFY2(saved.contains(expected), saved.constData());
    QVERIFY(!w.form->CurrentDocument().modified);
}

QTEST_MAIN(TestSocialPage)
#include "tst_SocialPage.moc"
