#include "ui/settings/LiveSettings.h"

#include <QObject>

#include "session/Settings.h"
#include "settings/setup_values.h"

namespace veskaron::ui {

std::string SettingsLiveView::ModemSpeed() const { return std::to_string(settings_->modemSpeed()); }

int SettingsLiveView::InsMeta() const { return static_cast<int>(settings_->values().placement); }

int SettingsLiveView::InsContent() const { return static_cast<int>(settings_->values().attributeOrder); }

int SettingsLiveView::MinWord() const { return settings_->minWordLength(); }

MetaWriteOptions SettingsLiveView::WriterOptions() const { return settings_->writerOptions(); }

StoredLiveSettings::StoredLiveSettings() : own_(std::make_unique<session::Settings>()) {
    own_->load();
    View(*own_);
}

StoredLiveSettings::~StoredLiveSettings() = default;

namespace {
void Mirror(const session::Settings& settings) {
    CurrentSetupValues() = settings.setupValues();
    CurrentSetupValues().FileFiltr = settings.appliedFileMask();  // what the file list holds
}
}  // namespace

void KeepCurrentSetupValuesInStep(session::Settings& settings) {
    Mirror(settings);
    QObject::connect(&settings, &session::Settings::changed, &settings,
                     [&settings] { Mirror(settings); });
}

}  // namespace veskaron::ui
