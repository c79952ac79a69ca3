#include "settings/setup_values.h"
#include <algorithm>

#include <limits>

#include "settings/settings_keys.h"

namespace veskaron {

SetupValues DefaultSetupValues() {
    SetupValues v;
    v.MinWord = key::MinWord.defaultValue;
    v.KeyCifra = key::KeyCifra.defaultValue;
    v.BolSaveKeyObword = key::BolSaveKeyObword.defaultValue;
    v.FileFiltr = std::string(key::FileFiltr.defaultValue);
    v.IconFile = key::IconFile.defaultValue;
    v.QuestDelWord = key::QuestDelWord.defaultValue;
    v.BakFiles = key::BakFiles.defaultValue;
    v.InsertMetaText = key::InsertMetaText.defaultValue;
    v.StyleXP = key::StyleXP.defaultValue;
    v.InsertDescription = key::InsertDescription.defaultValue;
    v.BolAlt = key::BolAlt.defaultValue;
    return v;
}

SetupValues ReadCommonSettings(const KeyAccess& access) {
    SetupValues v;
    v.MinWord = Read(access, key::MinWord);
    v.KeyCifra = Read(access, key::KeyCifra);
    v.BolSaveKeyObword = Read(access, key::BolSaveKeyObword);
    v.FileFiltr = Read(access, key::FileFiltr);
    v.IconFile = Read(access, key::IconFile);
    v.QuestDelWord = Read(access, key::QuestDelWord);
    v.BakFiles = Read(access, key::BakFiles);
    v.InsertMetaText = Read(access, key::InsertMetaText);
    v.StyleXP = Read(access, key::StyleXP);
    v.InsertDescription = Read(access, key::InsertDescription);
    v.BolAlt = Read(access, key::BolAlt);
    return v;
}


void RefreshGeneratorFlags(const KeyAccess& access, SetupValues& values) {
    values.KeyCifra = Read(access, key::KeyCifra);
    values.BolSaveKeyObword = Read(access, key::BolSaveKeyObword);
}

DialogSettings ReadDialogSettings(const KeyAccess& access) {
    DialogSettings d;
    d.Modem = Read(access, key::Modem);
    d.InsMeta = Read(access, key::InsMeta);
    d.InsContent = Read(access, key::InsContent);
    d.MetaList = Read(access, key::MetaList);
    d.NoteStyle = Read(access, key::NoteStyle);
    d.IconDesktop = Read(access, key::IconDesktop);
    d.IconStartMenu = Read(access, key::IconStartMenu);
    d.IconPrograms = Read(access, key::IconPrograms);
    return d;
}

void WriteConfirmedSettings(KeyAccess& access, const ConfirmedSettings& s) {
    Write(access, key::Modem, s.Modem);
    Write(access, key::InsMeta, s.InsMeta);
    Write(access, key::InsContent, s.InsContent);
    Write(access, key::MinWord, s.setup.MinWord);
    Write(access, key::KeyCifra, s.setup.KeyCifra);
    Write(access, key::BolSaveKeyObword, s.setup.BolSaveKeyObword);
    Write(access, key::FileFiltr, s.setup.FileFiltr);
    Write(access, key::IconFile, s.setup.IconFile);
    Write(access, key::QuestDelWord, s.setup.QuestDelWord);
    Write(access, key::BakFiles, s.setup.BakFiles);
    Write(access, key::MetaList, FormatOutputOrder(s.order));
    Write(access, key::InsertMetaText, s.setup.InsertMetaText);
    Write(access, key::NoteStyle, s.NoteStyle);
    Write(access, key::IconDesktop, s.IconDesktop);
    Write(access, key::IconStartMenu, s.IconStartMenu);
    Write(access, key::IconPrograms, s.IconPrograms);
    Write(access, key::StyleXP, s.setup.StyleXP);
    Write(access, key::InsertDescription, s.setup.InsertDescription);
    Write(access, key::BolAlt, s.setup.BolAlt);
}

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

WriterSettings ReadWriterSettings(const KeyAccess& access) {
    WriterSettings w;
    w.ModemSpeed = std::string(ModemSpeedText(Read(access, key::Modem)));
    w.InsMeta = Read(access, key::InsMeta);
    w.InsContent = Read(access, key::InsContent);
    w.InsertMetaText = Read(access, key::InsertMetaText);
    w.MetaList = ParseOutputOrder(Read(access, key::MetaList));
    w.BakFiles = Read(access, key::BakFiles);
    return w;
}

WriterSettings ReadWriterSettings() {
    KeyAccess access;
    return ReadWriterSettings(access);
}

}  // namespace veskaron
