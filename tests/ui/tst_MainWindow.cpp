// The main window as a person meets it: first start, loading a page from the
// file list, editing and saving, the questions on switching pages and on
// closing, load errors, and the state brought back by the next start.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QFileSystemModel>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "engine/text_codec.h"
#include "engine/text_width.h"
#include "messages/window_texts.h"
#include "tests/ui/ui_fixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/main/MainWindow.h"
#include "ui/pages/SourceView.h"
#include "ui/common/HistoryEditor.h"
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QTimeEdit>
#include <functional>

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

QByteArray Cp1251(const char* utf8) {
    return QByteArray::fromStdString(Windows1251Codec()->FromUtf8(utf8).bytes);
}

QByteArray Page(const char* title, const char* head = "") {
    return Cp1251("<html>\r\n<head>\r\n<title>") + Cp1251(title) +
           "</title>\r\n<meta name=\"author\" content=\"Ivan\">\r\n"
           "<meta name=\"robots\" content=\"index,follow\">\r\n" +
           Cp1251(head) + Cp1251("</head>\r\n<body>Текст</body>\r\n</html>\r\n");
}

QByteArray InCharset(const char* charset, const char* utf8) {
    return QByteArray::fromStdString(CharsetCodec(charset)->FromUtf8(utf8).bytes);
}

// Changes a control as its user would; gives back the change undone.
std::function<void()> Change(QWidget* w) {
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->click();
        return [c] { c->click(); };
    }
    if (auto* t = qobject_cast<QTimeEdit*>(w)) {
        const QTime was = t->time();
        t->setTime(was.addSecs(60));
        return [t, was] { t->setTime(was); };
    }
    if (auto* d = qobject_cast<QDateEdit*>(w)) {
        const QDate was = d->date();
        d->setDate(was.addDays(1));
        return [d, was] { d->setDate(was); };
    }
    if (auto* n = qobject_cast<QSpinBox*>(w)) {
        const int was = n->value();
        n->setValue(was + 7);
        return [n, was] { n->setValue(was); };
    }
    auto* b = qobject_cast<QComboBox*>(w);
    if (b->isEditable()) {
        const QString was = b->currentText();
        b->setEditText(QStringLiteral("http://b.ru/"));
        return [b, was] { b->setEditText(was); };
    }
    const int was = b->currentIndex();
    b->setCurrentIndex(was == b->count() - 1 ? 0 : b->count() - 1);
    return [b, was] { b->setCurrentIndex(was); };
}

QString Panel(QWidget& form, int i) {
    return Find<QLabel>(form, QStringLiteral("StatusPanel%1").arg(i).toLatin1().constData())->text();
}

void Choose(QWidget& form, const QString& fileName) {
    auto* list = Find<QListWidget>(form, "FileListBox1");
    const auto items = list->findItems(fileName, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(fileName));
    list->setCurrentItem(items.front());
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStart();
    void loadEditSave();
    void questionsOnSwitchAndClose();
    void loadErrors();
    void stateAfterRestart();
    void historyFileProblems();
    void pagesInOtherEncodings();
    void koi8LettersStay();
    void koi8ReferencesShownAsCharacters();
    void folderBoxFollowsTheList();
    void httpControlsChangedAndBack();
    void refreshFollowsThePage();
    void pagesOwnWordsStay();
    void enterInEveryHistoryBox();
    void blankFolderHistoryLine();
    void buttonsWholeOnASmallScreen();
};

void TestMainWindow::firstStart() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    // As the program sets it: the calendar of the expiry date speaks Russian.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    MainWindow form;
    QCOMPARE(Find<QDateEdit>(form, "DateEdit1")->calendarWidget()->locale().monthName(12, QLocale::LongFormat),
             QStringLiteral("декабря"));
    for (const char* name : {"pathtek.fkd", "author.fkd", "copyrigt.fkd", "generatr.fkd",
                             "progid.fkd", "url.fkd", "Location.fkd", "Charset.fkd", "tag1.fkd"}) {
        QVERIFY2(QFile::exists(tmp.Data(QString::fromLatin1(name))), name);
    }
    QCOMPARE(form.windowTitle(), QStringLiteral("VARNOK-Soft :: VESKARON"));
    QCOMPARE(Panel(form, 0), QStringLiteral("Файл - не выбран"));
    QCOMPARE(Panel(form, 2), QStringLiteral("Программа запущена - 1 раз"));
    for (const char* name : {"BitSave", "ButPreviev", "SpButSetup", "ButGen"})
        QVERIFY2(!Find<QPushButton>(form, name)->isEnabled(), name);
    QVERIFY(!Find<QTabWidget>(form, "PageControl1")->isEnabled());
    for (const char* name : {"ComBox1", "ComBox2", "ComBox3", "ComBox4"})
        QCOMPARE(Find<QComboBox>(form, name)->currentIndex(), 23);
    QCOMPARE(Find<QLabel>(form, "Label17")->text(), QStringLiteral("0 симв."));
    QVERIFY(!Find<QWidget>(form, "DateEdit1")->isEnabled());

    QString about;
    dialogs->modal.push_back([&](QDialog& box) { about = box.windowTitle(); });
    Find<QPushButton>(form, "SpButAbout")->click();
    QCOMPARE(about, QStringLiteral("О программе"));

    bool setupShown = false;
    form.SetSetupAction([&] { setupShown = true; });
    Find<QPushButton>(form, "SpButSetup")->click();
    QVERIFY(setupShown);

    QVERIFY(form.close());
    QVERIFY(dialogs->shown.empty());
}

