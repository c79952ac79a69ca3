#include "ui/keywords/KeywordWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

#include "generator/word_list_file.h"
#include "platform/key_store.h"
#include "platform/paths.h"
#include "session/settings/Settings.h"
#include "settings/setup_values.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/pages/DocText.h"
#include "ui/keywords/KeywordHost.h"
#include "ui/keywords/WordListView.h"
#include "ui/main/MainWindow.h"

using namespace veskaron;
using namespace veskaron::ui;

namespace {

class FakeHost final : public KeywordHost {
public:
    std::string source;
    QString description;
    QString keywords;
    int setCalls = 0;
    int minWord = 4;
    CodecPtr codec = Windows1251Codec();

    std::string SourceBytes() const override { return source; }
    const TextCodec& Codec() const override { return *codec; }
    QString Description() const override { return description; }
    QString Keywords() const override { return keywords; }
    void SetKeywords(const QString& k) override {
        keywords = k;
        ++setCalls;
        if (onSet) onSet();
    }
    std::function<void()> onSet;
    int MinWord() const override { return minWord; }
    // The program's one settings object, as the main window gives it.
    std::unique_ptr<session::Settings> settings;
    session::Settings& RunSettings() const override { return *settings; }
};

const char* kPage =
    "<html><head><title>Заголовок страницы</title></head>\r\n<body><p>Слово слово СЛОВО "
    "engine engine</p>\r\n<p>вторая строка текста</p></body></html>\r\n";

QStringList Rows(const QAbstractItemView* view) {
    QStringList rows;
    const QAbstractItemModel* m = view->model();
    for (int i = 0; i < m->rowCount(); ++i) rows << m->index(i, 0).data().toString();
    return rows;
}

}  // namespace

class TestKeywordWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opening_data();
    void opening();
    void runAndFormedList();
    void stopALongCount();
    void listButtonsAndDragDrop();
    void saveAndCancel();
    void largeKeywordList();
    void dragWithTheMouse();
    void listUnderAFileIsEmpty();
    void utf8Page();
    void fromTheMainWindow();
    void looksRight();

