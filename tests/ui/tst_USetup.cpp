#include "ui/USetup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <filesystem>
#include <memory>

#include "engine/file_io.h"
#include "platform/key_store.h"
#include "platform/paths.h"
#include "platform/shell_folders.h"
#include "platform/shortcuts.h"
#include "settings/output_order.h"
#include "settings/setup_values.h"
#include "ui/Dialogs.h"

using namespace veskaron;
using veskaron::ui::TFmSetup;

class TestUSetup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void storedValuesAfterRestart();
    void outputOrderMoves();
    void cancelKeepsChangesForTheRunOnly();
    void maskAppliedTrimmed();
    void longEntryTip();
    void shortcuts();
    void pagesFit();

private:
    // A fresh dialog, as at program start.
    TFmSetup& Restart() {
        FDialog.reset();
        FDialog = std::make_unique<TFmSetup>();
        return *FDialog;
    }
    template <typename T>
    T* Child(const char* name) {
        T* child = FDialog->findChild<T*>(QLatin1String(name));
        if (!child) qFatal("no control %s", name);
        return child;
    }
    // Shows the dialog; the scripted window presses the named button.
    void ShowAndPress(const char* button) {
        (*FScripted)->modal.push_back([button](QDialog& d) {
            d.findChild<QPushButton*>(QLatin1String(button))->click();
        });
        FDialog->ShowModal();
    }
    std::optional<std::string> Stored(std::string_view name) {
        const StoreContents store = ParseStore(ReadWholeFile(StoreFilePath()).bytes);
        const StoreValue* value = store.Find(name);
        if (!value) return std::nullopt;
        if (value->type == StoreValue::Type::String) return value->text;
        return std::to_string(value->dword);
    }
    QStringList OrderTexts() {
        QStringList texts;
        auto* list = Child<QListWidget>("ListBoxMETA");
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    QTemporaryDir FRoot;
    std::unique_ptr<ui::ScopedScriptedDialogs> FScripted;
    std::unique_ptr<TFmSetup> FDialog;
};

void TestUSetup::initTestCase() {
    QVERIFY(FRoot.isValid());
    // Never the real home: the store, the data and every shell folder live here.
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) qunsetenv(name);
    qputenv("HOME", (FRoot.path() + "/home").toUtf8());
    qputenv("VESKARON_CONFIG_DIR", (FRoot.path() + "/config").toUtf8());
    qputenv("VESKARON_DATA_DIR", (FRoot.path() + "/data").toUtf8());
}

void TestUSetup::init() {
    std::filesystem::remove_all(FRoot.path().toStdString());
    std::filesystem::create_directories(FRoot.path().toStdString());
    ResetStoreStateForTests();
    FScripted = std::make_unique<ui::ScopedScriptedDialogs>();
    Restart();
}

void TestUSetup::cleanup() {
    FDialog.reset();
    FScripted.reset();
}