void TestMainWindow::loadEditSave() {
    TempFolders tmp;
    WriteBytes(tmp.Page("one.html"), Page("Первая"));
    WriteBytes(tmp.Page("notes.txt"), "not a page");
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("one.html")});
    auto* list = Find<QListWidget>(form, "FileListBox1");
    // The folder of the argument is shown, the page itself is not loaded.
    QVERIFY(!list->findItems(QStringLiteral("one.html"), Qt::MatchExactly).isEmpty());
    QVERIFY(list->findItems(QStringLiteral("notes.txt"), Qt::MatchExactly).isEmpty());
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(Find<QLineEdit>(form, "Edit1")->text().isEmpty());

    Choose(form, QStringLiteral("one.html"));
    QCOMPARE(Find<QLineEdit>(form, "Edit1")->text(), QStringLiteral("Первая"));
    QCOMPARE(Find<QComboBox>(form, "ComboBox1")->currentText(), QStringLiteral("Ivan"));
    QCOMPARE(Find<QComboBox>(form, "CR1")->currentIndex(), 2);
    QVERIFY(Find<QSpinBox>(form, "SEditRev1")->isEnabled());
    QCOMPARE(Find<QLabel>(form, "Label5")->text(),
             QStringLiteral("%1 байт").arg(QFileInfo(tmp.Page("one.html")).size()));
    QCOMPARE(Find<QComboBox>(form, "ComBoxPath")->currentText(), tmp.pages.path() + u'/');
    QCOMPARE(Panel(form, 0), QString());
    auto* save = Find<QPushButton>(form, "BitSave");
    QVERIFY(!save->isEnabled());
    QVERIFY(Find<QPushButton>(form, "ButPreviev")->isEnabled());

    // A blank after the author is no change; any other character is.
    auto* author = Find<QComboBox>(form, "ComboBox1");
    author->setEditText(QStringLiteral("Ivan "));
    QVERIFY(!save->isEnabled());
    author->setEditText(QStringLiteral("Petr"));
    QCOMPARE(Panel(form, 0), QStringLiteral("Файл - изменён"));
    QVERIFY(save->isEnabled());
    Find<QPlainTextEdit>(form, "Memo1")->setPlainText(QStringLiteral("abc\nde"));
    QCOMPARE(Find<QLabel>(form, "Label17")->text(), QStringLiteral("5 симв."));
    Find<QComboBox>(form, "CR1")->setCurrentIndex(4);
    QVERIFY(!Find<QSpinBox>(form, "SEditRev1")->isEnabled());

    // Enter keeps a history entry once, whatever its letter case.
    QTest::keyClick(author->lineEdit(), Qt::Key_Return);
    QTest::keyClick(author->lineEdit(), Qt::Key_Return);
    author->setEditText(QStringLiteral("PETR"));
    QTest::keyClick(author->lineEdit(), Qt::Key_Return);
    QCOMPARE(author->count(), 1);
    author->setEditText(QStringLiteral("Petr"));

    // The generator hands its keywords back as an edit.
    form.Document().SetKeywords(QStringLiteral("one, two\r\nthree"));
    QCOMPARE(form.Document().Keywords(), QStringLiteral("one, two\nthree"));
    QCOMPARE(Find<QLabel>(form, "Label18")->text(), QStringLiteral("13 симв."));
    QVERIFY(form.Document().SourceBytes().find("<title>") != std::string::npos);

    save->click();
    const QByteArray saved = ReadBytes(tmp.Page("one.html"));
    QVERIFY(saved.contains("<meta name=\"author\" content=\"Petr\" >"));
    QVERIFY(saved.contains("content=\"abcde\""));
    QVERIFY(saved.contains("content=\"one, twothree\""));
    QVERIFY(saved.contains("content=\"noindex,follow\""));
    QVERIFY(!saved.contains("Ivan"));
    QVERIFY(saved.endsWith(Cp1251("<body>Текст</body>\r\n</html>\r\n")));
    QCOMPARE(Panel(form, 0), QString());
    QVERIFY(!save->isEnabled());

    // Hints: the long part in panel 1; F1 opens the help at the control's topic.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Find<QLineEdit>(form, "Edit1"), &enter);
    QCOMPARE(Panel(form, 1), QStringLiteral("Заголовок страницы (тег TITLE)"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    Find<QLineEdit>(form, "Edit1")->setFocus();
    QTest::keyClick(Find<QLineEdit>(form, "Edit1"), Qt::Key_F1);
    QVERIFY(!dialogs->opened.empty());
    QCOMPARE(dialogs->opened.back().fragment(), QStringLiteral("topic-1"));

    // Preview: a file beside the page, opened, deleted at close; the page untouched.
    Find<QPushButton>(form, "ButPreviev")->click();
    QCOMPARE(dialogs->opened.back().toLocalFile(), tmp.Page("metatmp.html"));
    QVERIFY(QFile::exists(tmp.Page("metatmp.html")));
    QCOMPARE(ReadBytes(tmp.Page("one.html")), saved);
    QVERIFY(!save->isEnabled());
    QVERIFY(form.close());
    QVERIFY(!QFile::exists(tmp.Page("metatmp.html")));
}

void TestMainWindow::questionsOnSwitchAndClose() {
    TempFolders tmp;
    const QByteArray one = Page("Первая"), two = Page("Вторая");
    WriteBytes(tmp.Page("one.html"), one);
    WriteBytes(tmp.Page("two.html"), two);
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("one.html")});
    auto* list = Find<QListWidget>(form, "FileListBox1");
    auto* title = Find<QLineEdit>(form, "Edit1");
    Choose(form, QStringLiteral("one.html"));
    title->setText(QStringLiteral("Изменённая"));

    // Cancel: the selection goes back, nothing changes.
    dialogs->answers = {Answer::Cancel};
    Choose(form, QStringLiteral("two.html"));
    QCOMPARE(dialogs->shown.back().caption, QStringLiteral("Внимание"));
    QCOMPARE(dialogs->shown.back().text, msg::kSaveQuestion);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("one.html"));
    QCOMPARE(title->text(), QStringLiteral("Изменённая"));
    QVERIFY(form.CurrentDocument().modified);

    // Yes whose save fails: the error is shown and the switch does not happen.
    QFile::setPermissions(tmp.Page("one.html"), QFile::ReadOwner);
    dialogs->answers = {Answer::Yes};
    dialogs->shown.clear();
    Choose(form, QStringLiteral("two.html"));
    QCOMPARE(dialogs->shown.size(), size_t(2));
    QCOMPARE(dialogs->shown.back().kind, MessageKind::Error);
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("one.html")));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("one.html"));
    QCOMPARE(ReadBytes(tmp.Page("one.html")), one);
    QVERIFY(form.CurrentDocument().modified);
    QVERIFY(Find<QPushButton>(form, "BitSave")->isEnabled());
    QFile::setPermissions(tmp.Page("one.html"), QFile::ReadOwner | QFile::WriteOwner);

    // No: the changes are dropped and the other page loads.
    dialogs->answers = {Answer::No};
    Choose(form, QStringLiteral("two.html"));
    QCOMPARE(title->text(), QStringLiteral("Вторая"));
    QCOMPARE(ReadBytes(tmp.Page("one.html")), one);

    // Closing: Cancel and a failed Yes keep the window; No closes it.
    title->setText(QStringLiteral("Снова"));
    dialogs->answers = {Answer::Cancel};
    QVERIFY(!form.close());
    QFile::setPermissions(tmp.Page("two.html"), QFile::ReadOwner);
    dialogs->answers = {Answer::Yes};
    QVERIFY(!form.close());
    QVERIFY(form.CurrentDocument().modified);
    dialogs->answers = {Answer::No};
    QVERIFY(form.close());
    QCOMPARE(ReadBytes(tmp.Page("two.html")), two);

    // Yes with a save that works closes after writing.
    MainWindow again({tmp.Page("one.html")});
    Choose(again, QStringLiteral("one.html"));
    Find<QLineEdit>(again, "Edit1")->setText(QStringLiteral("Последняя"));
    dialogs->answers = {Answer::Yes};
    QVERIFY(again.close());
    QVERIFY(ReadBytes(tmp.Page("one.html")).contains(Cp1251("<title>Последняя</title>")));
}

