// Drives the main window offscreen and prints how long a person waits for a
// large page: the load into the fields, a save from the fields, the editor
// tab shown, a save from the editor, and typing in a page that is one long
// line. Run with QT_QPA_PLATFORM=offscreen; VESKARON_BENCH_MB sets the large
// page's size (20), VESKARON_BENCH_LINE_MB the one-line page's (2).
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

#include "engine/text_codec.h"
#include "ui/main/MainWindow.h"

namespace {

using veskaron::ui::TForm1;

template <typename T>
T* Find(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QByteArray Page(int megabytes, bool oneLine) {
    const std::string text = "<p>Строка текста страницы с разметкой и словами для проверки скорости.</p>";
    const QByteArray line = QByteArray::fromStdString(veskaron::Windows1251Codec()->FromUtf8(text).bytes) +
                            (oneLine ? "" : "\r\n");
    QByteArray page = "<html>\r\n<head>\r\n<title>Old</title>\r\n<meta name=\"author\" content=\"Ivan\">\r\n"
                      "</head>\r\n<body>";
    page.reserve(megabytes * 1024 * 1024 + 1024);
    while (page.size() < megabytes * 1024 * 1024) page += line;
    page += "</body>\r\n</html>\r\n";
    return page;
}

double Seconds(QElapsedTimer& timer) {
    const double s = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    return s;
}

void Settle() { QApplication::processEvents(); }

void Choose(TForm1& form, const QString& name) {
    auto* list = Find<QListWidget>(form, "FileListBox1");
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).front());
    Settle();
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir config, data, pages;
    qputenv("VESKARON_CONFIG_DIR", config.path().toUtf8());
    qputenv("VESKARON_DATA_DIR", data.path().toUtf8());
    QApplication app(argc, argv);
    const int mb = qEnvironmentVariableIsSet("VESKARON_BENCH_MB") ? qEnvironmentVariableIntValue("VESKARON_BENCH_MB") : 20;
    const int pauseMs = 3000;
    const int lineMb =
        qEnvironmentVariableIsSet("VESKARON_BENCH_LINE_MB") ? qEnvironmentVariableIntValue("VESKARON_BENCH_LINE_MB") : 2;

    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(pages.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
    };
    write(QStringLiteral("large.html"), Page(mb, false));
    write(QStringLiteral("line.html"), Page(lineMb, true));
    write(QStringLiteral("small.html"), Page(0, false));

    TForm1 form({pages.filePath(QStringLiteral("small.html"))});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qWarning("window not exposed");
    Choose(form, QStringLiteral("small.html"));
    auto* tabs = Find<QTabWidget>(form, "PageControl1");
    auto* title = Find<QLineEdit>(form, "Edit1");
    auto* save = Find<QPushButton>(form, "BitSave");
    auto* editor = Find<QPlainTextEdit>(form, "RE1");
    tabs->setCurrentIndex(0);
    Settle();

    QElapsedTimer timer;
    timer.start();
    Choose(form, QStringLiteral("large.html"));
    const double load = Seconds(timer);
    if (title->text() != QStringLiteral("Old")) qFatal("the large page did not load");

    title->setText(QStringLiteral("Fields"));
    timer.restart();
    save->click();
    Settle();
    const double fieldSave = Seconds(timer);

    // The editor's text may be made while the person looks at the fields:
    // shown at once, and shown after a pause of a few seconds.
    tabs->setCurrentIndex(2);
    editor->viewport()->repaint();
    Settle();
    const double showEditor = Seconds(timer);
    tabs->setCurrentIndex(0);
    title->setText(QStringLiteral("Again"));
    save->click();
    QTest::qWait(pauseMs);
    timer.restart();
    tabs->setCurrentIndex(2);
    editor->viewport()->repaint();
    Settle();
    const double showEditorLater = Seconds(timer);

    QTextCursor cursor(editor->document());
    cursor.setPosition(1);
    editor->setTextCursor(cursor);
    QTest::keyClick(editor, 'x');
    timer.restart();
    save->click();
    Settle();
    const double editorSave = Seconds(timer);

    // Typing in the one-line page, each key as the person sees it.
    tabs->setCurrentIndex(0);
    Choose(form, QStringLiteral("line.html"));
    tabs->setCurrentIndex(2);
    editor->viewport()->repaint();
    Settle();
    cursor = QTextCursor(editor->document());
    cursor.setPosition(200);
    editor->setTextCursor(cursor);
    constexpr int kKeys = 10;
    timer.restart();
    for (int i = 0; i < kKeys; ++i) {
        QTest::keyClick(editor, char('a' + i));
        editor->viewport()->repaint();
        Settle();
    }
    const double perKey = Seconds(timer) / kKeys;

    std::printf("%d MB page: load into the fields %.3f s, save from the fields %.3f s, editor tab shown at once "
                "%.3f s, after %d s %.3f s, save from the editor %.3f s\n",
                mb, load, fieldSave, showEditor, pauseMs / 1000, showEditorLater, editorSave);
    std::printf("%d MB one-line page: %.1f ms a key\n", lineMb, perKey * 1000);
    return 0;
}
