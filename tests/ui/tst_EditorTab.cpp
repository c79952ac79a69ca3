// The "Редактор" tab and the field editor: snippets, word wrap, the new META
// block, saving the source as edited, the size labels, the folder history
// edited as lines, the exact bytes of a page edited in the view, texts made
// ahead of time, and the time a 20 MB page takes to load and save.
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QThreadPool>
#include <QTabWidget>
#include <QTextDocument>

#include "engine/text_codec.h"
#include "tests/ui/ui_fixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/main/MainWindow.h"
#include "ui/common/HistoryEditor.h"
#include "ui/pages/EditorTab.h"
#include "ui/pages/SourceView.h"

using namespace veskaron;
using namespace veskaron::ui;
using namespace veskaron::ui::test;

namespace {

const QByteArray kPage =
    "<html>\r\n<head>\r\n<title>Old</title>\r\n<meta name=\"author\" content=\"Ivan\">\r\n"
    "</head>\r\n<body>0123456789 body</body>\r\n</html>\r\n";

// A window with one page loaded and the editor tab open.
struct Loaded {
    TempFolders tmp;
    ScopedScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> form;
    SourceView* editor = nullptr;

    explicit Loaded(const QByteArray& page = kPage, const QByteArray& snippets = {}) {
        WriteBytes(tmp.Page("page.html"), page);
        if (!snippets.isEmpty()) WriteBytes(tmp.Data("tag1.fkd"), snippets);
        form = std::make_unique<MainWindow>(QStringList{tmp.Page("page.html")});
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
        auto* list = Find<QListWidget>(*form, "FileListBox1");
        list->setCurrentItem(list->findItems(QStringLiteral("page.html"), Qt::MatchExactly).front());
        Find<QTabWidget>(*form, "PageControl1")->setCurrentIndex(3);
        editor = Find<SourceView>(*form, "RE1");
    }
    ~Loaded() {
        dialogs->answers = {Answer::No};
        form->close();
    }
    QString Panel(int i) {
        return Find<QLabel>(*form, QStringLiteral("StatusPanel%1").arg(i).toLatin1().constData())->text();
    }
    void Caret(int position, int selected = 0) { editor->SetCaretCharacter(position, selected); }
    // A character typed as the keyboard gives it.
    void Type(const QString& text) {
        for (const QChar c : text) {
            if (c == u'\n') {
                QTest::keyClick(editor, Qt::Key_Return);
                continue;
            }
            QTest::sendKeyEvent(QTest::Press, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    qint64 Label(const char* name) {
        const QString text = Find<QLabel>(*form, name)->text();
        return text.left(text.indexOf(u' ')).toLongLong();
    }
};

}  // namespace

class TestEditorTab : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void snippets();
    void wordWrapKeepsState();
    void insertNewAndSaveAsEdited();
    void editorFollowsTheFieldTabs();
    void sizeLabels();
    void sizesAreTheBytesSaved();
    void undoneEditsAreNoEdits();
    void folderHistoryEditor();
    void roundTripThroughTheView();
    void staleTextsAreNotWaitedFor();
    void largePage();
};

void TestEditorTab::snippets() {
    Loaded w(kPage, "<hr>\r\n\r\n&lt;hr&gt;\r\n");
    auto* menu = Find<QMenu>(*w.form, "PopupMenu2");
    QCOMPARE(menu->actions().size(), 3);  // the empty line too
    auto* button = Find<QAbstractButton>(*w.form, "BtnPopup1");
    QVERIFY(!button->isEnabled());
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(w.editor, &focus);
    QVERIFY(button->isEnabled());

    // Nothing goes in at the very start; one character on it does.
    const QString before = w.editor->Text();
    w.Caret(0);
    button->click();
    QCOMPARE(w.editor->Text(), before);
    QCOMPARE(w.Panel(0), QString());
    w.Caret(1);
    button->click();
    QCOMPARE(w.editor->Text(), before.left(1) + QStringLiteral("<br>") + before.mid(1));
    QCOMPARE(w.Panel(0), QStringLiteral("Файл - изменён"));

    // A menu entry loses its "&"s, becomes the button's caption, replaces a selection.
    const int body = static_cast<int>(w.editor->Text().indexOf(QStringLiteral("0123456789")));
    w.Caret(body, 10);
    menu->actions().at(2)->trigger();
    QCOMPARE(button->text(), QStringLiteral("lt;hrgt;"));
    QVERIFY(w.editor->Text().contains(QStringLiteral("<body>lt;hrgt; body</body>")));
    QCOMPARE(w.Panel(1), QStringLiteral("Вставка в позицию курсора - lt;hrgt;"));
    // Markup from the snippet file is shown as the text it is: in the status
    // bar, in the tips, as the caption and as the accessible name.
    w.Caret(1);
    menu->actions().at(0)->trigger();
    QCOMPARE(w.Panel(1), QStringLiteral("Вставка в позицию курсора - <hr>"));
    QCOMPARE(Find<QLabel>(*w.form, "StatusPanel1")->textFormat(), Qt::PlainText);
    for (QWidget* tipped : {static_cast<QWidget*>(button), static_cast<QWidget*>(w.editor)}) {
        QTextDocument tip;
        tip.setHtml(tipped->toolTip());
        QCOMPARE(tip.toPlainText(), QStringLiteral("<hr>"));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QStringLiteral("<hr>"));
    QVERIFY(button->width() >= button->fontMetrics().horizontalAdvance(QStringLiteral("<hr>")) + 13 + 4);
    // Undo does not bring the replaced characters back.
    const QString inserted = w.editor->Text();
    Find<QAbstractButton>(*w.form, "SpeedButton4")->click();
    QCOMPARE(w.editor->Text(), inserted);

    // Cut and copy follow selections made with the mouse, not with the keyboard.
    auto* cut = Find<QAbstractButton>(*w.form, "SpeedButton1");
    QTest::mouseClick(w.editor->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::qWait(1);
    QVERIFY(!cut->isEnabled());
    QTest::keyClick(w.editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::qWait(1);
    QVERIFY(w.editor->HasSelection());
    QVERIFY(!cut->isEnabled());
}

void TestEditorTab::wordWrapKeepsState() {
    Loaded w;
    auto* wrap = Find<QCheckBox>(*w.form, "CheckBox1");
    wrap->click();
    QCOMPARE(w.editor->wrapMode(), QsciScintilla::WrapWord);
    QCOMPARE(w.Panel(0), QString());
    QVERIFY(!Find<QPushButton>(*w.form, "BitSave")->isEnabled());
    // The load works without wrap and gives it back.
    w.form->loadChosenFile(w.tmp.Page("page.html"));
    QCOMPARE(w.editor->wrapMode(), QsciScintilla::WrapWord);
    wrap->click();
    QCOMPARE(w.editor->wrapMode(), QsciScintilla::WrapNone);
}

void TestEditorTab::insertNewAndSaveAsEdited() {
    // A no-break space (0xA0 in Windows-1251) and a lone CR survive a save of the source.
    {
        const QByteArray special = "<html><head><title>t</title></head><body>a\xA0" "b\rc</body></html>\r\n";
        Loaded again(special);
        again.Caret(0);
        QTest::keyClicks(again.editor, QStringLiteral("x"));
        QTest::keyClick(again.editor, Qt::Key_Backspace);
        Find<QPushButton>(*again.form, "BitSave")->click();
        QCOMPARE(ReadBytes(again.tmp.Page("page.html")), special);
    }
    Loaded w;
    Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("New"));
    auto* save = Find<QPushButton>(*w.form, "BitSave");
    Find<QPushButton>(*w.form, "Button3")->click();
    QVERIFY(w.editor->Text().contains(QStringLiteral("<title>New</title>")));
    QVERIFY(!w.editor->Text().contains(QStringLiteral("Old")));
    QVERIFY(save->isEnabled());

    // On this tab the text is saved exactly as edited; a changed field is not applied.
    Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("Ignored"));
    w.Caret(static_cast<int>(w.editor->Text().indexOf(QStringLiteral("body</body>"))));
    QTest::keyClicks(w.editor, QStringLiteral("typed "));
    save->click();
    QByteArray expected = w.editor->Text().toUtf8();
    expected.replace("\n", "\r\n");
    QCOMPARE(ReadBytes(w.tmp.Page("page.html")), expected);
    QVERIFY(expected.contains("<title>New</title>") && expected.contains("typed body"));
    QVERIFY(!save->isEnabled());
}

// The editor shows the text as the field tabs last left it, and what was
// typed in it is kept when the fields are saved.
void TestEditorTab::editorFollowsTheFieldTabs() {
    for (const bool pause : {false, true}) {
        Loaded w;
        auto* tabs = Find<QTabWidget>(*w.form, "PageControl1");
        auto* save = Find<QPushButton>(*w.form, "BitSave");
        // Typed in the editor, then saved from the fields with a new title.
        w.Caret(static_cast<int>(w.editor->Text().indexOf(QStringLiteral("body</body>"))));
        QTest::keyClicks(w.editor, QStringLiteral("typed "));
        QVERIFY(save->isEnabled());
        tabs->setCurrentIndex(0);
        Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("Fields"));
        const int caret = w.editor->CaretCharacter();
        save->click();
        QVERIFY(!save->isEnabled());
        const QByteArray saved = ReadBytes(w.tmp.Page("page.html"));
        QVERIFY(saved.contains("<title>Fields</title>") && saved.contains("typed body"));
        if (pause) QTest::qWait(50);
        // Shown again: the saved text, the caret where it was, no edit.
        tabs->setCurrentIndex(3);
        QByteArray shown = w.editor->Text().toUtf8();
        shown.replace("\n", "\r\n");
        QCOMPARE(shown, saved);
        QCOMPARE(w.editor->CaretCharacter(), caret);
        QVERIFY(!save->isEnabled());
        QCOMPARE(w.Panel(0), QString());
        // A page loaded while the fields are shown comes up in the editor from its start.
        tabs->setCurrentIndex(0);
        w.form->loadChosenFile(w.tmp.Page("page.html"));
        tabs->setCurrentIndex(3);
        QCOMPARE(w.editor->CaretCharacter(), 0);
        QVERIFY(w.editor->Text().contains(QStringLiteral("typed body")));
        QVERIFY(!save->isEnabled());
    }
}

void TestEditorTab::sizeLabels() {
    Loaded w;
    auto* size = Find<QLabel>(*w.form, "Label13");
    auto* time = Find<QLabel>(*w.form, "Label10");
    QCOMPARE(size->text(), QStringLiteral("0 байт"));
    QCOMPARE(time->text(), QStringLiteral("0 сек"));
    w.Caret(1);
    // The first two changes after a load leave the labels as the load set them.
    QTest::keyClicks(w.editor, QStringLiteral("ab"));
    QCOMPARE(size->text(), QStringLiteral("0 байт"));
    QTest::keyClicks(w.editor, QStringLiteral("c"));
    const int length = kPage.size() + 3;
    QCOMPARE(size->text(), QStringLiteral("%1 байт").arg(length));
    QCOMPARE(time->text(), QStringLiteral("%1 cек.").arg(length * 8.0 / 33600, 0, 'f', 2));
}

// "Тек." is what the file will hold, in the page's charset and line ends:
// the save writes exactly as many bytes, and "Исх." shows them afterwards.
void TestEditorTab::sizesAreTheBytesSaved() {
    struct Case {
        const char* name;
        QByteArray page;
        QString typed;
        int added;  // bytes the typed text adds to the file
    };
    const QByteArray utf8Body = "<html>\n<head><meta charset=\"utf-8\"><title>Т</title></head>\n<body>"
                                "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82</body>\n</html>\n";
    const QByteArray koi8 = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">"
                            "<title>t</title></head><body>\xD4\xC5\xCB\xD3\xD4</body></html>\r\n";
    const Case cases[] = {
        // Two bytes for "ж", one for the LF, three for the euro sign.
        {"UTF-8, LF", utf8Body, QStringLiteral("ж\n€"), 2 + 1 + 3},
        {"Windows-1251, CR LF", "<html><head><title>t</title></head><body>\xF2\xE5\xEA\xF1\xF2</body></html>\r\n",
         QStringLiteral("ж\n€"), 1 + 2 + 1},
        // KOI8 has no dash: the save writes it as a reference.
        {"KOI8-R", koi8, QStringLiteral("ж—"), 1 + 7},
    };
    for (const Case& c : cases) {
        Loaded w(c.page);
        QCOMPARE(w.Label("Label5"), c.page.size());
        w.Caret(static_cast<int>(w.editor->Text().indexOf(QStringLiteral("</body>"))));
        w.Type(QStringLiteral("ab"));  // the first two changes leave the labels
        w.Type(c.typed);
        QVERIFY2(w.Label("Label13") == c.page.size() + 2 + c.added, c.name);
        const qint64 shown = w.Label("Label13");
        QTest::keyClick(w.editor, Qt::Key_Backspace);
        QVERIFY2(w.Label("Label13") < shown, c.name);
        w.Type(c.typed.right(1));
        QCOMPARE(w.Label("Label13"), shown);
        Find<QPushButton>(*w.form, "BitSave")->click();
        QVERIFY2(ReadBytes(w.tmp.Page("page.html")).size() == shown, c.name);
        QCOMPARE(w.Label("Label5"), shown);
        // Typed on after the save: counted from the saved file.
        w.Type(QStringLiteral("z"));
        QCOMPARE(w.Label("Label13"), shown + 1);
    }
}

// Undoing every keystroke, or typing back what was deleted, leaves a page
// that is not modified: no mark, no Save, no question when leaving it.
void TestEditorTab::undoneEditsAreNoEdits() {
    {
        Loaded clean;
        clean.Caret(3);
        QTest::keyClicks(clean.editor, QStringLiteral("abc"));
        for (int i = 0; i < 3; ++i) QTest::keyClick(clean.editor, Qt::Key_Z, Qt::ControlModifier);
        clean.form->loadChosenFile(clean.tmp.Page("page.html"));
        QVERIFY(clean.dialogs->shown.empty());
        QCOMPARE(ReadBytes(clean.tmp.Page("page.html")), kPage);
    }
    Loaded w;
    auto* save = Find<QPushButton>(*w.form, "BitSave");
    w.Caret(static_cast<int>(w.editor->Text().indexOf(QStringLiteral("body</body>"))));
    QTest::keyClicks(w.editor, QStringLiteral("typed "));
    QTest::keyClick(w.editor, Qt::Key_Return);
    QCOMPARE(w.Panel(0), QStringLiteral("Файл - изменён"));
    // A preview of the edits takes them as they stand and keeps nothing.
    Find<QPushButton>(*w.form, "ButPreviev")->click();
    QVERIFY(save->isEnabled());
    for (int i = 0; i < 20 && save->isEnabled(); ++i) Find<QAbstractButton>(*w.form, "SpeedButton4")->click();
    QVERIFY(!save->isEnabled());
    QCOMPARE(w.Panel(0), QString());
    // Deleted and typed back by hand.
    QTest::keyClick(w.editor, Qt::Key_Backspace);
    QVERIFY(save->isEnabled());
    QTest::keyClick(w.editor, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!save->isEnabled());
    w.Caret(1);
    QTest::keyClick(w.editor, Qt::Key_Delete);
    QTest::keyClicks(w.editor, QString(kPage.at(1)));
    QVERIFY(!save->isEnabled());
    QCOMPARE(w.Panel(0), QString());
    // A changed field still counts when the source comes back.
    Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("New"));
    QTest::keyClicks(w.editor, QStringLiteral("q"));
    QTest::keyClick(w.editor, Qt::Key_Backspace);
    QVERIFY(save->isEnabled());
    Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("Old"));
    QVERIFY(save->isEnabled());
}