void TestMainWindow::loadErrors() {
    TempFolders tmp;
    WriteBytes(tmp.Page("good.html"), Page("Хорошая"));
    WriteBytes(tmp.Page("bad.html"), Page("Плохая", "<meta name=\"revisit-after\" content=\"soon day\">\r\n"));
    WriteBytes(tmp.Page("gone.html"), Page("Пропавшая"));
    WriteBytes(tmp.Page("headless.html"), "<html><title>No head</title><body></body></html>");
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("good.html")});
    Choose(form, QStringLiteral("good.html"));
    QVERIFY(dialogs->shown.empty());

    // A number that cannot be read: reported with the file, the window stays usable.
    Choose(form, QStringLiteral("bad.html"));
    QCOMPARE(dialogs->shown.size(), size_t(1));
    QCOMPARE(dialogs->shown.back().kind, MessageKind::Error);
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("bad.html")));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("soon")));
    QCOMPARE(Find<QLineEdit>(form, "Edit1")->text(), QStringLiteral("Плохая"));
    QVERIFY(Find<QListWidget>(form, "FileListBox1")->isEnabled());
    QVERIFY(!form.CurrentDocument().modified);

    // A file that went away after it was listed.
    QFile::remove(tmp.Page("gone.html"));
    Choose(form, QStringLiteral("gone.html"));
    QCOMPARE(dialogs->shown.size(), size_t(2));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("gone.html")));
    QCOMPARE(Find<QListWidget>(form, "FileListBox1")->currentItem()->text(), QStringLiteral("bad.html"));
    QVERIFY(Find<QListWidget>(form, "FileListBox1")->isEnabled());

    // A save the writer refuses keeps the document modified, and a Yes with it
    // does not switch pages.
    Choose(form, QStringLiteral("headless.html"));
    Find<QLineEdit>(form, "Edit1")->setText(QStringLiteral("New"));
    dialogs->shown.clear();
    Find<QPushButton>(form, "BitSave")->click();
    QCOMPARE(dialogs->shown.size(), size_t(1));
    QVERIFY(dialogs->shown.front().text.contains(QStringLiteral("<head>")));
    QVERIFY(form.CurrentDocument().modified);
    QVERIFY(Find<QPushButton>(form, "BitSave")->isEnabled());
    dialogs->answers = {Answer::Yes};
    Choose(form, QStringLiteral("good.html"));
    QCOMPARE(Find<QLineEdit>(form, "Edit1")->text(), QStringLiteral("New"));
    dialogs->answers = {Answer::No};
    QVERIFY(form.close());

    // The real message box shows such a text as it is, "<head>" included.
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        if (box->textFormat() != Qt::PlainText) shown.clear();
        box->accept();
    });
    QtDialogs().Error(nullptr, QStringLiteral("В странице нет тега <head>"));
    QCOMPARE(shown, QStringLiteral("В странице нет тега <head>"));
}

