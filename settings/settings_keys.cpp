#include "settings/settings_keys.h"

#include "platform/paths.h"

namespace veskaron {
namespace {

// In the order of SettingKey; each row's own constant checks its place below.
constexpr std::array<std::string_view, kSettingCount> kNames = {
    key::MinWord.name,      key::KeyCifra.name,      key::BolSaveKeyObword.name, key::FileFiltr.name,
    key::IconFile.name,     key::QuestDelWord.name,  key::BakFiles.name,         key::InsertMetaText.name,
    key::StyleXP.name,      key::InsertDescription.name, key::BolAlt.name,       key::Modem.name,
    key::InsMeta.name,      key::InsContent.name,    key::MetaList.name,         key::NoteStyle.name,
    key::IconDesktop.name,  key::IconStartMenu.name, key::IconPrograms.name,     key::Path.name,
    key::PathIdx.name,      key::PageIndex.name,     key::WindowsMax.name,       key::Z.name,
    key::RG1.name,          key::RG2.name,           key::RG3.name,              key::RG4.name,
    key::SE1.name,          key::FWord.name,         key::FWordDel.name,         key::JournalKeep.name,
    key::LinkDepth.name,
};
template <typename Row>
constexpr bool InPlace(const Row& row) { return kNames[static_cast<std::size_t>(row.key)] == row.name; }
static_assert(InPlace(key::MinWord) && InPlace(key::BolAlt) && InPlace(key::Modem) && InPlace(key::IconPrograms) &&
              InPlace(key::Z) && InPlace(key::SE1) && InPlace(key::FWordDel) &&
              InPlace(key::JournalKeep) && InPlace(key::LinkDepth));

}  // namespace

std::string_view SettingName(SettingKey key) { return kNames[static_cast<std::size_t>(key)]; }

std::string_view ModemSpeedText(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(kModemSpeeds.size()))
        index = key::Modem.defaultValue;
    return kModemSpeeds[static_cast<std::size_t>(index)];
}

std::int32_t Read(const KeyAccess& access, const IntSetting& setting) {
    const auto value = access.ReadInteger(setting.name);
    if (!value) return setting.defaultValue;
    if (setting.min <= setting.max && (*value < setting.min || *value > setting.max)) {
        ReportStoreMessage("файл настроек " + access.Path() + ": значение \"" +
                           std::string(setting.name) + "\" = " + std::to_string(*value) +
                           " вне допустимых границ; взято значение по умолчанию");
        return setting.defaultValue;
    }
    return *value;
}

bool Read(const KeyAccess& access, const BoolSetting& setting) {
    return access.ReadBool(setting.name).value_or(setting.defaultValue);
}

std::string Read(const KeyAccess& access, const TextSetting& setting) {
    return access.ReadString(setting.name).value_or(std::string(setting.defaultValue));
}

std::optional<bool> Read(const KeyAccess& access, const OptionalBoolSetting& setting) {
    return access.ReadBool(setting.name);
}

std::optional<std::int32_t> Read(const KeyAccess& access, const OptionalIntSetting& setting) {
    return access.ReadInteger(setting.name);
}

std::optional<std::string> Read(const KeyAccess& access, const OptionalTextSetting& setting) {
    return access.ReadString(setting.name);
}

std::string Read(const KeyAccess& access, const ProgramFileSetting& setting) {
    if (auto stored = access.ReadString(setting.name)) return *stored;
    return ProgramFolder() + std::string(setting.fileName);
}

void Write(KeyAccess& access, const IntSetting& setting, std::int32_t value) {
    access.WriteInteger(setting.name, value);
}
void Write(KeyAccess& access, const OptionalIntSetting& setting, std::int32_t value) {
    access.WriteInteger(setting.name, value);
}
void Write(KeyAccess& access, const BoolSetting& setting, bool value) {
    access.WriteBool(setting.name, value);
}
void Write(KeyAccess& access, const OptionalBoolSetting& setting, bool value) {
    access.WriteBool(setting.name, value);
}
void Write(KeyAccess& access, const TextSetting& setting, const std::string& value) {
    access.WriteString(setting.name, value);
}
void Write(KeyAccess& access, const OptionalTextSetting& setting, const std::string& value) {
    access.WriteString(setting.name, value);
}
void Write(KeyAccess& access, const ProgramFileSetting& setting, const std::string& value) {
    access.WriteString(setting.name, value);
}

}  // namespace veskaron
