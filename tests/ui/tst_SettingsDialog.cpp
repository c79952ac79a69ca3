#include "ui/settings/SettingsDialog.h"

#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QComboBox>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <filesystem>
#include <memory>

#include "engine/file_io.h"
#include "platform/key_store.h"
#include "platform/shell_folders.h"
#include "platform/shortcuts.h"
#include "session/settings/Settings.h"
#include "settings/setup_values.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/main/MainWindow.h"

using namespace veskaron;
using Stored = std::optional<std::string>;
using session::AttributeOrder;
using session::LineMode;
using session::Placement;
using session::TabStyle;

class TestSettingsDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void storedValuesAfterRestart();
    void outputOrderMoves();
    void okAppliesTrimmedMaskAndFlatLook();
    void longEntryTip();
    void shortcuts();
    void settingsButtonOfTheMainWindow();

private:
    // Fresh settings and dialog, as at program start.
    void Restart() {
        FDialog.reset();
        FSettings = std::make_unique<session::Settings>();
        FSettings->load();
        FDialog = std::make_unique<ui::SettingsDialog>(*FSettings);
    }
    template <typename T = QWidget>
    T* Child(const char* name) {
        return FDialog->findChild<T*>(QLatin1String(name));
    }
    void ShowAndPress(const char* button) {
        (*FScripted)->modal.push_back(
            [button](QDialog& d) { d.findChild<QPushButton*>(QLatin1String(button))->click(); });
        FDialog->ShowModal();
    }
    static Stored Value(std::string_view name) {
        const StoreContents store = ParseStore(ReadWholeFile(StoreFilePath()).bytes);
        const StoreValue* v = store.Find(name);
        if (!v) return std::nullopt;
        return v->type == StoreValue::Type::String ? v->text : std::to_string(v->dword);
    }
    QString Entry(int row) { return Child<QListWidget>("ListBoxMETA")->item(row)->text(); }

    std::unique_ptr<QTemporaryDir> FRoot;
    std::unique_ptr<ui::ScopedScriptedDialogs> FScripted;
    std::unique_ptr<session::Settings> FSettings;
    std::unique_ptr<ui::SettingsDialog> FDialog;
};

void TestSettingsDialog::init() {
    // Never the real home: the store, the data and every shell folder live here.
    FRoot = std::make_unique<QTemporaryDir>();
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", (FRoot->path() + "/home").toUtf8());
    qputenv("VESKARON_CONFIG_DIR", (FRoot->path() + "/config").toUtf8());
    qputenv("VESKARON_DATA_DIR", (FRoot->path() + "/data").toUtf8());
    ResetStoreStateForTests();
    FScripted = std::make_unique<ui::ScopedScriptedDialogs>();
    Restart();
}

void TestSettingsDialog::cleanup() {
    FDialog.reset();
    FSettings.reset();
    FScripted.reset();
    FRoot.reset();
}