private:
    template <typename T>
    T* Get(const char* name) {
        T* w = window_->findChild<T*>(QLatin1String(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QAbstractItemView* View(const char* name) { return Get<QAbstractItemView>(name); }
    QString Text(const char* label) { return Get<QLabel>(label)->text(); }
    void Open();
    void Select(const char* list, std::initializer_list<int> rows);
    // "Запуск", and the wait until the count has ended.
    void Count();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScopedScriptedDialogs> dialogs_;
    FakeHost host_;
    std::unique_ptr<KeywordWindow> window_;
};

void TestKeywordWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir(dir_->path()).mkpath(QStringLiteral("data"));
    qputenv("VESKARON_CONFIG_DIR", (dir_->path() + QStringLiteral("/config")).toUtf8());
    qputenv("VESKARON_DATA_DIR", (dir_->path() + QStringLiteral("/data")).toUtf8());
    ResetStoreStateForTests();
    dialogs_ = std::make_unique<ScopedScriptedDialogs>();
    host_ = FakeHost{};
    host_.settings = std::make_unique<session::Settings>();
    host_.settings->load();
    host_.source = FromQt(*host_.codec, QString::fromUtf8(kPage));
}

void TestKeywordWindow::cleanup() {
    window_.reset();
    dialogs_.reset();
    dir_.reset();
}

void TestKeywordWindow::Open() {
    window_ = std::make_unique<KeywordWindow>(host_);
    window_->show();
}

void TestKeywordWindow::Count() {
    QSignalSpy ended(window_.get(), &KeywordWindow::countFinished);
    Get<QPushButton>("BtStr")->click();
    QVERIFY(ended.wait(10000));
}

void TestKeywordWindow::Select(const char* list, std::initializer_list<int> rows) {
    QAbstractItemView* view = View(list);
    view->clearSelection();
    for (int r : rows) {
        const QModelIndex i = view->model()->index(r, 0);
        view->selectionModel()->setCurrentIndex(i, QItemSelectionModel::Select);
    }
}

void TestKeywordWindow::opening_data() {
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<int>("storedRG2");
    QTest::addColumn<int>("rg2");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("characters");
    QTest::newRow("comma and space") << "a, b" << 0 << 2 << QStringList{"a", "b"} << "4";
    QTest::newRow("one word keeps the choice") << "seo" << 1 << 1 << QStringList{"seo"} << "3";
    QTest::newRow("one short word is dropped") << "ab" << 0 << 0 << QStringList{} << "0";
    QTest::newRow("empty field") << "" << 2 << 2 << QStringList{} << "0";
}

// Opening with no stored values, and the page's keywords choosing the separator.
void TestKeywordWindow::opening() {
    QFETCH(QString, keywords);
    QFETCH(int, storedRG2);
    {
        KeyAccess access;
        access.WriteInteger("RG2", storedRG2);
    }
    host_.keywords = keywords;
    Open();

    QCOMPARE(window_->size(), QSize(598, 348).expandedTo(window_->minimumSizeHint()));
    QVERIFY(Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(0)->isChecked());
    QVERIFY(Get<QRadioButton>("RadioButton1")->isChecked());
    QCOMPARE(Get<QSpinBox>("SpinEdit1")->value(), 1);
    QCOMPARE(window_->InsertListFile(), ProgramFolder() + "wordins.fkh");
    QCOMPARE(window_->DeleteListFile(), ProgramFolder() + "worddel.fkw");
    QFETCH(int, rg2);
    QVERIFY(Get<QGroupBox>("RG2")->findChildren<QRadioButton*>().at(rg2)->isChecked());
    QFETCH(QStringList, entries);
    QCOMPARE(Rows(View("ListBox4")), entries);
    QCOMPARE(Text("Label5"), QString::number(entries.size()));
    QFETCH(QString, characters);
    QCOMPARE(Text("Label7"), characters);
    QVERIFY(!Get<QPushButton>("BtOk")->isEnabled());
    for (const char* b : {"SpeedButton9", "SpeedButton10", "SpeedButton11", "SpeedButton12"})
        QVERIFY(!Get<QToolButton>(b)->isEnabled());
    QVERIFY(!Get<QWidget>("Panel2")->isVisible());
}

// A run, the refills without a run, and the transfers to the keywords.
void TestKeywordWindow::runAndFormedList() {
    Open();
    auto* bar = Get<QProgressBar>("ProgrBar");
    QList<int> progress;
    bool panelShown = true;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
        progress << v;
        panelShown = panelShown && Get<QWidget>("Panel2")->isVisible();
    });
    Count();
    QCOMPARE(progress, (QList<int>{10, 20, 30, 40, 60, 80, 100}));
    QVERIFY(panelShown);
    QVERIFY(!Get<QWidget>("Panel2")->isVisible());
    QCOMPARE(Rows(View("ListBox2")), (QStringList{"слово : 3", "engine : 2", "вторая : 1",
                                                  "строка : 1", "текста : 1"}));
    QStringList stats;
    for (const char* l : {"Label13", "Label14", "Label15", "Label16", "Label17", "Label19"})
        stats << Text(l);
    QCOMPARE(stats, (QStringList{"8", "5", "0", "3", "2", "3"}));
    QVERIFY(Get<QPushButton>("BtOk")->isEnabled());
    QVERIFY(Get<QToolButton>("SpeedButton9")->isEnabled());
    QVERIFY(!Get<QToolButton>("SpeedButton11")->isEnabled());

    // Sort, threshold and selection refill without a run.
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(2)->click();
    QCOMPARE(Rows(View("ListBox2")).first(), QStringLiteral("вторая : 1"));
    Get<QSpinBox>("SpinEdit1")->setValue(2);
    QVERIFY(Get<QRadioButton>("RadioButton2")->isChecked());
    QCOMPARE(Rows(View("ListBox2")), (QStringList{"слово : 3"}));
    Get<QRadioButton>("RadioButton1")->click();
    QCOMPARE(Rows(View("ListBox2")).size(), 5);

    // ">" keeps the line; a second ">" of the same word is refused.
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(0)->click();
    Select("ListBox2", {1});
    Get<QToolButton>("SpeedButton9")->click();
    Get<QToolButton>("SpeedButton9")->click();
    QCOMPARE(Rows(View("ListBox4")), QStringList{"engine"});
    QCOMPARE((**dialogs_).shown.back().text, QStringLiteral("Анналогичное слово уже есть в списке!"));
    QCOMPARE(Rows(View("ListBox2")).size(), 5);

    // ">>" on a, b, c appends c, b, a and takes the lines away.
    Select("ListBox2", {0, 2, 3});
    QVERIFY(Get<QToolButton>("SpeedButton11")->isEnabled());
    Get<QToolButton>("SpeedButton11")->click();
    QCOMPARE(Rows(View("ListBox4")), (QStringList{"engine", "строка", "вторая", "слово"}));
    QCOMPARE(Rows(View("ListBox2")), (QStringList{"engine : 2", "текста : 1"}));
    QCOMPARE(Text("Label5"), QStringLiteral("4"));

    // "Выделить все" toggles; a new run brings the lines back.
    Get<QToolButton>("SpeedButton12")->click();
    QCOMPARE(View("ListBox2")->selectionModel()->selectedRows().size(), 2);
    Get<QToolButton>("SpeedButton12")->click();
    QVERIFY(!View("ListBox2")->selectionModel()->hasSelection());
    QVERIFY(!Get<QToolButton>("SpeedButton11")->isEnabled());
    Count();
    QCOMPARE(Rows(View("ListBox2")).size(), 5);
}