void TestUSetup::storedValuesAfterRestart() {
    // First start: the defaults.
    QCOMPARE(FDialog->windowTitle(), QStringLiteral("Установки"));
    QCOMPARE(FDialog->ModemSpeed(), std::string("33600"));
    QCOMPARE(Child<QComboBox>("ComboBox1")->count(), 41);
    QCOMPARE(FDialog->MinWord(), 4);
    QCOMPARE(FDialog->InsMeta(), 0);
    QCOMPARE(FDialog->InsContent(), 0);
    QCOMPARE(FDialog->NoteStyle(), 0);
    QCOMPARE(Child<QLineEdit>("Edit1")->text(), QStringLiteral("*.htm; *.html"));
    QVERIFY(!Child<QCheckBox>("CheckBoxBak")->isChecked());
    QVERIFY(!Child<QCheckBox>("CheckBoxQuestDelWord")->isChecked());
    QVERIFY(Child<QCheckBox>("ChBox1")->isChecked());
    QCOMPARE(OrderTexts().size(), 22);
    QCOMPARE(OrderTexts().first(), QStringLiteral("name - Title (Заголовок)"));
    QVERIFY(!FDialog->isVisible());

    {
        KeyAccess access;
        access.WriteInteger("MinWord", 6);
        access.WriteInteger("Modem", 0);
        access.WriteInteger("InsMeta", 1);
        access.WriteInteger("InsContent", 1);
        access.WriteInteger("NoteStyle", 2);
        access.WriteInteger("BakFiles", 2);  // any non-zero is true
        access.WriteString("MetaList", "5,4,3");  // too short: the default order
        QVERIFY(access.Close());
    }
    Restart();
    QCOMPARE(Child<QSpinBox>("SEMinWord")->value(), 6);
    QCOMPARE(FDialog->MinWord(), 6);  // what the generator reads
    QCOMPARE(FDialog->ModemSpeed(), std::string("300"));
    QCOMPARE(FDialog->WriterOptions().placement, 1);
    QCOMPARE(FDialog->WriterOptions().attributeOrder, 1);
    QCOMPARE(FDialog->NoteStyle(), 2);
    QVERIFY(Child<QCheckBox>("CheckBoxBak")->isChecked());
    QCOMPARE(CurrentOutputOrder(), DefaultOutputOrder());

    QSignalSpy applied(FDialog.get(), &TFmSetup::Applied);
    ShowAndPress("Button2");
    QCOMPARE(FDialog->result(), int(QDialog::Accepted));
    QCOMPARE(applied.count(), 1);
    QCOMPARE(applied.first().first().toInt(), 2);
    QCOMPARE(Stored("BakFiles"), std::optional<std::string>("1"));
    QCOMPARE(Stored("MinWord"), std::optional<std::string>("6"));
    QCOMPARE(Stored("IconDesktop"), std::optional<std::string>("0"));
}

void TestUSetup::outputOrderMoves() {
    auto* list = Child<QListWidget>("ListBoxMETA");
    auto* up = Child<QToolButton>("SpeedButton1");
    auto* down = Child<QToolButton>("SpeedButton2");
    QCOMPARE(up->toolTip(), QStringLiteral("Переместить вверх"));
    QCOMPARE(down->toolTip(), QStringLiteral("Переместить вниз"));
    const QStringList original = OrderTexts();
    // Nothing selected, up on the first, down on the last: no change.
    list->clearSelection();
    up->click();
    down->click();
    list->setCurrentRow(0);
    up->click();
    list->setCurrentRow(21);
    down->click();
    QCOMPARE(OrderTexts(), original);
    QCOMPARE(CurrentOutputOrder(), DefaultOutputOrder());

    up->click();  // site-exit one place up
    QCOMPARE(list->currentRow(), 20);
    QCOMPARE(list->item(20)->text(), original[21]);
    ShowAndPress("Button2");
    QCOMPARE(Stored("MetaList"),
             std::optional<std::string>("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,21,20"));
    Restart();
    QCOMPARE(OrderTexts()[20], original[21]);
}

void TestUSetup::cancelKeepsChangesForTheRunOnly() {
    Child<QRadioButton>("RadioGroup1Item1")->click();
    Child<QListWidget>("ListBoxMETA")->setCurrentRow(3);
    Child<QToolButton>("SpeedButton1")->click();
    QSignalSpy applied(FDialog.get(), &TFmSetup::Applied);
    ShowAndPress("Button3");
    QCOMPARE(FDialog->result(), int(QDialog::Rejected));
    QCOMPARE(applied.count(), 0);
    // The next save of this run uses the new place and order...
    QCOMPARE(FDialog->WriterOptions().placement, 1);
    QCOMPARE(FDialog->WriterOptions().order[2], 3);
    QCOMPARE(Stored("InsMeta"), std::nullopt);
    // ...and the dialog shows them again, but a restart has the stored ones.
    QVERIFY(Child<QRadioButton>("RadioGroup1Item1")->isChecked());
    Restart();
    QCOMPARE(FDialog->InsMeta(), 0);
    QCOMPARE(CurrentOutputOrder(), DefaultOutputOrder());
}

void TestUSetup::maskAppliedTrimmed() {
    Child<QLineEdit>("Edit1")->setText(QStringLiteral("  *.htm  "));
    ShowAndPress("Button2");
    QCOMPARE(Stored("FileFiltr"), std::optional<std::string>("  *.htm  "));
    QCOMPARE(CurrentSetupValues().FileFiltr, std::string("*.htm"));
}

