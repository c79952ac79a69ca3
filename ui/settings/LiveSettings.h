#pragma once
// The settings the load, the writer and the generator read at the moment of
// use. The settings dialog's controls hold them for the whole run; until the
// dialog exists the stored values stand in.
#include <string>

#include "engine/writer.h"

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

    // The writer options: placement and attribute order from here, the line
    // mode from the common settings, the order from the current output order.
    MetaWriteOptions WriterOptions() const;
};

// The stored values, read once when constructed.
class StoredLiveSettings final : public LiveSettings {
public:
    StoredLiveSettings();
    std::string ModemSpeed() const override { return modem_; }
    int InsMeta() const override { return insMeta_; }
    int InsContent() const override { return insContent_; }
    int MinWord() const override { return minWord_; }

private:
    std::string modem_;
    int insMeta_ = 0;
    int insContent_ = 0;
    int minWord_ = 4;
};

}  // namespace veskaron::ui