// "Стоп" on a long count: the window is at once as it was before "Запуск",
// and the count's result never arrives, even when it was complete already. Closing the window stops a count too.
void TestKeywordWindow::stopALongCount() {
    Open();
    Count();
    const QStringList formed = Rows(View("ListBox2"));
    std::string page;
    while (page.size() < 20u * 1024 * 1024) page += host_.source;
    host_.source = std::move(page);

    QSignalSpy ended(window_.get(), &KeywordWindow::countFinished);
    Get<QPushButton>("BtStr")->click();
    QVERIFY(window_->counting());
    QVERIFY(Get<QWidget>("Panel2")->isVisible());
    QVERIFY(Get<QPushButton>("BtStop")->isVisible());
    QVERIFY(!Get<QRadioButton>("RadioButton1")->isVisible());
    QVERIFY(!Get<QPushButton>("BtStr")->isEnabled());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    if (const QByteArray shots = qgetenv("VESKARON_SCREENSHOT_DIR"); !shots.isEmpty())
        QVERIFY(window_->grab().save(QString::fromUtf8(shots) + QStringLiteral("/generator-counting.png")));
    QElapsedTimer clock;
    clock.start();
    Get<QPushButton>("BtStop")->click();
    QVERIFY(!Get<QWidget>("Panel2")->isVisible());
    QVERIFY(Get<QRadioButton>("RadioButton1")->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(ended.wait(10000));
    qInfo() << "20 MB run stopped; the worker ended" << clock.elapsed() << "ms after the stop";
    QVERIFY(!window_->counting());
    QVERIFY(Get<QPushButton>("BtStr")->isEnabled());
    QCOMPARE(Rows(View("ListBox2")), formed);
    QCOMPARE(Text("Label13"), QStringLiteral("8"));

    // "Отмена" while counting closes at once and still stores the choices.
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(2)->click();
    Get<QPushButton>("BtStr")->click();
    Get<QPushButton>("BtCnl")->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    Open();
    QVERIFY(Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(2)->isChecked());
}

// Add, edit, delete with their questions, the list files, and drag and drop.
void TestKeywordWindow::listButtonsAndDragDrop() {
    session::SettingsValues confirmed = host_.settings->values();
    confirmed.confirmWordDeletion = true;  // "OK" of the settings dialog
    QVERIFY(host_.settings->commit(confirmed));
    Open();
    ScriptedDialogs& d = **dialogs_;
    d.texts = {QStringLiteral("Альфа"), QStringLiteral("альфа"), QStringLiteral("бета"),
               QStringLiteral("гамма")};
    d.answers = {Answer::Yes};
    Get<QToolButton>("SpeedButton1")->click();  // Альфа
    Get<QToolButton>("SpeedButton1")->click();  // альфа refused, asked again: бета
    Get<QToolButton>("SpeedButton1")->click();  // гамма
    QCOMPARE(Rows(View("ListBox1")), (QStringList{"Альфа", "бета", "гамма"}));
    QCOMPARE(d.shown.at(0).text, QStringLiteral("Введите обязательное слово"));
    QCOMPARE(d.shown.at(2).text, QStringLiteral("Введенное слово уже есть в списке. Повторить ввод?"));
    QCOMPARE(d.shown.at(2).kind, MessageKind::Error);  // a stop icon

    Select("ListBox1", {1});
    d.texts = {QStringLiteral("Бета")};
    Get<QToolButton>("SpeedButton3")->click();
    QCOMPARE(Rows(View("ListBox1")).at(1), QStringLiteral("Бета"));

    Select("ListBox1", {0, 1});
    d.answers = {Answer::No};
    Get<QToolButton>("SpeedButton2")->click();
    QCOMPARE(d.shown.back().text, QStringLiteral("Удалить 2  слова?"));
    QCOMPARE(d.shown.back().kind, MessageKind::Warning);  // an exclamation icon
    QCOMPARE(Rows(View("ListBox1")).size(), 3);

    // The list files: save, a file that cannot be read, open.
    const QString file = dir_->path() + QStringLiteral("/mine");
    d.fileNames = {file};
    Get<QToolButton>("SpeedButton5")->click();
    QCOMPARE(window_->InsertListFile(), (file + QStringLiteral(".fkh")).toStdString());
    QCOMPARE(d.fileFilters.back(), QStringLiteral("Файл вставляемых слов *.fkh (*.fkh)"));
    const QString missing = dir_->path() + QStringLiteral("/gone.fkw");
    d.fileNames = {missing};
    const std::size_t before = d.shown.size();
    Get<QToolButton>("SpeedButton13")->click();
    QCOMPARE(d.shown.size(), before + 1);
    QVERIFY(d.shown.back().text.contains(missing));
    QCOMPARE(d.fileFilters.back(), QStringLiteral("Файл удаляемых слов *.fkw (*.fkw)"));
    d.fileNames = {file + QStringLiteral(".fkh")};
    Get<QToolButton>("SpeedButton13")->click();
    QCOMPARE(Rows(View("ListBox3")), (QStringList{"Альфа", "Бета", "гамма"}));

    // Drag one mandatory word to the keywords; then the selected excluded word.
    Select("ListBox1", {2});
    window_->startWordDrag(Get<WordListView>("ListBox1"));
    window_->dropWords(View("ListBox1"), Get<WordListView>("ListBox4"));
    QCOMPARE(Rows(View("ListBox1")), (QStringList{"Альфа", "Бета"}));
    QCOMPARE(Rows(View("ListBox4")), QStringList{"гамма"});
    Select("ListBox3", {0});
    window_->startWordDrag(Get<WordListView>("ListBox3"));
    QVERIFY(window_->acceptsWordDrop(View("ListBox3")));
    window_->dropWords(View("ListBox3"), Get<WordListView>("ListBox4"));
    QCOMPARE(Rows(View("ListBox4")), (QStringList{"гамма", "Альфа"}));
    QCOMPARE(Text("Label5"), QStringLiteral("2"));

    // Keyword list: up, and a delete asked about by name.
    Select("ListBox4", {1});
    Get<QToolButton>("SpeedButton17")->click();
    QCOMPARE(Rows(View("ListBox4")), (QStringList{"Альфа", "гамма"}));
    d.answers = {Answer::Yes};
    Get<QToolButton>("SpeedButton15")->click();
    QCOMPARE(d.shown.back().text, QStringLiteral("Удалить \"Альфа\"?"));
    QCOMPARE(Rows(View("ListBox4")), QStringList{"гамма"});
}

// "Сохранить" hands the keywords back and writes both lists; "Отмена" does
// not, but both store the choices for the next opening.
void TestKeywordWindow::saveAndCancel() {
    host_.keywords = QStringLiteral("web, design");
    const std::string folder = ProgramFolder();
    generator::WriteWordListFile(folder + "wordins.fkh", {FromQt(*host_.codec, QStringLiteral("сео"))});
    const QString lost = dir_->path() + QStringLiteral("/no/such/worddel.fkw");
    {
        KeyAccess access;
        access.WriteString("FWordDel", lost.toStdString());
    }
    Open();
    // The excluded words cannot be written: nothing is handed over, the window stays.
    Get<QPushButton>("BtOk")->setEnabled(true);
    Get<QPushButton>("BtOk")->click();
    QVERIFY((**dialogs_).shown.back().text.contains(lost));
    QCOMPARE(host_.setCalls, 0);
    QVERIFY(window_->isVisible());
    (**dialogs_).fileNames = {QString::fromStdString(folder + "worddel.fkw")};
    Get<QToolButton>("SpeedButton19")->click();

    Count();
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(1)->click();
    Get<QSpinBox>("SpinEdit1")->setValue(2);
    Get<QCheckBox>("CheckBox1")->click();
    QCOMPARE(Rows(View("ListBox4")), (QStringList{"design", "web"}));
    Get<QPushButton>("BtOk")->click();
    QCOMPARE(window_->result(), int(QDialog::Accepted));
    QCOMPARE(host_.setCalls, 1);
    QCOMPARE(host_.keywords, QStringLiteral("design, web, сео"));
    QVERIFY(QFile::exists(QString::fromStdString(folder + "worddel.fkw")));

    Open();
    QVERIFY(Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(1)->isChecked());
    QVERIFY(Get<QRadioButton>("RadioButton2")->isChecked());
    QCOMPARE(Get<QSpinBox>("SpinEdit1")->value(), 2);
    QVERIFY(!Get<QCheckBox>("CheckBox1")->isChecked());
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(2)->click();
    Get<QPushButton>("BtCnl")->click();
    QCOMPARE(host_.setCalls, 1);

    Open();
    QVERIFY(Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(2)->isChecked());
    window_->close();  // the close box stores as well
}

// A UTF-8 page: words, lists and keywords in its text; the list files stay Windows-1251.
void TestKeywordWindow::utf8Page() {
    host_.codec = Utf8Codec();
    host_.source = kPage;
    const std::string cp1251 = FromQt(*Windows1251Codec(), QStringLiteral("сео"));
    generator::WriteWordListFile(ProgramFolder() + "wordins.fkh", {cp1251});
    Open();
    QCOMPARE(Rows(View("ListBox1")), QStringList{"сео"});
    Count();
    QCOMPARE(Rows(View("ListBox2")).first(), QStringLiteral("слово : 3"));
    Select("ListBox2", {0});
    Get<QToolButton>("SpeedButton9")->click();
    Get<QPushButton>("BtOk")->click();
    QCOMPARE(host_.keywords, QStringLiteral("сео,слово"));
    QFile file(QString::fromStdString(ProgramFolder() + "wordins.fkh"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), cp1251 + "\r\n");
    // A word Windows-1251 cannot hold survives the list file.
    Open();
    const QString saved = dir_->path() + QStringLiteral("/other.fkh");
    (**dialogs_).texts = {QStringLiteral("日本")};
    (**dialogs_).fileNames = {saved, saved};
    Get<QToolButton>("SpeedButton1")->click();
    Get<QToolButton>("SpeedButton5")->click();
    Get<QToolButton>("SpeedButton4")->click();
    QCOMPARE(Rows(View("ListBox1")), (QStringList{"сео", "日本"}));
}

// "Генератор" of the main window: a modal run whose keywords become an edit of the page.
void TestKeywordWindow::fromTheMainWindow() {
    const QString page = dir_->path() + QStringLiteral("/page.html");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(host_.source));
    file.close();
    MainWindow form({page});
    auto* list = form.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
    list->setCurrentItem(list->findItems(QStringLiteral("page.html"), Qt::MatchExactly).front());
    bool ran = false;
    (**dialogs_).modal = {[&](QDialog& d) {
        d.show();
        auto& generator = dynamic_cast<KeywordWindow&>(d);
        QSignalSpy ended(&generator, &KeywordWindow::countFinished);
        d.findChild<QPushButton*>(QStringLiteral("BtStr"))->click();
        QVERIFY(ended.wait(10000));
        auto* formed = d.findChild<QAbstractItemView*>(QStringLiteral("ListBox2"));
        formed->setCurrentIndex(formed->model()->index(0, 0));
        d.findChild<QToolButton*>(QStringLiteral("SpeedButton9"))->click();
        d.findChild<QPushButton*>(QStringLiteral("BtOk"))->click();
        ran = d.result() == QDialog::Accepted;
    }};
    form.findChild<QPushButton*>(QStringLiteral("ButGen"))->click();
    QVERIFY(ran);
    QCOMPARE(form.findChild<QPlainTextEdit*>(QStringLiteral("Memo2"))->toPlainText(),
             QStringLiteral("слово"));
    QVERIFY(form.CurrentDocument().modified);
    QVERIFY(form.findChildren<KeywordWindow*>().isEmpty());
    (**dialogs_).answers = {Answer::No};
    form.close();
}

