#pragma once
// The settings as typed values, and the groups each window reads and writes
// at its own moments (main window open and close, generator open and close).
#include <cstdint>
#include <optional>
#include <string>

#include <vector>

#include "engine/writer.h"
#include "platform/key_store.h"
#include "settings/output_order.h"
#include "settings/settings_keys.h"

namespace veskaron {

// The common values as the generator takes them. Zero-filled as constructed.
struct SetupValues {
    std::int32_t MinWord = 0;
    bool KeyCifra = false;
    bool BolSaveKeyObword = false;
    std::string FileFiltr;
    bool IconFile = false;
    bool QuestDelWord = false;
    bool BakFiles = false;
    std::int32_t InsertMetaText = 0;
    bool StyleXP = false;
    bool InsertDescription = false;
    bool BolAlt = false;
    bool operator==(const SetupValues&) const = default;
};

// The values every window and the command-line tool work with, typed: the
// common values, the settings dialog's own ones, and the writer's layout. One
// record, read from the store in one place and written back in one place.
struct ShortcutWishes {
    bool desktop = false;
    bool startMenu = false;
    bool programs = false;
    bool operator==(const ShortcutWishes&) const = default;
};

enum class TabStyle { Tabs = 0, Buttons = 1, FlatButtons = 2 };

struct SettingsValues {
    // Common values.
    int minWordLength = 4;
    bool digitsInWords = true;               // "KeyCifra"
    bool addMandatoryWords = true;           // "BolSaveKeyObword"
    std::string fileMask = "*.htm; *.html";  // as typed; applied without the blanks around it
    bool fileIcons = false;
    bool confirmWordDeletion = false;
    bool backupFiles = false;
    LineMode lineMode = LineMode::TagPerLine;
    bool flatStyle = false;  // "StyleXP"
    bool wordsFromDescription = false;
    bool wordsFromAlt = false;
    // The dialog's own values.
    int modemSpeed = 33600;  // bit/s, one of kModemSpeeds
    Placement placement = Placement::AfterHeadOpen;
    AttributeOrder attributeOrder = AttributeOrder::KeyFirst;
    OutputOrder outputOrder = DefaultOutputOrder();
    TabStyle tabStyle = TabStyle::Tabs;
    ShortcutWishes shortcuts;

    bool operator==(const SettingsValues&) const = default;
};

// The spin box of the minimum word length shows 2 to 16; a stored length
// outside is taken at the nearest end, as the box takes it.
inline constexpr int kMinWordLow = 2, kMinWordHigh = 16;

// Reads every value with its default; a value no control can show takes its
// default and a message goes to the store messages.
SettingsValues ReadSettingsValues(const KeyAccess& access);
// Opens the store at StoreFilePath() (VESKARON_CONFIG_DIR is honoured).
SettingsValues ReadSettingsValues();
// The settings dialog's OK: the nineteen values in the dialog's order, in
// the store's formats (the mask as typed).
void WriteSettingsValues(KeyAccess& access, const SettingsValues& values);
// The values as the store would give them back: the minimum word length in
// its range, a modem speed of the list, a valid output order.
SettingsValues Normalised(SettingsValues values);
// The stored values that differ, in the dialog's order of the checks.
std::vector<SettingKey> ChangedSettings(const SettingsValues& before, const SettingsValues& after);

// What a save takes from the settings, for the windows and the command-line
// tool alike.
MetaWriteOptions WriterOptionsOf(const SettingsValues& values);
// The common values in the record the generator and its windows exchange.
SetupValues SetupValuesOf(const SettingsValues& values);
// The modem speed as the statistics take it ("33600").
std::string ModemSpeedOf(const SettingsValues& values);

// The stored "Modem" index of a speed; the default index for a speed no item has.
std::int32_t ModemIndex(int bitsPerSecond);

struct MainWindowSettings {
    std::optional<std::string> Path;   // absent: the current path stays empty
    std::int32_t PathIdx = 0;          // the window also takes an index past its list as 0
    std::optional<std::int32_t> PageIndex;
    bool WindowsMax = true;
};
MainWindowSettings ReadMainWindowSettings(const KeyAccess& access);
// Writes "Path", "PageIndex", "PathIdx", "WindowsMax" in this order; Path and
// PageIndex only when they hold a value.
void WriteMainWindowSettings(KeyAccess& access, const MainWindowSettings& settings);

// Reads "Z", adds one, writes it back and returns the new count.
std::int32_t CountStart(KeyAccess& access);

struct GeneratorSettings {
    std::int32_t RG1 = 0;
    std::int32_t RG2 = 0;
    bool RG3 = true;
    bool RG4 = false;
    std::int32_t SE1 = 1;
    std::string FWord;     // default: program folder + "wordins.fkh"
    std::string FWordDel;  // default: program folder + "worddel.fkw"
};
GeneratorSettings ReadGeneratorSettings(const KeyAccess& access);
void WriteGeneratorSettings(KeyAccess& access, const GeneratorSettings& settings);

}  // namespace veskaron
