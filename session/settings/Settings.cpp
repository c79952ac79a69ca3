#include "session/settings/Settings.h"

#include "platform/key_store.h"
#include "settings/setup_values.h"

namespace veskaron::session {

Settings::Settings(std::string storePath, QObject* parent)
    : QObject(parent), storePath_(std::move(storePath)) {}

std::string Settings::storePath() const { return storePath_.empty() ? StoreFilePath() : storePath_; }

void Settings::load() {
    const KeyAccess access(storePath());
    take(ReadSettingsValues(access));
}

std::string Settings::appliedFileMask() const {
    return QString::fromStdString(values_.fileMask).trimmed().toStdString();
}

MetaWriteOptions Settings::writerOptions() const { return WriterOptionsOf(values_); }

SetupValues Settings::setupValues() const { return SetupValuesOf(values_); }

bool Settings::commit(const SettingsValues& edited) {
    const SettingsValues stored = Normalised(edited);
    bool written = false;
    {
        KeyAccess access(storePath());
        WriteSettingsValues(access, stored);
        written = access.Close();  // a failure is reported by the store
    }
    take(stored);
    return written;
}

void Settings::keepForRun(const SettingsValues& edited) {
    SettingsValues next = values_;
    next.modemSpeed = edited.modemSpeed;
    next.placement = edited.placement;
    next.attributeOrder = edited.attributeOrder;
    if (IsPermutation(edited.outputOrder)) next.outputOrder = edited.outputOrder;
    next.minWordLength = edited.minWordLength;
    take(Normalised(next));
}

void Settings::reloadGeneratorFlags() {
    const KeyAccess access(storePath());
    SettingsValues next = values_;
    next.digitsInWords = Read(access, key::KeyCifra);
    next.addMandatoryWords = Read(access, key::BolSaveKeyObword);
    take(next);
}

void Settings::take(const SettingsValues& next) {
    const std::vector<SettingKey> keys = ChangedSettings(values_, next);
    values_ = next;
    for (SettingKey key : keys) Q_EMIT changed(key);
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

int Settings::linkDepthLimit() const {
    const KeyAccess access(storePath());
    return Read(access, key::LinkDepth);
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