void TestMainWindow::stateAfterRestart() {
    TempFolders tmp;
    WriteBytes(tmp.Page("one.html"), Page("Первая"));
    ScopedScriptedDialogs dialogs;
    {
        MainWindow form({tmp.Page("one.html")});
        Choose(form, QStringLiteral("one.html"));
        Find<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
        auto* copyright = Find<QComboBox>(form, "ComboBox3");
        copyright->setEditText(QStringLiteral("Studio"));
        QTest::keyClick(copyright->lineEdit(), Qt::Key_Return);
        dialogs->answers = {Answer::No};
        QVERIFY(form.close());
    }
    MainWindow form;
    QCOMPARE(Panel(form, 2), QStringLiteral("Программа запущена - 2 раза"));
    // The count takes the word's Russian form.
    for (const auto& [count, word] : std::initializer_list<std::pair<int, const char*>>{
             {4, "раза"}, {5, "раз"}, {11, "раз"}, {12, "раз"}, {14, "раз"}, {21, "раз"}, {22, "раза"}, {104, "раза"}, {112, "раз"}})
        QCOMPARE(msg::StartCountStatus(count), QStringLiteral("Программа запущена - %1 %2").arg(count).arg(QString::fromUtf8(word)));
    // The stored tab comes back with the first page, not over the greyed, empty tabs.
    QCOMPARE(Find<QTabWidget>(form, "PageControl1")->currentIndex(), 0);
    Choose(form, QStringLiteral("one.html"));
    QCOMPARE(Find<QTabWidget>(form, "PageControl1")->currentIndex(), 1);
    QCOMPARE(Find<QComboBox>(form, "ComBoxPath")->currentText(), tmp.pages.path() + u'/');
    QCOMPARE(Find<QComboBox>(form, "ComboBox3")->itemText(0), QStringLiteral("Studio"));
    QVERIFY(!Find<QListWidget>(form, "FileListBox1")->findItems(QStringLiteral("one.html"), Qt::MatchExactly).isEmpty());
    QCOMPARE(ReadBytes(tmp.Data(QStringLiteral("copyrigt.fkd"))), QByteArray("Studio\r\n"));
    QVERIFY(form.close());

    // The folder tree shows the page's folder selected and in view, also
    // after many sibling folders have been read in and sorted above it.
    QDir pages(tmp.pages.path());
    for (int i = 0; i < 300; ++i) pages.mkdir(QStringLiteral("d%1").arg(i, 3, 10, QChar(u'0')));
    pages.mkdir(QStringLiteral("zz"));
    MainWindow third({tmp.Page(QStringLiteral("zz/two.html"))});
    third.show();
    QVERIFY(QTest::qWaitForWindowExposed(&third));
    QTest::qWait(500);
    auto* tree = Find<QTreeView>(third, "DirectoryListBox1");
    QCOMPARE(tree->currentIndex().data(QFileSystemModel::FilePathRole).toString(), tmp.Page(QStringLiteral("zz")));
    QVERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
    QVERIFY(third.close());
}

void TestMainWindow::historyFileProblems() {
    TempFolders tmp;
    QVERIFY(QDir(tmp.data.path()).mkdir(QStringLiteral("author.fkd")));
    WriteBytes(tmp.Data("url.fkd"), "http://a/\r\n");
    {
        KeyAccess access;
        access.WriteInteger("NoteStyle", 7);
        QVERIFY(access.Close());
    }
    ScopedScriptedDialogs dialogs;
    MainWindow form;
    // Reported once with the file's name, in Russian like the setting out of
    // range; everything else starts as usual.
    QCOMPARE(dialogs->shown.size(), size_t(2));
    QVERIFY(dialogs->shown.front().text.contains(QStringLiteral("author.fkd")));
    QVERIFY(dialogs->shown.front().text.contains(QStringLiteral("Не удалось прочитать файл")));
    QVERIFY(dialogs->shown.front().text.contains(QStringLiteral("это папка")));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("\"NoteStyle\" = 7 вне допустимых границ")));
    QCOMPARE(Find<QComboBox>(form, "ComboBoxUrl")->count(), 1);
    QCOMPARE(Panel(form, 2), QStringLiteral("Программа запущена - 1 раз"));
    QCOMPARE(Panel(form, 0), QStringLiteral("Файл - не выбран"));
    auto* url = Find<QComboBox>(form, "ComboBoxUrl");
    url->setEditText(QStringLiteral("http://b/"));
    QTest::keyClick(url->lineEdit(), Qt::Key_Return);
    QVERIFY(form.close());
    QCOMPARE(dialogs->shown.size(), size_t(3));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("author.fkd")));
    QCOMPARE(ReadBytes(tmp.Data("url.fkd")), QByteArray("http://a/\r\nhttp://b/\r\n"));
}

