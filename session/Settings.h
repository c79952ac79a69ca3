#pragma once
// The program's settings as one typed object: the common values, the settings
// dialog's own values, and the main window's and the generator's stored
// values. It is the windows' only way to the key store; each access opens the
// store, reads or writes, and closes it again, under the stored names and
// formats the store has always used.
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/catalogue.h"
#include "engine/writer.h"
#include "settings/setup_values.h"

namespace veskaron::session {

// Where the written META block goes.
enum class Placement { AfterHeadOpen = 0, BeforeHeadClose = 1 };
// Which attribute of a written tag comes first.
enum class AttributeOrder { KeyFirst = 0, ContentFirst = 1 };
// How the written META block is laid out.
enum class LineMode { TagPerLine = 0, OneLine = 1 };
// The look of the main window's tabs.
enum class TabStyle { Tabs = 0, Buttons = 1, FlatButtons = 2 };

// The shortcuts the user wants at every start.
struct ShortcutWishes {
    bool desktop = false;
    bool startMenu = false;
    bool programs = false;
    bool operator==(const ShortcutWishes&) const = default;
};

// Plain values: the settings dialog edits a copy of these.
struct SettingsValues {
    // Common values.
    int minWordLength = 4;
    bool digitsInWords = true;        // "KeyCifra"
    bool addMandatoryWords = true;    // "BolSaveKeyObword"
    std::string fileMask = "*.htm; *.html";  // as typed; applied without the blanks around it
    bool fileIcons = false;
    bool confirmWordDeletion = false;
    bool backupFiles = false;
    LineMode lineMode = LineMode::TagPerLine;
    bool flatStyle = false;           // "StyleXP"
    bool wordsFromDescription = false;
    bool wordsFromAlt = false;
    // The dialog's own values.
    int modemSpeed = 33600;           // bit/s, one of kModemSpeeds
    Placement placement = Placement::AfterHeadOpen;
    AttributeOrder attributeOrder = AttributeOrder::KeyFirst;
    OutputOrder outputOrder = DefaultOutputOrder();
    TabStyle tabStyle = TabStyle::Tabs;
    ShortcutWishes shortcuts;

    bool operator==(const SettingsValues&) const = default;
};

class Settings final : public QObject {
    Q_OBJECT

public:
    // storePath empty: the store of this user (StoreFilePath(), looked up at
    // each access so that the environment in effect counts).
    explicit Settings(std::string storePath = {}, QObject* parent = nullptr);

    // Reads every common and dialog value; a value outside what its control
    // can show takes its default and a message goes to the store messages.
    void load();

    const SettingsValues& values() const { return values_; }

    int modemSpeed() const { return values_.modemSpeed; }
    int minWordLength() const { return values_.minWordLength; }
    TabStyle tabStyle() const { return values_.tabStyle; }
    const OutputOrder& outputOrder() const { return values_.outputOrder; }
    bool backupFiles() const { return values_.backupFiles; }
    // The mask the file list uses: the stored text without surrounding blanks.
    std::string appliedFileMask() const;
    MetaWriteOptions writerOptions() const;
    // The common values in the record the windows exchange with the engine.
    SetupValues setupValues() const;

    // OK of the settings dialog: takes every value, stores the nineteen
    // values and emits changed() for each value that differs. False when
    // the store could not be written (the values stay in effect for the run).
    bool commit(const SettingsValues& edited);
    // Cancel of the settings dialog: the modem speed, the place and attribute
    // order of new tags, the order and the minimum word length take effect
    // for the rest of the run; nothing is stored.
    void keepForRun(const SettingsValues& edited);
    // The generator reads its two word flags again each time it opens.
    void reloadGeneratorFlags();

    // The main window's values, read at its opening and written at its close.
    MainWindowSettings mainWindowValues() const;
    void storeMainWindowValues(const MainWindowSettings& values);
    // Counts this start in "Z" and returns the new count.
    std::int32_t countStart();
    // The generator window's values.
    GeneratorSettings generatorValues() const;
    void storeGeneratorValues(const GeneratorSettings& values);

    // The stored names ("Modem", "MinWord"...) of the values that differ.
    static QStringList changedKeys(const SettingsValues& before, const SettingsValues& after);

Q_SIGNALS:
    // One value changed; key is its stored name.
    void changed(const QString& key);

private:
    std::string storePath() const;
    void take(const SettingsValues& next);

    std::string storePath_;
    SettingsValues values_;
};

// The common values in the record the engine and the store take.
SetupValues SetupValuesOf(const SettingsValues& values);

// The stored "Modem" index of a speed; the default index for a speed no item has.
std::int32_t ModemIndex(int bitsPerSecond);

}  // namespace veskaron::session