// Everything fits at the first size; the picture is kept when asked for.
void TestKeywordWindow::looksRight() {
    host_.keywords = QStringLiteral("редактор, meta");
    host_.source = FromQt(*host_.codec, QStringLiteral(
        "<html><head><title>Редактор</title></head><body><h1>Редактор META тегов</h1>"
        "<p>Редактор заполняет заголовок и ключевые слова страницы. Ключевые слова "
        "генератор собирает из текста страницы: слова текста считаются, повторяющиеся "
        "слова идут первыми.</p><p>Страницы сохраняются с резервной копией.</p></body></html>"));
    const std::string folder = ProgramFolder();
    generator::WriteWordListFile(folder + "wordins.fkh", {FromQt(*host_.codec, QStringLiteral("html"))});
    generator::WriteWordListFile(folder + "worddel.fkw", {FromQt(*host_.codec, QStringLiteral("страницы"))});
    Open();
    Get<QGroupBox>("RG1")->findChildren<QRadioButton*>().at(1)->click();
    const QByteArray shots = qgetenv("VESKARON_SCREENSHOT_DIR");
    Count();
    Select("ListBox2", {0});
    if (!shots.isEmpty()) {
        QApplication::processEvents();
        QVERIFY(window_->grab().save(QString::fromUtf8(shots) + QStringLiteral("/generator.png")));
    }
    for (QSize size : {QSize(598, 348), QSize(900, 560)}) {
        window_->resize(size);
        QApplication::processEvents();
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                         w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName()));
        }
    }

    // A 20 MB page: the window keeps handling its events while it is counted.
    std::string page;
    while (page.size() < 20u * 1024 * 1024) page += host_.source;
    host_.source = std::move(page);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start(5);
    QElapsedTimer clock;
    clock.start();
    Count();
    qInfo() << "20 MB run:" << clock.elapsed() << "ms," << ticks << "timer ticks during it";
    QVERIFY(ticks > 0);
    QCOMPARE(Get<QProgressBar>("ProgrBar")->value(), 100);
}