// UTF-8 and other charsets: shown as their characters, typed text saved in the
// page's own encoding, what it cannot hold kept as references and reported.
void TestMainWindow::pagesInOtherEncodings() {
    TempFolders tmp;
    const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") +
        "<html>\r\n<head><title>Ёлка</title>\r\n"
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\r\n</head>\r\n"
        "<body>Текст</body>\r\n</html>\r\n";
    WriteBytes(tmp.Page("utf8.html"), utf8);
    WriteBytes(tmp.Page("latin.html"), "<html><head><meta http-equiv=\"content-type\" "
                                       "content=\"text/html; charset=ISO-8859-1\">"
                                       "<title>Caf\xE9</title></head></html>");
    WriteBytes(tmp.Page("cp1251.html"), Page("Первая"));
    WriteBytes(tmp.Page("koi.html"), "<html><head><meta http-equiv=\"content-type\" "
                                     "content=\"text/html; charset=koi8-r\"><title>t</title>"
                                     "<meta name=\"description\" content=\"abc\xBF\"></head></html>");
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("utf8.html")});
    auto* title = Find<QLineEdit>(form, "Edit1");
    auto* charset = Find<QComboBox>(form, "ComboBoxWin");

    Choose(form, QStringLiteral("utf8.html"));
    QCOMPARE(title->text(), QStringLiteral("Ёлка"));
    QCOMPARE(charset->currentText(), QStringLiteral("utf-8"));
    // The editor shows the page once its tab is opened.
    auto* tabs = Find<QTabWidget>(form, "PageControl1");
    tabs->setCurrentIndex(3);
    QVERIFY(Find<SourceView>(form, "RE1")->Text().contains(QStringLiteral("<body>Текст</body>")));
    tabs->setCurrentIndex(0);
    title->setText(QStringLiteral("Новая ёлка"));
    Find<QPushButton>(form, "BitSave")->click();
    QByteArray saved = ReadBytes(tmp.Page("utf8.html"));
    QVERIFY(saved.startsWith("\xEF\xBB\xBF"));
    QVERIFY(saved.contains("<title>Новая ёлка</title>"));
    QVERIFY(saved.contains("charset=utf-8"));
    QVERIFY(dialogs->shown.empty());

    Choose(form, QStringLiteral("latin.html"));
    QCOMPARE(title->text(), QStringLiteral("Café"));
    QCOMPARE(charset->currentText(), QStringLiteral("ISO-8859-1"));
    title->setText(QStringLiteral("Café Ж"));
    Find<QPushButton>(form, "BitSave")->click();
    saved = ReadBytes(tmp.Page("latin.html"));
    QVERIFY(saved.contains("<title>Caf\xE9 &#1046;</title>"));
    QVERIFY(saved.contains("charset=ISO-8859-1"));
    QCOMPARE(dialogs->shown.size(), size_t(1));
    QVERIFY(dialogs->shown.back().text.contains(QStringLiteral("(iso-8859-1)")));
    QVERIFY(dialogs->shown.back().text.endsWith(QStringLiteral(": 1.")));

    // On a KOI8-R page a typed capital io is KOI8's own; a field left alone keeps its bytes.
    Choose(form, QStringLiteral("koi.html"));
    title->setText(QStringLiteral("Ёж"));
    Find<QPushButton>(form, "BitSave")->click();
    saved = ReadBytes(tmp.Page("koi.html"));
    QVERIFY(saved.contains("<title>\xB3\xD6</title>"));
    QVERIFY(saved.contains("content=\"abc\xBF\""));
    QCOMPARE(dialogs->shown.size(), size_t(1));

    // A Windows-1251 page and its author history keep what the code page lacks as references.
    Choose(form, QStringLiteral("cp1251.html"));
    auto* author = Find<QComboBox>(form, "ComboBox1");
    author->setEditText(QStringLiteral("Ли 李"));
    QTest::keyClick(author->lineEdit(), Qt::Key_Return);
    Find<QPushButton>(form, "BitSave")->click();
    QVERIFY(ReadBytes(tmp.Page("cp1251.html")).contains(Cp1251("content=\"Ли &#26446;\"")));
    QCOMPARE(dialogs->shown.size(), size_t(2));
    QVERIFY(form.close());
    QCOMPARE(ReadBytes(tmp.Data(QStringLiteral("author.fkd"))), Cp1251("Ли &#26446;\r\n"));
    MainWindow again;
    QCOMPARE(Find<QComboBox>(again, "ComboBox1")->itemText(0), QStringLiteral("Ли 李"));
    QVERIFY(again.close());
}

// Letters read from a KOI8 page go back as the bytes they came from, whatever
// the translation makes of them; typed ones become KOI8's own, or references
// when KOI8 has no such letter.
// A KOI8 page holds a dash as "&#8212;" (a save writes it so): the title box
// shows and measures the dash, and the page gets its bytes back as they were.
void TestMainWindow::koi8ReferencesShownAsCharacters() {
    TempFolders tmp;
    const QByteArray head = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">";
    WriteBytes(tmp.Page("k.html"), head + "<title>" + InCharset("koi8-r", "Окна") + " &#8212; &#x2014; " +
                                       InCharset("koi8-r", "двери") + "</title><meta name=\"author\" content=\"A\"></head><body></body></html>");
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("k.html")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Choose(form, QStringLiteral("k.html"));
    auto* title = Find<QLineEdit>(form, "Edit1");
    // The form a save writes is shown as its character; another form as it is.
    const QString shown = QStringLiteral("Окна — &#x2014; двери");
    QCOMPARE(title->text(), shown);
    QCOMPARE(Find<QLabel>(form, "LabelTitlePx")->text(), msg::kWidthPx.arg(TextWidthPx(shown.toStdString(), 20)).arg(600));
    QVERIFY(!form.CurrentDocument().modified);
    // Typed at the end, by keys: the dash keeps its bytes, a new one is written as the page writes it.
    title->setFocus();
    title->end(false);
    for (const QString& key : {QStringLiteral(" "), QStringLiteral("—")})
        QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, key, Qt::NoModifier);
    QTest::mouseClick(Find<QPushButton>(form, "BitSave"), Qt::LeftButton);
    const QByteArray saved = ReadBytes(tmp.Page("k.html"));
    QVERIFY2(saved.contains("<title>" + InCharset("koi8-r", "Окна") + " &#8212; &#x2014; " + InCharset("koi8-r", "двери") +
                            " &#8212;</title>"),
             saved.constData());
    // Read again: the same text in the box, nothing changed.
    form.loadChosenFile(tmp.Page("k.html"));
    QCOMPARE(title->text(), shown + QStringLiteral(" —"));
    QVERIFY(!form.CurrentDocument().modified);
    QVERIFY(form.close());
}

