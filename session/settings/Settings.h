#pragma once
// The program's settings as one typed object: the common values, the settings
// dialog's own values, and the main window's and the generator's stored
// values. It is the windows' only way to the key store; each access opens the
// store, reads or writes, and closes it again, under the stored names and
// formats the store has always used.
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/catalogue.h"
#include "engine/writer.h"
#include "settings/setup_values.h"

namespace veskaron::session {

// The values themselves are plain and live with the store's table.
using veskaron::AttributeOrder;
using veskaron::LineMode;
using veskaron::Placement;
using veskaron::SettingKey;
using veskaron::SettingsValues;
using veskaron::ShortcutWishes;
using veskaron::TabStyle;

class Settings final : public QObject {
    Q_OBJECT

public:
    // storePath empty: the store of this user (StoreFilePath(), looked up at
    // each access so that the environment in effect counts).
    explicit Settings(std::string storePath = {}, QObject* parent = nullptr);

    // Reads every common and dialog value; a value outside what its control
    // can show takes its default and a message goes to the store messages.
    void load();

    const SettingsValues& values() const { return values_; }

    int modemSpeed() const { return values_.modemSpeed; }
    int minWordLength() const { return values_.minWordLength; }
    TabStyle tabStyle() const { return values_.tabStyle; }
    const OutputOrder& outputOrder() const { return values_.outputOrder; }
    bool backupFiles() const { return values_.backupFiles; }
    // The mask the file list uses: the stored text without surrounding blanks.
    std::string appliedFileMask() const;
    MetaWriteOptions writerOptions() const;
    // The common values in the record the windows exchange with the engine.
    SetupValues setupValues() const;

    // OK of the settings dialog: takes every value, stores the nineteen
    // values and emits changed() for each value that differs. False when
    // the store could not be written (the values stay in effect for the run).
    bool commit(const SettingsValues& edited);
    // Cancel of the settings dialog: the modem speed, the place and attribute
    // order of new tags, the order and the minimum word length take effect
    // for the rest of the run; nothing is stored.
    void keepForRun(const SettingsValues& edited);
    // The generator reads its two word flags again each time it opens.
    void reloadGeneratorFlags();

    // The main window's values, read at its opening and written at its close.
    MainWindowSettings mainWindowValues() const;
    void storeMainWindowValues(const MainWindowSettings& values);
    // Counts this start in "Z" and returns the new count.
    std::int32_t countStart();
    // The clicks from the start page past which a page is a finding (read
    // from the store each time: no window edits it).
    int linkDepthLimit() const;
    // The generator window's values.
    GeneratorSettings generatorValues() const;
    void storeGeneratorValues(const GeneratorSettings& values);

Q_SIGNALS:
    // One value changed; the windows follow the ones they show.
    void changed(veskaron::SettingKey key);

private:
    std::string storePath() const;
    void take(const SettingsValues& next);

    std::string storePath_;
    SettingsValues values_;
};

}  // namespace veskaron::session