void TestSettingsDialog::storedValuesAfterRestart() {
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(FSettings->modemSpeed(), 33600);
    QCOMPARE(FSettings->minWordLength(), 4);
    {
        KeyAccess access;
        access.WriteInteger("MinWord", 6);
        access.WriteInteger("Modem", 0);
        access.WriteInteger("InsContent", 1);
        access.WriteInteger("NoteStyle", 2);
        access.WriteInteger("BakFiles", 2);       // any non-zero is true
        access.WriteString("MetaList", "5,4,3");  // too short: the default order
        QVERIFY(access.Close());
    }
    Restart();
    QCOMPARE(Child<QSpinBox>("SEMinWord")->value(), 6);
    QCOMPARE(FSettings->minWordLength(), 6);  // what the generator reads
    QCOMPARE(FSettings->modemSpeed(), 300);
    QCOMPARE(FSettings->writerOptions().attributeOrder, AttributeOrder::ContentFirst);
    QCOMPARE(FSettings->writerOptions().order, DefaultOutputOrder());
    QCOMPARE(FSettings->tabStyle(), TabStyle::FlatButtons);
    QCOMPARE(Child<QComboBox>("ComboBoxStyle")->currentIndex(), 2);

    QSignalSpy confirmed(FDialog.get(), &ui::SettingsDialog::confirmed);
    ShowAndPress("Button2");
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(FSettings->tabStyle(), TabStyle::FlatButtons);
    QCOMPARE(Value("BakFiles"), Stored("1"));
    QCOMPARE(Value("IconDesktop"), Stored("0"));

    // Lists without such an item take their defaults, each with a message.
    TakeStoreMessages();
    {
        KeyAccess access;
        access.WriteInteger("Modem", 99);
        access.WriteInteger("NoteStyle", 7);
        access.WriteInteger("InsMeta", 5);
        access.WriteInteger("InsertMetaText", 3);
        QVERIFY(access.Close());
    }
    Restart();
    QCOMPARE(FSettings->modemSpeed(), 33600);
    QCOMPARE(FSettings->tabStyle(), TabStyle::Tabs);
    // Any placement but 0 is the end of the head; any line mode but 1 one tag
    // per line: the dialog shows what the writer does.
    QCOMPARE(FSettings->values().placement, Placement::BeforeHeadClose);
    QVERIFY(Child<QRadioButton>("RadioGroup1Item1")->isChecked());
    QVERIFY(FSettings->writerOptions().lineMode != LineMode::OneLine);
    QVERIFY(Child<QRadioButton>("RadioGroup3Item0")->isChecked());
    QCOMPARE(TakeStoreMessages().size(), std::size_t{2});
}

void TestSettingsDialog::outputOrderMoves() {
    auto* list = Child<QListWidget>("ListBoxMETA");
    auto* up = Child<QToolButton>("SpeedButton1");
    auto* down = Child<QToolButton>("SpeedButton2");
    QCOMPARE(list->count(), 22);
    QCOMPARE(Entry(0), QStringLiteral("name - Title (Заголовок)"));
    const QString siteExit = Entry(21);
    // Nothing selected, up on the first, down on the last: no change.
    up->click();
    down->click();
    list->setCurrentRow(0);
    up->click();
    list->setCurrentRow(21);
    down->click();
    QCOMPARE(FDialog->EditedValues().outputOrder, DefaultOutputOrder());

    up->click();
    QCOMPARE(list->currentRow(), 20);
    QCOMPARE(Entry(20), siteExit);
    ShowAndPress("Button2");
    QCOMPARE(Value("MetaList"), Stored("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,21,20"));
    Restart();
    QCOMPARE(Entry(20), siteExit);

    // Cancel: the next save of this run uses the new place and order; a restart does not.
    Child<QRadioButton>("RadioGroup1Item1")->click();
    Child<QListWidget>("ListBoxMETA")->setCurrentRow(3);
    Child<QToolButton>("SpeedButton1")->click();
    ShowAndPress("Button3");
    QCOMPARE(FSettings->writerOptions().placement, Placement::BeforeHeadClose);
    QCOMPARE(FSettings->writerOptions().order[2], 3);
    QVERIFY(Child<QRadioButton>("RadioGroup1Item1")->isChecked());  // the controls keep the change
    QCOMPARE(Value("InsMeta"), Stored("0"));
    Restart();
    QCOMPARE(FSettings->values().placement, Placement::AfterHeadOpen);
    QCOMPARE(Entry(20), siteExit);
}

void TestSettingsDialog::okAppliesTrimmedMaskAndFlatLook() {
    const QString original = QApplication::style()->name();
    Child<QLineEdit>("Edit1")->setText(QStringLiteral("  *.htm  "));
    Child<QCheckBox>("CheckBoxXP")->setChecked(true);
    ShowAndPress("Button2");
    QCOMPARE(Value("FileFiltr"), Stored("  *.htm  "));
    QCOMPARE(FSettings->appliedFileMask(), "*.htm");
    QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
    Child<QCheckBox>("CheckBoxXP")->setChecked(false);
    ShowAndPress("Button2");
    QCOMPARE(QApplication::style()->name(), original);
}