// The folder box names the folder whose files the list shows, however the
// user got there.
void TestMainWindow::folderBoxFollowsTheList() {
    TempFolders tmp;
    QDir(tmp.pages.path()).mkpath(QStringLiteral("sub"));
    WriteBytes(tmp.Page("a.html"), Page("A"));
    WriteBytes(tmp.Page("sub/b.html"), Page("B"));
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("a.html")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Choose(form, QStringLiteral("a.html"));
    auto* box = Find<QComboBox>(form, "ComBoxPath");
    auto* list = Find<QListWidget>(form, "FileListBox1");
    const auto shownFolder = [box] { return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText(); };
    QCOMPARE(shownFolder(), tmp.pages.path() + u'/');
    Choose(form, QStringLiteral("[sub]"));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!list->findItems(QStringLiteral("b.html"), Qt::MatchExactly).isEmpty());
    QCOMPARE(shownFolder(), tmp.Page("sub/"));
    QCOMPARE(box->currentIndex(), -1);  // not in the history until a page of it is loaded
    Choose(form, QStringLiteral("b.html"));
    QCOMPARE(box->currentText(), tmp.Page("sub/"));
    // Back up by the list, then by the history's entry.
    Choose(form, QStringLiteral("[..]"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(shownFolder(), tmp.pages.path() + u'/');
    QVERIFY(box->currentIndex() >= 0);
    QCOMPARE(box->findText(tmp.Page("sub/")), box->currentIndex() + 1);
    QTest::keyClick(box, Qt::Key_Down);
    QVERIFY(!list->findItems(QStringLiteral("b.html"), Qt::MatchExactly).isEmpty());
    QCOMPARE(shownFolder(), tmp.Page("sub/"));
    QVERIFY(form.close());
}

void TestMainWindow::koi8LettersStay() {
    struct Case {
        const char* charset;
        const char* author;
        const char* typed;
        QByteArray written;
        size_t references;
    } cases[] = {
        {"koi8-r", "Сергей Ёлкин", "!", InCharset("koi8-r", "Сергей Ёлкин!"), 0},
        {"koi8-r", "Сергей Ёлкин", "Ёё№і", InCharset("koi8-r", "Сергей ЁлкинЁё") + "&#8470;&#1110;", 2},
        {"koi8-u", "Євген Їжак", "!", InCharset("koi8-u", "Євген Їжак!"), 0},
        {"koi8-u", "Євген Їжак", "ЇҐ", InCharset("koi8-u", "Євген ЇжакЇҐ"), 0},
    };
    for (const Case& c : cases) {
        TempFolders tmp;
        const QByteArray body = InCharset(c.charset, "<body>Ёлка, Їжак, Ґанок</body></html>");
        WriteBytes(tmp.Page("k.html"), QByteArray("<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=") +
                                           c.charset + "\"><title>t</title><meta name=\"author\" content=\"" +
                                           InCharset(c.charset, c.author) + "\"></head>" + body);
        ScopedScriptedDialogs dialogs;
        MainWindow form({tmp.Page("k.html")});
        Choose(form, QStringLiteral("k.html"));
        auto* author = Find<QComboBox>(form, "ComboBox1");
        const QString shown = author->currentText();
        author->setEditText(shown + u' ');
        QVERIFY2(!form.CurrentDocument().modified, c.typed);
        author->setEditText(shown + QString::fromUtf8(c.typed));
        QVERIFY(form.CurrentDocument().modified);
        QVERIFY(form.saveDocument());
        const QByteArray saved = ReadBytes(tmp.Page("k.html"));
        QVERIFY2(saved.contains("content=\"" + c.written + "\""), saved.constData());
        QVERIFY(saved.endsWith(body));
        QCOMPARE(dialogs->shown.size(), c.references ? size_t(1) : size_t(0));
        if (c.references) QVERIFY(dialogs->shown.back().text.endsWith(QStringLiteral(": %1.").arg(c.references)));
        // Saved and shown again: nothing counts as a change.
        author->setEditText(author->currentText() + u' ');
        QVERIFY(!form.CurrentDocument().modified);
        // The source editor follows the same rule.
        Find<QTabWidget>(form, "PageControl1")->setCurrentIndex(3);
        Find<SourceView>(form, "RE1")->append(QString::fromUtf8(c.typed));
        QVERIFY(form.saveDocument());
        QVERIFY(ReadBytes(tmp.Page("k.html")).endsWith(body + c.written.mid(InCharset(c.charset, c.author).size())));
        QVERIFY(form.close());
    }
}

// Each control of the page changed, saved, changed back and saved: the file
// gets the change and then its old bytes back.
void TestMainWindow::httpControlsChangedAndBack() {
    TempFolders tmp;
    WriteBytes(tmp.Page("h.html"),
               Page("Страница", "<meta http-equiv=\"cache-control\" content=\"no-store\">\r\n"
                                "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n"
                                "<meta http-equiv=\"refresh\" content=\"30; url=next.html\">\r\n"
                                "<meta http-equiv=\"expiries\" content=\"Sat, 19 Dec 2026 30:14:05 GMT\">\r\n"
                                "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
                                "<meta http-equiv=\"content-language\" content=\"ru\">\r\n"
                                "<meta http-equiv=\"location\" content=\"http://a.ru/\">\r\n"
                                "<meta http-equiv=\"page-enter\" content=\"RevealTrans(Duration=2.0,Transition=12)\">\r\n"));
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("h.html")});
    Choose(form, QStringLiteral("h.html"));
    // Once saved, the file holds the block as the writer lays it out.
    auto* title = Find<QLineEdit>(form, "Edit1");
    title->setText(QStringLiteral("Другая"));
    QVERIFY(form.saveDocument());
    title->setText(QStringLiteral("Страница"));
    QVERIFY(form.saveDocument());
    const QByteArray before = ReadBytes(tmp.Page("h.html"));
    QVERIFY(before.contains("content=\"30;url=next.html\""));

    const char* const controls[] = {"ComboBoxCasecontrol", "ComboBoxProgma", "CheckBoxRefrech", "SpinEdit1",
                                    "ComboBoxCharset", "CheckBoxExpiries", "DateEdit1", "DateTimePicker2",
                                    "CheckBoxType", "ComboBoxType", "ComboBoxWin", "ComboBoxLanguage",
                                    "ComboBoxLocation", "XPCheckBox1", "XPCheckBox3", "SpinEdit2", "ComBox1"};
    for (const char* control : controls) {
        const std::function<void()> back = Change(Find<QWidget>(form, control));
        QVERIFY2(form.CurrentDocument().modified, control);
        QVERIFY2(form.saveDocument(), control);
        QVERIFY2(!form.CurrentDocument().modified, control);
        const QByteArray changed = ReadBytes(tmp.Page("h.html"));
        QVERIFY2(changed != before, control);
        // The charset chosen (the last: utf-8) is the one the file is written in.
        if (control == std::string_view("ComboBoxWin")) QVERIFY(changed.contains("<title>Страница</title>"));
        back();
        QVERIFY2(form.CurrentDocument().modified, control);
        QVERIFY2(form.saveDocument(), control);
        QVERIFY2(ReadBytes(tmp.Page("h.html")) == before, control);
    }
    QVERIFY(dialogs->shown.empty());
    QVERIFY(form.close());
}

