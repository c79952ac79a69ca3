#include "settings/settings_keys.h"

#include "platform/paths.h"

namespace veskaron {

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
