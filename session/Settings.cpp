#include "session/Settings.h"

#include <algorithm>

#include "platform/key_store.h"
#include "session/Messages.h"
#include "settings/output_order.h"
#include "settings/settings_keys.h"

namespace veskaron::session {
namespace {

// The spin box of the minimum word length shows 2 to 16; a stored length
// outside is taken at the nearest end, as the box takes it.
constexpr int kMinWordLow = 2;
constexpr int kMinWordHigh = 16;

QString Name(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A stored index into a list of `count` items; outside it the default, with
// the message the store gives for such values.
int ReadIndex(const KeyAccess& access, const IntSetting& setting, int count) {
    const std::optional<std::int32_t> stored = access.ReadInteger(setting.name);
    if (!stored) return setting.defaultValue;
    if (*stored < 0 || *stored >= count) {
        ReportStoreMessage(msg::kSettingOutOfRange
                               .arg(QString::fromStdString(access.Path()), Name(setting.name),
                                    QString::number(*stored))
                               .toStdString());
        return setting.defaultValue;
    }
    return *stored;
}

int SpeedOfIndex(std::int32_t index) { return std::stoi(std::string(ModemSpeedText(index))); }

void Emit(Settings& settings, const QStringList& keys) {
    for (const QString& key : keys) Q_EMIT settings.changed(key);
}

}  // namespace

std::int32_t ModemIndex(int bitsPerSecond) {
    for (std::size_t i = 0; i < kModemSpeeds.size(); ++i)
        if (SpeedOfIndex(static_cast<std::int32_t>(i)) == bitsPerSecond) return static_cast<std::int32_t>(i);
    return key::Modem.defaultValue;
}

Settings::Settings(std::string storePath, QObject* parent)
    : QObject(parent), storePath_(std::move(storePath)) {}

std::string Settings::storePath() const { return storePath_.empty() ? StoreFilePath() : storePath_; }

void Settings::load() {
    const KeyAccess access(storePath());
    SettingsValues next;
    const SetupValues common = ReadCommonSettings(access);
    next.minWordLength = std::clamp<int>(common.MinWord, kMinWordLow, kMinWordHigh);
    next.digitsInWords = common.KeyCifra;
    next.addMandatoryWords = common.BolSaveKeyObword;
    next.fileMask = common.FileFiltr;
    next.fileIcons = common.IconFile;
    next.confirmWordDeletion = common.QuestDelWord;
    next.backupFiles = common.BakFiles;
    // The three layout values are "this one, or any other value", as the
    // writer has always taken them: no stored value is out of range.
    next.lineMode = Read(access, key::InsertMetaText) == 1 ? LineMode::OneLine : LineMode::TagPerLine;
    next.flatStyle = common.StyleXP;
    next.wordsFromDescription = common.InsertDescription;
    next.wordsFromAlt = common.BolAlt;

    next.modemSpeed = SpeedOfIndex(ReadIndex(access, key::Modem, static_cast<int>(kModemSpeeds.size())));
    next.placement = Read(access, key::InsMeta) != 0 ? Placement::BeforeHeadClose : Placement::AfterHeadOpen;
    next.attributeOrder =
        Read(access, key::InsContent) != 0 ? AttributeOrder::ContentFirst : AttributeOrder::KeyFirst;
    next.outputOrder = ParseOutputOrder(Read(access, key::MetaList));
    next.tabStyle = static_cast<TabStyle>(ReadIndex(access, key::NoteStyle, 3));
    next.shortcuts.desktop = Read(access, key::IconDesktop).value_or(false);
    next.shortcuts.startMenu = Read(access, key::IconStartMenu).value_or(false);
    next.shortcuts.programs = Read(access, key::IconPrograms).value_or(false);
    take(next);
}

std::string Settings::appliedFileMask() const {
    return QString::fromStdString(values_.fileMask).trimmed().toStdString();
}

MetaWriteOptions Settings::writerOptions() const {
    MetaWriteOptions options;
    options.placement = static_cast<int>(values_.placement);
    options.attributeOrder = static_cast<int>(values_.attributeOrder);
    options.lineMode = static_cast<int>(values_.lineMode);
    options.order = values_.outputOrder;
    return options;
}

SetupValues Settings::setupValues() const { return SetupValuesOf(values_); }

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

bool Settings::commit(const SettingsValues& edited) {
    ConfirmedSettings confirmed;
    SettingsValues stored = edited;
    stored.minWordLength = std::clamp(edited.minWordLength, kMinWordLow, kMinWordHigh);
    stored.modemSpeed = SpeedOfIndex(ModemIndex(edited.modemSpeed));
    if (!IsPermutation(stored.outputOrder)) stored.outputOrder = DefaultOutputOrder();
    confirmed.setup = SetupValuesOf(stored);
    confirmed.Modem = ModemIndex(stored.modemSpeed);
    confirmed.InsMeta = static_cast<std::int32_t>(stored.placement);
    confirmed.InsContent = static_cast<std::int32_t>(stored.attributeOrder);
    confirmed.order = stored.outputOrder;
    confirmed.NoteStyle = static_cast<std::int32_t>(stored.tabStyle);
    confirmed.IconDesktop = stored.shortcuts.desktop;
    confirmed.IconStartMenu = stored.shortcuts.startMenu;
    confirmed.IconPrograms = stored.shortcuts.programs;
    bool written = false;
    {
        KeyAccess access(storePath());
        WriteConfirmedSettings(access, confirmed);
        written = access.Close();  // a failure is reported by the store
    }
    take(stored);
    return written;
}

void Settings::keepForRun(const SettingsValues& edited) {
    SettingsValues next = values_;
    next.modemSpeed = SpeedOfIndex(ModemIndex(edited.modemSpeed));
    next.placement = edited.placement;
    next.attributeOrder = edited.attributeOrder;
    if (IsPermutation(edited.outputOrder)) next.outputOrder = edited.outputOrder;
    next.minWordLength = std::clamp(edited.minWordLength, kMinWordLow, kMinWordHigh);
    take(next);
}

void Settings::reloadGeneratorFlags() {
    const KeyAccess access(storePath());
    SettingsValues next = values_;
    next.digitsInWords = Read(access, key::KeyCifra);
    next.addMandatoryWords = Read(access, key::BolSaveKeyObword);
    take(next);
}

void Settings::take(const SettingsValues& next) {
    const QStringList keys = changedKeys(values_, next);
    values_ = next;
    Emit(*this, keys);
}

QStringList Settings::changedKeys(const SettingsValues& a, const SettingsValues& b) {
    QStringList keys;
    auto check = [&keys](bool differs, std::string_view name) {
        if (differs) keys << Name(name);
    };
    check(a.minWordLength != b.minWordLength, key::MinWord.name);
    check(a.digitsInWords != b.digitsInWords, key::KeyCifra.name);
    check(a.addMandatoryWords != b.addMandatoryWords, key::BolSaveKeyObword.name);
    check(a.fileMask != b.fileMask, key::FileFiltr.name);
    check(a.fileIcons != b.fileIcons, key::IconFile.name);
    check(a.confirmWordDeletion != b.confirmWordDeletion, key::QuestDelWord.name);
    check(a.backupFiles != b.backupFiles, key::BakFiles.name);
    check(a.lineMode != b.lineMode, key::InsertMetaText.name);
    check(a.flatStyle != b.flatStyle, key::StyleXP.name);
    check(a.wordsFromDescription != b.wordsFromDescription, key::InsertDescription.name);
    check(a.wordsFromAlt != b.wordsFromAlt, key::BolAlt.name);
    check(a.modemSpeed != b.modemSpeed, key::Modem.name);
    check(a.placement != b.placement, key::InsMeta.name);
    check(a.attributeOrder != b.attributeOrder, key::InsContent.name);
    check(a.outputOrder != b.outputOrder, key::MetaList.name);
    check(a.tabStyle != b.tabStyle, key::NoteStyle.name);
    check(a.shortcuts.desktop != b.shortcuts.desktop, key::IconDesktop.name);
    check(a.shortcuts.startMenu != b.shortcuts.startMenu, key::IconStartMenu.name);
    check(a.shortcuts.programs != b.shortcuts.programs, key::IconPrograms.name);
    return keys;
}

MainWindowSettings Settings::mainWindowValues() const {
    const KeyAccess access(storePath());
    return ReadMainWindowSettings(access);
}

void Settings::storeMainWindowValues(const MainWindowSettings& values) {
    KeyAccess access(storePath());
    WriteMainWindowSettings(access, values);
    access.Close();
}

std::int32_t Settings::countStart() {
    KeyAccess access(storePath());
    return CountStart(access);
}

GeneratorSettings Settings::generatorValues() const {
    const KeyAccess access(storePath());
    return ReadGeneratorSettings(access);
}

void Settings::storeGeneratorValues(const GeneratorSettings& values) {
    KeyAccess access(storePath());
    WriteGeneratorSettings(access, values);
    access.Close();
}

}  // namespace veskaron::session