// The refresh box is the page's own: a save keeps the tag of a page that has
// one and adds none to a page without, from the very first start on.
void TestMainWindow::refreshFollowsThePage() {
    TempFolders tmp;
    WriteBytes(tmp.Page("a.html"), Page("A", "<meta http-equiv=\"refresh\" content=\"10; url=next.htm\">\r\n"));
    WriteBytes(tmp.Page("b.html"), Page("B"));
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("a.html")});
    for (const char* name : {"a.html", "b.html", "a.html"}) {
        Choose(form, QString::fromLatin1(name));
        const bool has = name[0] == 'a';
        QCOMPARE(Find<QCheckBox>(form, "CheckBoxRefrech")->isChecked(), has);
        QCOMPARE(Find<QComboBox>(form, "ComboBoxCharset")->isEnabled(), has);
        Find<QLineEdit>(form, "Edit1")->setText(QStringLiteral("Новый %1").arg(QLatin1String(name)));
        QVERIFY(form.saveDocument());
        const QByteArray saved = ReadBytes(tmp.Page(QString::fromLatin1(name)));
        QCOMPARE(saved.contains("<meta http-equiv=\"refresh\" content=\"10;url=next.htm\">"), has);
        QCOMPARE(saved.contains("refresh"), has);
    }
    QVERIFY(form.close());
}