void TestSettingsDialog::longEntryTip() {
    FDialog->show();
    Child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    auto* list = Child<QListWidget>("ListBoxMETA");
    // As opened, every entry fits without a tip.
    for (int row = 0; row < list->count(); ++row)
        QVERIFY(list->fontMetrics().horizontalAdvance(Entry(row)) <= list->width() - 19);
    list->setFixedWidth(list->fontMetrics().horizontalAdvance(Entry(1)) + 30);
    QTRY_VERIFY(list->width() > 0 && list->viewport()->height() > 100);
    auto tipAt = [list](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        const QPoint pos(10, r.center().y());
        QHelpEvent help(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &help);
        return r;
    };
    const QRect wide = tipAt(2);  // "name - Copyright (Авторские права)"
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), Entry(2));
    QCOMPARE(FDialog->LastListY(), wide.center().y());
    const QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible()) tip = w;
    QVERIFY(tip);
    QCOMPARE(tip->pos(), list->viewport()->mapToGlobal(QPoint(2, wide.top() - 3)));
    tipAt(1);  // "name - Author (Автор)" fits
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestSettingsDialog::shortcuts() {
    const std::string desktop = ShortcutFilePath(ShellFolderPath("Desktop"), kDesktopShortcutFileName);
    const std::string programs = ShortcutFilePath(ShellFolderPath("Programs"));
    QVERIFY(desktop.rfind(FRoot->path().toStdString(), 0) == 0);
    // Written and deleted at once, before OK.
    Child<QCheckBox>("CheckBox1")->click();
    QCOMPARE(FDialog->ShortcutPath(), desktop);
    QCOMPARE(ReadWholeFile(desktop).bytes, DesktopEntryText(ProgramFilePath()));
    Child<QCheckBox>("CheckBox1")->click();
    QVERIFY(!std::filesystem::exists(desktop));
    // Cancel: the file stays, the wish is not stored.
    Child<QCheckBox>("CheckBox15")->click();
    ShowAndPress("Button3");
    Restart();
    QVERIFY(!Child<QCheckBox>("CheckBox15")->isChecked());
    QVERIFY(std::filesystem::exists(programs));
    // A stored wish rewrites the shortcut at every start.
    Child<QCheckBox>("CheckBox15")->click();
    ShowAndPress("Button2");
    std::filesystem::remove(programs);
    Restart();
    QVERIFY(Child<QCheckBox>("CheckBox15")->isChecked());
    QCOMPARE(ReadWholeFile(programs).bytes, DesktopEntryText(ProgramFilePath()));
    // The start menu and the programs menu share one entry: it goes with the last wish.
    Child<QCheckBox>("CheckBox14")->click();
    Child<QCheckBox>("CheckBox15")->click();
    QVERIFY(std::filesystem::exists(programs));
    Child<QCheckBox>("CheckBox14")->click();
    QVERIFY(!std::filesystem::exists(programs));

    // A desktop switched off (named as the home folder) gets no shortcut.
    std::filesystem::create_directories(ConfigHome());
    QVERIFY(WriteFileAtomically(ConfigHome() + "/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n").ok);
    Child<QCheckBox>("CheckBox1")->click();
    QVERIFY(!std::filesystem::exists(ShortcutFilePath(HomeFolder(), kDesktopShortcutFileName)));
}

// Wired as the program does: the main window reads the settings object and
// follows its changes.
void TestSettingsDialog::settingsButtonOfTheMainWindow() {
    FDialog.reset();
    ui::MainWindow form({}, nullptr, FSettings.get());
    ui::SettingsDialog setup(*FSettings, &form);
    form.SetSetupAction([&setup] { setup.ShowModal(); });
    (*FScripted)->modal.push_back([](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("SEMinWord"))->setValue(6);
        d.findChild<QComboBox*>(QStringLiteral("ComboBoxStyle"))->setCurrentIndex(2);
        d.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    form.findChild<QAbstractButton*>(QStringLiteral("SpButSetup"))->click();
    QVERIFY((*FScripted)->modal.empty());
    QCOMPARE(form.Document().MinWord(), 6);  // what the generator reads
    for (QTabWidget* pages : form.findChildren<QTabWidget*>(QStringLiteral("PageControl1")))
        QCOMPARE(pages->documentMode(), pages->window() == &form);
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_SettingsDialog.moc"
