#pragma once
// The common settings record and the groups of values each window reads and
// writes at its moments (start, dialog creation and OK, main window open and
// close, generator open and close).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/key_store.h"
#include "settings/output_order.h"

namespace veskaron {

// Zero-filled as constructed; DefaultSetupValues() holds the defaults.
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

SetupValues DefaultSetupValues();

// Reads the eleven members, each with its default.
SetupValues ReadCommonSettings(const KeyAccess& access);

// Showing the generator reads these two flags again.
void RefreshGeneratorFlags(const KeyAccess& access, SetupValues& values);

// What the settings dialog reads at its creation.
struct DialogSettings {
    std::int32_t Modem = 20;
    std::int32_t InsMeta = 0;
    std::int32_t InsContent = 0;
    std::string MetaList;  // the stored text, or the default order text
    std::int32_t NoteStyle = 0;
    std::optional<bool> IconDesktop;  // absent: the box stays as it is
    std::optional<bool> IconStartMenu;
    std::optional<bool> IconPrograms;
};
DialogSettings ReadDialogSettings(const KeyAccess& access);

// What the dialog's OK stores. setup.FileFiltr is the mask as typed.
struct ConfirmedSettings {
    SetupValues setup;
    std::int32_t Modem = 20;
    std::int32_t InsMeta = 0;
    std::int32_t InsContent = 0;
    OutputOrder order = DefaultOutputOrder();
    std::int32_t NoteStyle = 0;
    bool IconDesktop = false;
    bool IconStartMenu = false;
    bool IconPrograms = false;
};
// Writes the nineteen values in the dialog's order; Close() stores them.
void WriteConfirmedSettings(KeyAccess& access, const ConfirmedSettings& settings);

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

// The stored values the page writer and the statistics take while no
// settings window holds other ones (the command-line tool).
struct WriterSettings {
    std::string ModemSpeed = "33600";  // bit/s, from the "Modem" index
    std::int32_t InsMeta = 0;          // 0 after <head>, else before </head>
    std::int32_t InsContent = 0;       // 0 name/http-equiv first, else content first
    std::int32_t InsertMetaText = 0;   // 1 all tags on one line, else one per line
    OutputOrder MetaList = DefaultOutputOrder();
    bool BakFiles = false;
};
WriterSettings ReadWriterSettings(const KeyAccess& access);
// Opens the store at StoreFilePath() (VESKARON_CONFIG_DIR is honoured).
WriterSettings ReadWriterSettings();

}  // namespace veskaron