// Words the fixed lists cannot hold are shown as the page's own entry and
// written back as they stand, until the user chooses another entry; nothing
// of the page before is carried over.
void TestMainWindow::pagesOwnWordsStay() {
    TempFolders tmp;
    WriteBytes(tmp.Page("a.html"), Page("A", "<meta http-equiv=\"content-language\" content=\"ru\">\r\n"));
    const char* own = "<meta name=\"robots\" content=\"noindex, nofollow, noarchive\">\r\n"
                      "<meta http-equiv=\"content-language\" content=\"ru-RU\">\r\n";
    QByteArray b = Page("B", own);
    b.replace("<meta name=\"robots\" content=\"index,follow\">\r\n", "");
    WriteBytes(tmp.Page("b.html"), b);
    ScopedScriptedDialogs dialogs;
    MainWindow form({tmp.Page("a.html")});
    Choose(form, QStringLiteral("a.html"));
    Choose(form, QStringLiteral("b.html"));
    auto* robots = Find<QComboBox>(form, "CR1");
    auto* language = Find<QComboBox>(form, "ComboBoxLanguage");
    QCOMPARE(robots->currentIndex(), 1);  // what the words say...
    QCOMPARE(robots->count(), 6);         // ...and the words themselves
    QCOMPARE(robots->itemText(5), QStringLiteral("noindex, nofollow, noarchive (со страницы)"));
    QCOMPARE(language->currentText(), QStringLiteral("ru-RU (со страницы)"));
    QVERIFY(!language->itemData(language->currentIndex(), Qt::ToolTipRole).toString().isEmpty());
    auto* save = Find<QPushButton>(form, "BitSave");
    QVERIFY(!save->isEnabled());
    auto* verdict = Find<QLabel>(form, "LabelIndexing");
    QCOMPARE(verdict->text(), QStringLiteral("Не индексируется: noindex"));

    Find<QLineEdit>(form, "Edit1")->setText(QStringLiteral("Новый"));
    QVERIFY(form.saveDocument());
    QByteArray saved = ReadBytes(tmp.Page("b.html"));
    QVERIFY(saved.contains("content=\"noindex, nofollow, noarchive\""));
    QVERIFY(saved.contains("content=\"ru-RU\""));

    // Another entry replaces the words; the empty one takes the tag out.
    robots->setCurrentIndex(2);
    QCOMPARE(verdict->text(), QStringLiteral("Индексируется"));
    language->setCurrentIndex(0);
    QVERIFY(save->isEnabled());
    QVERIFY(form.saveDocument());
    saved = ReadBytes(tmp.Page("b.html"));
    QVERIFY(saved.contains("<meta name=\"robots\" content=\"all\" >"));
    QVERIFY(!saved.contains("noarchive"));
    QVERIFY(!saved.contains("content-language"));
    QVERIFY(form.close());
}

// Enter typed into each history box as a keyboard sends it: to the widget
// that has the focus.
void TestMainWindow::enterInEveryHistoryBox() {
    TempFolders tmp;
    WriteBytes(tmp.Page("one.html"), Page("Первая"));
    ScopedScriptedDialogs dialogs;
    const char* const boxes[][2] = {
        {"ComboBox1", "author.fkd"},        {"ComboBox3", "copyrigt.fkd"}, {"ComboBoxGENERATOR", "generatr.fkd"},
        {"ComboBoxProgId", "progid.fkd"},   {"ComboBoxUrl", "url.fkd"},    {"ComboBoxLocation", "Location.fkd"},
        {"ComboBoxCharset", "Charset.fkd"},
    };
    {
        MainWindow form({tmp.Page("one.html")});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Choose(form, QStringLiteral("one.html"));
        Find<QCheckBox>(form, "CheckBoxRefrech")->click();
        auto* tabs = Find<QTabWidget>(form, "PageControl1");
        for (const auto& [name, file] : boxes) {
            auto* box = Find<QComboBox>(form, name);
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->widget(i)->isAncestorOf(box)) tabs->setCurrentIndex(i);
            }
            box->setFocus();
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused && (focused == box || box->isAncestorOf(focused)), name);
            const int before = box->count();
            QTest::keyClicks(focused, QStringLiteral("Studio"));
            QTest::keyClick(focused, Qt::Key_Return);
            QTest::keyClick(focused, Qt::Key_Enter);
            QCOMPARE(box->count(), before + 1);
            QCOMPARE(box->itemText(before).right(6), QStringLiteral("Studio"));
            box->setEditText(box->itemText(before).toUpper());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(box->count(), before + 1);
        }
        dialogs->answers = {Answer::No};
        QVERIFY(form.close());
    }
    for (const auto& [name, file] : boxes)
        QVERIFY2(ReadBytes(tmp.Data(QString::fromLatin1(file))).endsWith("Studio\r\n"), file);
}

// A blank line of the folder history is never offered, and going to a blank
// or vanished folder ends.
void TestMainWindow::blankFolderHistoryLine() {
    TempFolders tmp;
    WriteBytes(tmp.Data("pathtek.fkd"), ("\r\n" + tmp.pages.path() + "/\r\n \r\n").toUtf8());
    ScopedScriptedDialogs dialogs;
    MainWindow form;
    auto* history = Find<QComboBox>(form, "ComBoxPath");
    QCOMPARE(history->count(), 1);
    dialogs->modal.push_back([&](QDialog& dialog) {
        static_cast<HistoryEditor&>(dialog).SetLines({QString(), history->itemText(0), QStringLiteral("  ")});
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    form.editFolderHistory();
    QCOMPARE(history->count(), 1);
    for (const QString& gone : {QString(), QStringLiteral("   "), QStringLiteral("none/x"), tmp.Page("no/such")})
        Find<FileBrowserPane>(form, "Panel2")->GoToFolder(gone);
    QVERIFY(form.close());
}

// On a 640x480 screen every button of the bar is whole and inside the window.
void TestMainWindow::buttonsWholeOnASmallScreen() {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    MainWindow form;
    form.show();
    QVERIFY2(form.minimumSizeHint().width() <= 640, qPrintable(QString::number(form.minimumSizeHint().width())));
    form.resize(640, 480);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.width(), 640);
    for (const char* name : {"SpButExit", "SpButAbout", "SpButHelp", "SpButSetup", "SpButSite", "ButGen", "ButPreviev", "BitSave"}) {
        auto* button = Find<QPushButton>(form, name);
        const QRect at(button->mapTo(&form, QPoint(0, 0)), button->size());
        QVERIFY2(form.rect().contains(at), name);
        QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(button->text()) + 8, name);
    }
    if (!qEnvironmentVariableIsEmpty("VESKARON_SHOTS"))
        form.grab().save(qEnvironmentVariable("VESKARON_SHOTS") + QStringLiteral("/main-640.png"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
