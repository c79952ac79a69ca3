#include "settings/setup_values.h"
#include <algorithm>

#include <limits>

#include "settings/settings_keys.h"

namespace veskaron {

namespace {

int SpeedOfIndex(std::int32_t index) { return std::stoi(std::string(ModemSpeedText(index))); }

}  // namespace

std::int32_t ModemIndex(int bitsPerSecond) {
    for (std::size_t i = 0; i < kModemSpeeds.size(); ++i)
        if (SpeedOfIndex(static_cast<std::int32_t>(i)) == bitsPerSecond) return static_cast<std::int32_t>(i);
    return key::Modem.defaultValue;
}

SettingsValues ReadSettingsValues(const KeyAccess& access) {
    SettingsValues v;
    v.minWordLength = std::clamp<int>(Read(access, key::MinWord), kMinWordLow, kMinWordHigh);
    v.digitsInWords = Read(access, key::KeyCifra);
    v.addMandatoryWords = Read(access, key::BolSaveKeyObword);
    v.fileMask = Read(access, key::FileFiltr);
    v.fileIcons = Read(access, key::IconFile);
    v.confirmWordDeletion = Read(access, key::QuestDelWord);
    v.backupFiles = Read(access, key::BakFiles);
    // The three layout values are "this one, or any other value", as the
    // writer has always taken them: no stored value is out of range.
    v.lineMode = Read(access, key::InsertMetaText) == 1 ? LineMode::OneLine : LineMode::TagPerLine;
    v.flatStyle = Read(access, key::StyleXP);
    v.wordsFromDescription = Read(access, key::InsertDescription);
    v.wordsFromAlt = Read(access, key::BolAlt);
    v.modemSpeed = SpeedOfIndex(Read(access, key::Modem));
    v.placement = Read(access, key::InsMeta) != 0 ? Placement::BeforeHeadClose : Placement::AfterHeadOpen;
    v.attributeOrder = Read(access, key::InsContent) != 0 ? AttributeOrder::ContentFirst : AttributeOrder::KeyFirst;
    v.outputOrder = ParseOutputOrder(Read(access, key::MetaList));
    v.tabStyle = static_cast<TabStyle>(Read(access, key::NoteStyle));
    v.shortcuts.desktop = Read(access, key::IconDesktop).value_or(false);
    v.shortcuts.startMenu = Read(access, key::IconStartMenu).value_or(false);
    v.shortcuts.programs = Read(access, key::IconPrograms).value_or(false);
    return v;
}

SettingsValues ReadSettingsValues() {
    const KeyAccess access;
    return ReadSettingsValues(access);
}

void WriteSettingsValues(KeyAccess& access, const SettingsValues& v) {
    Write(access, key::Modem, ModemIndex(v.modemSpeed));
    Write(access, key::InsMeta, static_cast<std::int32_t>(v.placement));
    Write(access, key::InsContent, static_cast<std::int32_t>(v.attributeOrder));
    Write(access, key::MinWord, v.minWordLength);
    Write(access, key::KeyCifra, v.digitsInWords);
    Write(access, key::BolSaveKeyObword, v.addMandatoryWords);
    Write(access, key::FileFiltr, v.fileMask);
    Write(access, key::IconFile, v.fileIcons);
    Write(access, key::QuestDelWord, v.confirmWordDeletion);
    Write(access, key::BakFiles, v.backupFiles);
    Write(access, key::MetaList, FormatOutputOrder(v.outputOrder));
    Write(access, key::InsertMetaText, static_cast<std::int32_t>(v.lineMode));
    Write(access, key::NoteStyle, static_cast<std::int32_t>(v.tabStyle));
    Write(access, key::IconDesktop, v.shortcuts.desktop);
    Write(access, key::IconStartMenu, v.shortcuts.startMenu);
    Write(access, key::IconPrograms, v.shortcuts.programs);
    Write(access, key::StyleXP, v.flatStyle);
    Write(access, key::InsertDescription, v.wordsFromDescription);
    Write(access, key::BolAlt, v.wordsFromAlt);
}

SettingsValues Normalised(SettingsValues v) {
    v.minWordLength = std::clamp(v.minWordLength, kMinWordLow, kMinWordHigh);
    v.modemSpeed = SpeedOfIndex(ModemIndex(v.modemSpeed));
    if (!IsPermutation(v.outputOrder)) v.outputOrder = DefaultOutputOrder();
    return v;
}

std::vector<SettingKey> ChangedSettings(const SettingsValues& a, const SettingsValues& b) {
    std::vector<SettingKey> keys;
    auto check = [&keys](bool differs, SettingKey key) {
        if (differs) keys.push_back(key);
    };
    check(a.minWordLength != b.minWordLength, SettingKey::MinWord);
    check(a.digitsInWords != b.digitsInWords, SettingKey::KeyCifra);
    check(a.addMandatoryWords != b.addMandatoryWords, SettingKey::BolSaveKeyObword);
    check(a.fileMask != b.fileMask, SettingKey::FileFiltr);
    check(a.fileIcons != b.fileIcons, SettingKey::IconFile);
    check(a.confirmWordDeletion != b.confirmWordDeletion, SettingKey::QuestDelWord);
    check(a.backupFiles != b.backupFiles, SettingKey::BakFiles);
    check(a.lineMode != b.lineMode, SettingKey::InsertMetaText);
    check(a.flatStyle != b.flatStyle, SettingKey::StyleXP);
    check(a.wordsFromDescription != b.wordsFromDescription, SettingKey::InsertDescription);
    check(a.wordsFromAlt != b.wordsFromAlt, SettingKey::BolAlt);
    check(a.modemSpeed != b.modemSpeed, SettingKey::Modem);
    check(a.placement != b.placement, SettingKey::InsMeta);
    check(a.attributeOrder != b.attributeOrder, SettingKey::InsContent);
    check(a.outputOrder != b.outputOrder, SettingKey::MetaList);
    check(a.tabStyle != b.tabStyle, SettingKey::NoteStyle);
    check(a.shortcuts.desktop != b.shortcuts.desktop, SettingKey::IconDesktop);
    check(a.shortcuts.startMenu != b.shortcuts.startMenu, SettingKey::IconStartMenu);
    check(a.shortcuts.programs != b.shortcuts.programs, SettingKey::IconPrograms);
    return keys;
}

MetaWriteOptions WriterOptionsOf(const SettingsValues& v) {
    MetaWriteOptions options;
    options.placement = v.placement;
    options.attributeOrder = v.attributeOrder;
    options.lineMode = v.lineMode;
    options.order = v.outputOrder;
    return options;
}

SetupValues SetupValuesOf(const SettingsValues& values) {
    SetupValues v;
    v.MinWord = values.minWordLength;
    v.KeyCifra = values.digitsInWords;
    v.BolSaveKeyObword = values.addMandatoryWords;
    v.FileFiltr = values.fileMask;
    v.IconFile = values.fileIcons;
    v.QuestDelWord = values.confirmWordDeletion;
    v.BakFiles = values.backupFiles;
    v.InsertMetaText = static_cast<std::int32_t>(values.lineMode);
    v.StyleXP = values.flatStyle;
    v.InsertDescription = values.wordsFromDescription;
    v.BolAlt = values.wordsFromAlt;
    return v;
}

std::string ModemSpeedOf(const SettingsValues& values) { return std::to_string(values.modemSpeed); }

MainWindowSettings ReadMainWindowSettings(const KeyAccess& access) {
    MainWindowSettings m;
    m.Path = Read(access, key::Path);
    m.PathIdx = std::max<std::int32_t>(Read(access, key::PathIdx), 0);  // nothing selected: the first
    m.PageIndex = Read(access, key::PageIndex);
    m.WindowsMax = Read(access, key::WindowsMax);
    return m;
}

void WriteMainWindowSettings(KeyAccess& access, const MainWindowSettings& m) {
    if (m.Path) Write(access, key::Path, *m.Path);
    if (m.PageIndex) Write(access, key::PageIndex, *m.PageIndex);
    Write(access, key::PathIdx, m.PathIdx);
    Write(access, key::WindowsMax, m.WindowsMax);
}

std::int32_t CountStart(KeyAccess& access) {
    std::int32_t count = Read(access, key::Z);
    // Saturate rather than wrap to a negative count.
    if (count < std::numeric_limits<std::int32_t>::max()) ++count;
    Write(access, key::Z, count);
    return count;
}

GeneratorSettings ReadGeneratorSettings(const KeyAccess& access) {
    GeneratorSettings g;
    g.RG1 = Read(access, key::RG1);
    g.RG2 = Read(access, key::RG2);
    g.RG3 = Read(access, key::RG3);
    g.RG4 = Read(access, key::RG4);
    g.SE1 = Read(access, key::SE1);
    g.FWord = Read(access, key::FWord);
    g.FWordDel = Read(access, key::FWordDel);
    return g;
}

void WriteGeneratorSettings(KeyAccess& access, const GeneratorSettings& g) {
    Write(access, key::RG1, g.RG1);
    Write(access, key::RG2, g.RG2);
    Write(access, key::RG3, g.RG3);
    Write(access, key::RG4, g.RG4);
    Write(access, key::SE1, g.SE1);
    Write(access, key::FWord, g.FWord);
    Write(access, key::FWordDel, g.FWordDel);
}

}  // namespace veskaron