void TestUSetup::longEntryTip() {
    FDialog->show();
    Child<QTabWidget>("PageControl1")->setCurrentIndex(1);
    auto* list = Child<QListWidget>("ListBoxMETA");
    list->setFixedWidth(240);
    QTRY_COMPARE(list->width(), 240);
    // The widest and the narrowest caption.
    int wide = 0, narrow = 0;
    const QFontMetrics metrics = list->fontMetrics();
    for (int i = 0; i < list->count(); ++i) {
        const int w = metrics.horizontalAdvance(list->item(i)->text());
        if (w > metrics.horizontalAdvance(list->item(wide)->text())) wide = i;
        if (w < metrics.horizontalAdvance(list->item(narrow)->text())) narrow = i;
    }
    QVERIFY(metrics.horizontalAdvance(list->item(wide)->text()) > list->width() - 19);
    QVERIFY(metrics.horizontalAdvance(list->item(narrow)->text()) <= list->width() - 19);
    list->scrollToItem(list->item(wide));

    auto tipAt = [list](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        const QPoint pos(10, r.center().y());
        QHelpEvent help(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &help);
    };
    tipAt(wide);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), list->item(wide)->text());
    QCOMPARE(FDialog->LastListY(), list->visualItemRect(list->item(wide)).center().y());
    list->scrollToItem(list->item(narrow));
    tipAt(narrow);
    QTRY_VERIFY(!QToolTip::isVisible());
    FDialog->hide();
}

void TestUSetup::shortcuts() {
    const std::string desktop = ShellFolderPath("Desktop") + "/Veskaron.desktop";
    const std::string programs = ShellFolderPath("Programs") + "/Veskaron.desktop";
    QVERIFY(desktop.rfind(FRoot.path().toStdString(), 0) == 0);
    auto* desktopBox = Child<QCheckBox>("CheckBox1");
    auto* programsBox = Child<QCheckBox>("CheckBox15");

    // Created and deleted at once, before OK.
    desktopBox->click();
    QCOMPARE(FDialog->ShortcutPath(), desktop);
    QCOMPARE(ReadWholeFile(desktop).bytes, DesktopEntryText(ProgramFilePath()));
    desktopBox->click();
    QVERIFY(!std::filesystem::exists(desktop));

    // Cancel: the file stays, the wish is not stored.
    programsBox->click();
    ShowAndPress("Button3");
    QVERIFY(std::filesystem::exists(programs));
    Restart();
    QVERIFY(!Child<QCheckBox>("CheckBox15")->isChecked());
    QVERIFY(std::filesystem::exists(programs));

    // A stored wish rewrites the shortcut at every start.
    Child<QCheckBox>("CheckBox15")->setChecked(true);
    ShowAndPress("Button2");
    QCOMPARE(Stored("IconPrograms"), std::optional<std::string>("1"));
    std::filesystem::remove(programs);
    Restart();
    QVERIFY(Child<QCheckBox>("CheckBox15")->isChecked());
    QCOMPARE(ReadWholeFile(programs).bytes, DesktopEntryText(ProgramFilePath()));
    QVERIFY(!std::filesystem::exists(desktop));
}

// Every page at its natural size: nothing narrower than its text wants.
void TestUSetup::pagesFit() {
    FDialog->show();
    auto* pages = Child<QTabWidget>("PageControl1");
    const QByteArray shots = qgetenv("VESKARON_SCREENSHOTS");
    QList<QImage> images;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        for (QWidget* w : pages->widget(i)->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_")) ||
                qobject_cast<QListWidget*>(w) || w->inherits("QLabel"))
                continue;
            QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
        }
        images << FDialog->grab().toImage();
    }
    FDialog->hide();
    // VESKARON_SCREENSHOTS=DIR: the three pages one below the other in DIR/setup.png.
    if (!shots.isEmpty()) {
        QImage all(images[0].width(), images[0].height() * int(images.size()), QImage::Format_RGB32);
        QPainter painter(&all);
        for (int i = 0; i < images.size(); ++i) painter.drawImage(0, i * images[0].height(), images[i]);
        painter.end();
        QVERIFY(all.save(QString::fromUtf8(shots) + QStringLiteral("/setup.png")));
    }
}

QTEST_MAIN(TestUSetup)
#include "tst_USetup.moc"
