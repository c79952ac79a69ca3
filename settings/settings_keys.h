#pragma once
// Every value of the settings key with its type and default, and typed reads
// and writes, so that every window goes through one place.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/key_store.h"

namespace veskaron {

// Every stored value, one per row of the table below; `changed` signals and
// the list of changed values name them by this key.
enum class SettingKey {
    MinWord, KeyCifra, BolSaveKeyObword, FileFiltr, IconFile, QuestDelWord, BakFiles, InsertMetaText,
    StyleXP, InsertDescription, BolAlt, Modem, InsMeta, InsContent, MetaList, NoteStyle, IconDesktop,
    IconStartMenu, IconPrograms, Path, PathIdx, PageIndex, WindowsMax, Z, RG1, RG2, RG3, RG4, SE1,
    FWord, FWordDel, JournalKeep, LinkDepth,
};
inline constexpr int kSettingCount = static_cast<int>(SettingKey::LinkDepth) + 1;

// An integer. When min <= max, a stored value outside that range is one no
// control can show (an index into a list) and reads as the default.
struct IntSetting {
    SettingKey key;
    std::string_view name;
    std::int32_t defaultValue;
    std::int32_t min = 1;
    std::int32_t max = 0;
};
struct BoolSetting {
    SettingKey key;
    std::string_view name;
    bool defaultValue;
};
struct TextSetting {
    SettingKey key;
    std::string_view name;
    std::string_view defaultValue;
};
// Values without a default: when absent, the control keeps its own state.
struct OptionalBoolSetting { SettingKey key; std::string_view name; };
struct OptionalIntSetting { SettingKey key; std::string_view name; };
struct OptionalTextSetting { SettingKey key; std::string_view name; };
// A path whose default is a file in the program folder.
struct ProgramFileSetting {
    SettingKey key;
    std::string_view name;
    std::string_view fileName;
};

// The 41 speeds of the modem list, in bit/s; "Modem" stores the index.
inline constexpr std::array<std::string_view, 41> kModemSpeeds = {
    "300",   "1200",  "2400",  "4800",  "7200",  "9600",  "12000", "14400", "16800",
    "19200", "21600", "24000", "26400", "28000", "28800", "29333", "30667", "31200",
    "32000", "33333", "33600", "34000", "34667", "36000", "37333", "38000", "40000",
    "41333", "42000", "42667", "45333", "46667", "48000", "49333", "50000", "50667",
    "52000", "53333", "54000", "54667", "56000",
};
// The speed text of a list index; the default speed for an index outside it.
std::string_view ModemSpeedText(std::int32_t index);

namespace key {
// Common settings (read at start, written on the settings dialog's OK).
inline constexpr IntSetting MinWord{SettingKey::MinWord, "MinWord", 4};
inline constexpr BoolSetting KeyCifra{SettingKey::KeyCifra, "KeyCifra", true};
inline constexpr BoolSetting BolSaveKeyObword{SettingKey::BolSaveKeyObword, "BolSaveKeyObword", true};
inline constexpr TextSetting FileFiltr{SettingKey::FileFiltr, "FileFiltr", "*.htm; *.html"};
inline constexpr BoolSetting IconFile{SettingKey::IconFile, "IconFile", false};
inline constexpr BoolSetting QuestDelWord{SettingKey::QuestDelWord, "QuestDelWord", false};
inline constexpr BoolSetting BakFiles{SettingKey::BakFiles, "BakFiles", false};
inline constexpr IntSetting InsertMetaText{SettingKey::InsertMetaText, "InsertMetaText", 0};
inline constexpr BoolSetting StyleXP{SettingKey::StyleXP, "StyleXP", false};
inline constexpr BoolSetting InsertDescription{SettingKey::InsertDescription, "InsertDescription", false};
inline constexpr BoolSetting BolAlt{SettingKey::BolAlt, "BolAlt", false};
// The settings dialog's own values.
inline constexpr IntSetting Modem{SettingKey::Modem, "Modem", 20, 0, static_cast<std::int32_t>(kModemSpeeds.size()) - 1};
inline constexpr IntSetting InsMeta{SettingKey::InsMeta, "InsMeta", 0};
inline constexpr IntSetting InsContent{SettingKey::InsContent, "InsContent", 0};
inline constexpr TextSetting MetaList{SettingKey::MetaList, "MetaList", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"};
inline constexpr IntSetting NoteStyle{SettingKey::NoteStyle, "NoteStyle", 0, 0, 2};
inline constexpr OptionalBoolSetting IconDesktop{SettingKey::IconDesktop, "IconDesktop"};
inline constexpr OptionalBoolSetting IconStartMenu{SettingKey::IconStartMenu, "IconStartMenu"};
inline constexpr OptionalBoolSetting IconPrograms{SettingKey::IconPrograms, "IconPrograms"};
// The main window's values.
inline constexpr OptionalTextSetting Path{SettingKey::Path, "Path"};
// -1 is what the window writes when no folder is selected.
inline constexpr IntSetting PathIdx{SettingKey::PathIdx, "PathIdx", 0, -1, INT32_MAX};
inline constexpr OptionalIntSetting PageIndex{SettingKey::PageIndex, "PageIndex"};
inline constexpr BoolSetting WindowsMax{SettingKey::WindowsMax, "WindowsMax", true};
inline constexpr IntSetting Z{SettingKey::Z, "Z", 0};
// The keyword generator's values.
inline constexpr IntSetting RG1{SettingKey::RG1, "RG1", 0, 0, 2};
inline constexpr IntSetting RG2{SettingKey::RG2, "RG2", 0, 0, 2};
inline constexpr BoolSetting RG3{SettingKey::RG3, "RG3", true};
inline constexpr BoolSetting RG4{SettingKey::RG4, "RG4", false};
inline constexpr IntSetting SE1{SettingKey::SE1, "SE1", 1};
inline constexpr ProgramFileSetting FWord{SettingKey::FWord, "FWord", "wordins.fkh"};
inline constexpr ProgramFileSetting FWordDel{SettingKey::FWordDel, "FWordDel", "worddel.fkw"};
// The journal of saves keeps this many batches, and at most 10 times as many
// megabytes (the last 50 batches or 500 MB).
inline constexpr IntSetting JournalKeep{SettingKey::JournalKeep, "JournalKeep", 50, 1, 100000};
// A page more clicks than this from the start page is a finding.
inline constexpr IntSetting LinkDepth{SettingKey::LinkDepth, "LinkDepth", 4, 1, 1000};
}  // namespace key

// The stored name of a value ("MinWord").
std::string_view SettingName(SettingKey key);

// Reads give the default when the value is absent, has the wrong type, or
// (for ranged integers) lies outside the range. Booleans: any non-zero is true.
std::int32_t Read(const KeyAccess& access, const IntSetting& setting);
bool Read(const KeyAccess& access, const BoolSetting& setting);
std::string Read(const KeyAccess& access, const TextSetting& setting);
std::optional<bool> Read(const KeyAccess& access, const OptionalBoolSetting& setting);
std::optional<std::int32_t> Read(const KeyAccess& access, const OptionalIntSetting& setting);
std::optional<std::string> Read(const KeyAccess& access, const OptionalTextSetting& setting);
std::string Read(const KeyAccess& access, const ProgramFileSetting& setting);

// Booleans are written as 1 or 0.
void Write(KeyAccess& access, const IntSetting& setting, std::int32_t value);
void Write(KeyAccess& access, const OptionalIntSetting& setting, std::int32_t value);
void Write(KeyAccess& access, const BoolSetting& setting, bool value);
void Write(KeyAccess& access, const OptionalBoolSetting& setting, bool value);
void Write(KeyAccess& access, const TextSetting& setting, const std::string& value);
void Write(KeyAccess& access, const OptionalTextSetting& setting, const std::string& value);
void Write(KeyAccess& access, const ProgramFileSetting& setting, const std::string& value);

}  // namespace veskaron