void TestEditorTab::folderHistoryEditor() {
    Loaded w;
    auto* history = Find<QComboBox>(*w.form, "ComBoxPath");
    const QString shown = history->currentText();
    // Ok with every line deleted keeps the folder that was shown.
    w.dialogs->modal.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->clear();
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    w.form->editFolderHistory();
    QCOMPARE(history->count(), 1);
    QCOMPARE(history->currentText(), shown);
    // Lines typed in become the history; Cancel after edits changes nothing.
    w.dialogs->modal.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->setPlainText(QStringLiteral("/a/\n/b/\n"));
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    w.form->editFolderHistory();
    QCOMPARE(history->count(), 3);
    QCOMPARE(history->itemText(0), QStringLiteral("/a/"));
    QCOMPARE(history->currentText(), shown);
    w.dialogs->modal.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->setPlainText(QStringLiteral("/x/"));
        dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    w.form->editFolderHistory();
    QCOMPARE(history->count(), 3);

    QStringList lines{QStringLiteral("/A/")};
    QCOMPARE(MergeEditedHistory(lines, QStringLiteral("/a/")), 0);
}

// Edited in the view and saved from it, a page keeps every byte it had, and
// what is typed is written in the page's own charset.
void TestEditorTab::roundTripThroughTheView() {
    struct Case {
        const char* name;
        QByteArray page;
        QString typed;
        QByteArray written;  // the typed text in the page's charset
        int lines;           // as the view shows them
    };
    const QByteArray utf8 = "<html><head><meta charset=\"utf-8\"><title>t</title></head><body>";
    const QByteArray koi8 = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">"
                            "<title>t</title></head><body>";
    const char nulPage[] = "<html><head><title>t</title></head><body>a\0b\r\nc\xE0\0</body></html>\r\n";
    const QByteArray nul(nulPage, sizeof nulPage - 1);
    const Case cases[] = {
        {"NUL bytes", nul, QStringLiteral("ж"), "\xE6", 3},
        {"LF-only page", "<html>\n<head><title>t</title></head>\n<body>a\nb</body>\n</html>\n", QStringLiteral("ж"), "\xE6", 6},
        {"lone CRs", utf8 + "a\rb\rc\r\nd</body></html>", QStringLiteral("ж"), "\xD0\xB6", 4},
        {"lone CR beside a line separator", utf8 + "a\rb\xE2\x80\xA8" "c\r\n</body></html>", {}, {}, 3},
        {"line separators alone", utf8 + "a\xE2\x80\xA8" "b\r\n</body></html>", {}, {}, 3},
        {"KOI8 with a lone CR", koi8 + "\xF0\xD2\xC9\xD7\xC5\xD4\rend\x9A</body></html>\r\n", QStringLiteral("ж"),
         "\xD6", 3},
    };
    for (const Case& c : cases) {
        Loaded w(c.page);
        QCOMPARE(w.editor->lines(), c.lines);
        w.Caret(1);
        QTest::keyClick(w.editor, 'x');
        QTest::keyClick(w.editor, Qt::Key_Backspace);
        if (!c.typed.isEmpty()) {
            QTest::sendKeyEvent(QTest::Press, w.editor, Qt::Key_unknown, c.typed, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w.editor, Qt::Key_unknown, c.typed, Qt::NoModifier);
        }
        Find<QPushButton>(*w.form, "BitSave")->click();
        QVERIFY2(ReadBytes(w.tmp.Page("page.html")) == c.page.left(1) + c.written + c.page.mid(1), c.name);
    }
    // The view is an editable text to assistive tools, which read its text.
    Loaded w;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(w.editor);
    QCOMPARE(view->role(), QAccessible::EditableText);
    QVERIFY(view->textInterface());
    QVERIFY(view->editableTextInterface());  // assistive tools may type into it too
    QVERIFY(view->textInterface()->text(0, view->textInterface()->characterCount()).contains(QStringLiteral("0123456789 body")));
}

