#pragma once
// Adapters for the windows that still read the settings through this
// interface and through CurrentSetupValues(): both are views of the one
// session::Settings object of the run, and go once those windows take it.
#include <memory>
#include <string>

#include "engine/writer.h"

namespace veskaron::session {
class Settings;
}

namespace veskaron::ui {

class LiveSettings {
public:
    virtual ~LiveSettings() = default;
    // The modem speed text in bit/s ("33600").
    virtual std::string ModemSpeed() const = 0;
    // 0 after <head>, 1 in front of </head>.
    virtual int InsMeta() const = 0;
    // 0 key attribute first, 1 content first.
    virtual int InsContent() const = 0;
    // The generator's minimum word length.
    virtual int MinWord() const = 0;
    virtual MetaWriteOptions WriterOptions() const = 0;
};

// The values of a Settings object as they are at the moment of each call.
class SettingsLiveView : public LiveSettings {
public:
    explicit SettingsLiveView(const session::Settings& settings) : settings_(&settings) {}
    std::string ModemSpeed() const override;
    int InsMeta() const override;
    int InsContent() const override;
    int MinWord() const override;
    MetaWriteOptions WriterOptions() const override;

protected:
    SettingsLiveView() = default;
    void View(const session::Settings& settings) { settings_ = &settings; }

private:
    const session::Settings* settings_ = nullptr;
};

// The stored values, read once when constructed (a window without the
// program's Settings object).
class StoredLiveSettings final : public SettingsLiveView {
public:
    StoredLiveSettings();
    ~StoredLiveSettings() override;

private:
    std::unique_ptr<session::Settings> own_;
};

// Keeps CurrentSetupValues() equal to the common values of `settings` from
// now on.
void KeepCurrentSetupValuesInStep(session::Settings& settings);

}  // namespace veskaron::ui