// A keyword list as long as a large site's: the counters show whole numbers,
// and saving shows the busy cursor while it works.
void TestKeywordWindow::largeKeywordList() {
    QStringList words;
    for (int i = 0; i < 160000; ++i) words << QStringLiteral("w%1").arg(i);
    host_.keywords = words.join(QStringLiteral(", "));
    Open();
    Count();
    QApplication::processEvents();
    QCOMPARE(Get<QLabel>("Label5")->text(), QStringLiteral("160000"));
    QCOMPARE(Get<QLabel>("Label7")->text(), QString::number(host_.keywords.size()));
    for (const char* counter : {"Label5", "Label7"})
        QVERIFY2(Get<QLabel>(counter)->width() >= Get<QLabel>(counter)->sizeHint().width(), counter);
    bool busy = false;
    host_.onSet = [&] { busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor; };
    Get<QPushButton>("BtOk")->click();
    QVERIFY(busy);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(host_.keywords.size(), words.join(QStringLiteral(", ")).size());
}

// A word dragged from the formed words onto the keywords with the mouse, as
// a person does it: press, move past the drag distance, release over the list.
void TestKeywordWindow::dragWithTheMouse() {
    // CTest runs this one again under the minimal platform, which drags.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        QSKIP("the offscreen platform drops every drag");
    host_.keywords.clear();
    Open();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    Count();
    QAbstractItemView* from = View("ListBox2");
    QAbstractItemView* to = View("ListBox4");
    QCOMPARE(Rows(to), QStringList{});
    const QPoint start = from->visualRect(from->model()->index(0, 0)).center();
    const QPoint target = to->viewport()->mapTo(window_.get(), to->viewport()->rect().center());
    // The drag runs its own loop: the moves and the release come from there.
    bool released = false;
    QTimer::singleShot(50, this, [&] {
        QTest::mouseMove(window_->windowHandle(), target - QPoint(5, 5));
        QTest::mouseMove(window_->windowHandle(), target);
        QTest::mouseRelease(window_->windowHandle(), Qt::LeftButton, {}, target);
        released = true;
    });
    QWindow* window = window_->windowHandle();
    const QPoint press = from->viewport()->mapTo(window_.get(), start);
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QTest::mouseMove(window, press + QPoint(QApplication::startDragDistance() + 5, 0));
    QTest::mouseMove(window, press + QPoint(2 * QApplication::startDragDistance() + 10, 0));
    QTRY_VERIFY(released);
    QTRY_COMPARE(Rows(to), QStringList{"слово"});
    QCOMPARE(Text("Label5"), QStringLiteral("1"));
}

// A list file that is not there, whatever the reason, is an empty list.
void TestKeywordWindow::listUnderAFileIsEmpty() {
    const QString page = dir_->path() + QStringLiteral("/page.htm");
    QFile(page).open(QIODevice::WriteOnly);
    {
        KeyAccess access;
        access.WriteString("FWordDel", (page + QStringLiteral("/bad.fkw")).toStdString());
    }
    Open();
    QVERIFY((**dialogs_).shown.empty());
    QCOMPARE(Rows(View("ListBox3")), QStringList{});
}

QTEST_MAIN(TestKeywordWindow)
#include "tst_KeywordWindow.moc"