// A text asked for is shown at once, even while the threads are still busy
// with texts of older revisions that nobody waits for.
void TestEditorTab::staleTextsAreNotWaitedFor() {
    EditorTab tab;
    QSemaphore gate;
    std::atomic<int> started = 0;
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    for (int i = 0; i < threads; ++i) {
        tab.PrepareText(i + 1, [&] {
            ++started;
            gate.tryAcquire(1, 30000);
            return QByteArray("stale");
        });
        QVERIFY(QTest::qWaitFor([&] { return started == i + 1; }));
    }
    tab.PrepareText(100, [] { return QByteArray("saved\ntext"); });
    QElapsedTimer timer;
    timer.start();
    QVERIFY(tab.ShowPreparedText(100, false));
    QVERIFY(timer.elapsed() < 10000);
    QCOMPARE(tab.Text(), QStringLiteral("saved\ntext"));
    QVERIFY(!tab.Edited());
    QVERIFY(!tab.ShowPreparedText(1, false));
    gate.release(threads);
    QThreadPool::globalInstance()->waitForDone();
}

void TestEditorTab::largePage() {
    // VESKARON_LARGE_PAGE_MB=20 measures the 20 MB page; the suite runs a
    // smaller one so that it does not slow the timing tests running beside it.
    const int mb = qEnvironmentVariableIsSet("VESKARON_LARGE_PAGE_MB")
                       ? qEnvironmentVariableIntValue("VESKARON_LARGE_PAGE_MB")
                       : 2;
    QByteArray page = kPage.left(kPage.indexOf("<body>"));
    const bool oneLine = qEnvironmentVariableIsSet("VESKARON_LARGE_PAGE_ONE_LINE");
    const QByteArray line = QByteArray::fromStdString(
        Windows1251Codec()->FromUtf8(oneLine ? "<p>Строка текста страницы с разметкой и словами для проверки скорости.</p>" : "<p>Строка текста страницы с разметкой и словами для проверки скорости.</p>\r\n").bytes);
    page.reserve(mb * 1024 * 1024 + 1024);
    page += "<body>\r\n";
    while (page.size() < mb * 1024 * 1024) page += line;
    page += "</body>\r\n</html>\r\n";

    QElapsedTimer timer;
    timer.start();
    Loaded w(page);
    const qint64 load = timer.elapsed();
    QCOMPARE(Find<QLineEdit>(*w.form, "Edit1")->text(), QStringLiteral("Old"));
    QCOMPARE(w.editor->Length() > mb * 1000 * 1000, true);

    timer.restart();
    w.Caret(1);
    for (QChar c : QStringLiteral("abc")) {
        QTest::keyClick(w.editor, c.toLatin1());
        w.editor->viewport()->repaint();  // each key as the person sees it
    }
    const qint64 typing = timer.elapsed();

    timer.restart();
    Find<QPushButton>(*w.form, "BitSave")->click();
    const qint64 save = timer.elapsed();
    QCOMPARE(ReadBytes(w.tmp.Page("page.html")).size(), page.size() + 3);

    Find<QTabWidget>(*w.form, "PageControl1")->setCurrentIndex(0);
    Find<QLineEdit>(*w.form, "Edit1")->setText(QStringLiteral("Fields"));
    timer.restart();
    Find<QPushButton>(*w.form, "BitSave")->click();
    const qint64 fieldSave = timer.elapsed();
    qInfo("%d MB page: load into the window %lld ms, typing 3 keys %lld ms, save from the editor "
          "tab %lld ms, save from the fields %lld ms",
          mb, load, typing, save, fieldSave);
    QVERIFY(load < 30000 && save < 30000);
}

QTEST_MAIN(TestEditorTab)
#include "tst_EditorTab.moc"
