#include "settings/setup_values.h"

#include <functional>

#include "settings/settings_keys.h"
#include "tests/platform/store_fixture.h"

namespace veskaron {
namespace {

const std::string kHead = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]\r\n";

class SettingsTest : public testing::StoreFixture {
protected:
    std::string Store(const std::string& values) {
        WriteRaw(StorePath(), kHead + values);
        return StorePath();
    }
};

TEST_F(SettingsTest, FirstStartWithoutAnyStore) {
    KeyAccess key;
    const SettingsValues values = ReadSettingsValues(key);
    EXPECT_EQ(values, SettingsValues{});
    const SetupValues setup = SetupValuesOf(values);
    EXPECT_EQ(setup.MinWord, 4);
    EXPECT_TRUE(setup.KeyCifra);
    EXPECT_TRUE(setup.BolSaveKeyObword);
    EXPECT_EQ(setup.FileFiltr, "*.htm; *.html");
    EXPECT_FALSE(setup.IconFile || setup.QuestDelWord || setup.BakFiles || setup.StyleXP ||
                 setup.InsertDescription || setup.BolAlt);
    EXPECT_EQ(setup.InsertMetaText, 0);

    EXPECT_EQ(ModemSpeedOf(values), "33600");
    EXPECT_EQ(values.placement, Placement::AfterHeadOpen);
    EXPECT_EQ(values.attributeOrder, AttributeOrder::KeyFirst);
    EXPECT_EQ(values.outputOrder, DefaultOutputOrder());
    EXPECT_EQ(values.tabStyle, TabStyle::Tabs);
    EXPECT_EQ(values.shortcuts, ShortcutWishes{});

    const MainWindowSettings main = ReadMainWindowSettings(key);
    EXPECT_FALSE(main.Path);
    EXPECT_EQ(main.PathIdx, 0);
    EXPECT_FALSE(main.PageIndex);
    EXPECT_TRUE(main.WindowsMax);

    const GeneratorSettings gen = ReadGeneratorSettings(key);
    EXPECT_EQ(gen.RG1, 0);
    EXPECT_EQ(gen.RG2, 0);
    EXPECT_TRUE(gen.RG3);
    EXPECT_FALSE(gen.RG4);
    EXPECT_EQ(gen.SE1, 1);
    EXPECT_EQ(gen.FWord, data_.string() + "/wordins.fkh");
    EXPECT_EQ(gen.FWordDel, data_.string() + "/worddel.fkw");

    EXPECT_EQ(CountStart(key), 1);
    ASSERT_TRUE(key.Close());
    KeyAccess after;
    EXPECT_EQ(after.ReadDword("Z"), 1u);  // the key and "Z" now exist
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsTest, BooleanStoredAsTwoReadsTrueAndIsWrittenBackAsOne) {
    Store("\"BakFiles\"=dword:00000002\r\n\"KeyCifra\"=dword:00000000\r\n");
    {
        KeyAccess key;
        const SettingsValues ok = ReadSettingsValues(key);
        EXPECT_TRUE(ok.backupFiles);
        EXPECT_FALSE(ok.digitsInWords);
        WriteSettingsValues(key, ok);
        ASSERT_TRUE(key.Close());
    }
    KeyAccess key;
    EXPECT_EQ(key.ReadDword("BakFiles"), 1u);
    EXPECT_EQ(key.ReadDword("KeyCifra"), 0u);
}

TEST_F(SettingsTest, ConfirmationWritesTheNineteenValuesInOrder) {
    SettingsValues ok;
    ok.fileMask = "  *.txt  ";  // stored as typed
    ok.outputOrder = ParseOutputOrder("3,0,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21");
    ok.shortcuts.programs = true;
    {
        KeyAccess key;
        WriteSettingsValues(key, ok);
        ASSERT_TRUE(key.Close());
    }
    const StoreContents stored = ParseStore(ReadRaw(StorePath()));
    std::vector<std::string> names;
    for (const auto& [name, value] : stored.values) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Modem", "InsMeta", "InsContent", "MinWord", "KeyCifra", "BolSaveKeyObword",
                         "FileFiltr", "IconFile", "QuestDelWord", "BakFiles", "MetaList",
                         "InsertMetaText", "NoteStyle", "IconDesktop", "IconStartMenu",
                         "IconPrograms", "StyleXP", "InsertDescription", "BolAlt"}));
    KeyAccess key;
    EXPECT_EQ(Read(key, key::FileFiltr), "  *.txt  ");
    EXPECT_EQ(ReadSettingsValues(key), ok);
}

TEST_F(SettingsTest, WindowsWriteTheirValuesInOrder) {
    const struct {
        const char* label;
        std::function<void(KeyAccess&)> write;
        std::vector<std::string> names;
    } cases[] = {
        {"main window close",
         [](KeyAccess& k) {
             MainWindowSettings m;
             m.Path = "/стр/index.html";
             m.PageIndex = 0;
             m.PathIdx = -1;  // nothing selected
             WriteMainWindowSettings(k, m);
         },
         {"Path", "PageIndex", "PathIdx", "WindowsMax"}},
        {"generator close",
         [](KeyAccess& k) { WriteGeneratorSettings(k, GeneratorSettings{}); },
         {"RG1", "RG2", "RG3", "RG4", "SE1", "FWord", "FWordDel"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(StorePath());
        {
            KeyAccess key;
            c.write(key);
            ASSERT_TRUE(key.Close());
        }
        std::vector<std::string> names;
        for (const auto& [name, value] : ParseStore(ReadRaw(StorePath())).values) names.push_back(name);
        EXPECT_EQ(names, c.names);
    }
}

// Every value of the key: absent gives its default; a written value reads back.
TEST_F(SettingsTest, EveryValueReadsItsDefaultAndRoundTrips) {
    struct Row {
        const char* name;
        std::function<std::string(const KeyAccess&)> read;
        std::function<void(KeyAccess&)> write;
        std::string defaultText;
        std::string writtenText;
    };
    auto intRow = [](const IntSetting& s, std::int32_t value) {
        return Row{s.name.data(), [&s](const KeyAccess& k) { return std::to_string(Read(k, s)); },
                   [&s, value](KeyAccess& k) { Write(k, s, value); },
                   std::to_string(s.defaultValue), std::to_string(value)};
    };
    auto boolRow = [](const BoolSetting& s) {
        return Row{s.name.data(), [&s](const KeyAccess& k) { return std::to_string(Read(k, s)); },
                   [&s](KeyAccess& k) { Write(k, s, !s.defaultValue); },
                   std::to_string(s.defaultValue), std::to_string(!s.defaultValue)};
    };
    auto optBoolRow = [](const OptionalBoolSetting& s) {
        return Row{s.name.data(),
                   [&s](const KeyAccess& k) {
                       auto v = Read(k, s);
                       return v ? std::to_string(*v) : std::string("absent");
                   },
                   [&s](KeyAccess& k) { Write(k, s, true); }, "absent", "1"};
    };
    auto textRow = [](const TextSetting& s, const std::string& value) {
        return Row{s.name.data(), [&s](const KeyAccess& k) { return Read(k, s); },
                   [&s, value](KeyAccess& k) { Write(k, s, value); }, std::string(s.defaultValue),
                   value};
    };
    auto fileRow = [this](const ProgramFileSetting& s) {
        return Row{s.name.data(), [&s](const KeyAccess& k) { return Read(k, s); },
                   [&s](KeyAccess& k) { Write(k, s, "/w/list"); },
                   data_.string() + "/" + std::string(s.fileName), "/w/list"};
    };
    const Row rows[] = {
        intRow(key::MinWord, 7), boolRow(key::KeyCifra), boolRow(key::BolSaveKeyObword),
        textRow(key::FileFiltr, "*.php"), boolRow(key::IconFile), boolRow(key::QuestDelWord),
        boolRow(key::BakFiles), intRow(key::InsertMetaText, 1), boolRow(key::StyleXP),
        boolRow(key::InsertDescription), boolRow(key::BolAlt), intRow(key::Modem, 40),
        intRow(key::InsMeta, 1), intRow(key::InsContent, 1),
        textRow(key::MetaList, "21,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0"),
        intRow(key::NoteStyle, 2), optBoolRow(key::IconDesktop), optBoolRow(key::IconStartMenu),
        optBoolRow(key::IconPrograms),
        Row{"Path",
            [](const KeyAccess& k) { return Read(k, key::Path).value_or("absent"); },
            [](KeyAccess& k) { Write(k, key::Path, "/стр/index.html"); }, "absent",
            "/стр/index.html"},
        intRow(key::PathIdx, 3),
        Row{"PageIndex",
            [](const KeyAccess& k) {
                auto v = Read(k, key::PageIndex);
                return v ? std::to_string(*v) : std::string("absent");
            },
            [](KeyAccess& k) { Write(k, key::PageIndex, 0); }, "absent", "0"},
        boolRow(key::WindowsMax), intRow(key::Z, 12), intRow(key::RG1, 2), intRow(key::RG2, 1),
        boolRow(key::RG3), boolRow(key::RG4), intRow(key::SE1, 999), fileRow(key::FWord),
        fileRow(key::FWordDel), intRow(key::JournalKeep, 7), intRow(key::LinkDepth, 6),
    };
    EXPECT_EQ(std::size(rows), static_cast<std::size_t>(kSettingCount));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        {
            KeyAccess key;
            EXPECT_EQ(row.read(key), row.defaultText);
            row.write(key);
            ASSERT_TRUE(key.Close());
        }
        KeyAccess key;
        EXPECT_EQ(row.read(key), row.writtenText);
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsTest, UnusableStoredValuesFallBackToTheirDefaults) {
    Store("\"MinWord\"=\"abc\"\r\n\"Modem\"=dword:00000029\r\n\"NoteStyle\"=dword:ffffffff\r\n"
          "\"RG1\"=dword:00000003\r\n\"PathIdx\"=dword:ffffffff\r\n\"FileFiltr\"=dword:1\r\n"
          "\"InsMeta\"=dword:00000007\r\n\"SE1\"=dword:000003e8\r\n");
    KeyAccess key;
    EXPECT_EQ(Read(key, key::MinWord), 4);
    EXPECT_EQ(Read(key, key::Modem), 20);
    EXPECT_EQ(Read(key, key::NoteStyle), 0);
    EXPECT_EQ(Read(key, key::RG1), 0);
    EXPECT_EQ(Read(key, key::PathIdx), -1) << "written by the window for no selection";
    EXPECT_EQ(ReadMainWindowSettings(key).PathIdx, 0);
    EXPECT_EQ(Read(key, key::FileFiltr), "*.htm; *.html");
    // Values whose meaning covers any number are used as stored.
    EXPECT_EQ(Read(key, key::InsMeta), 7);
    EXPECT_EQ(Read(key, key::SE1), 1000);
    EXPECT_EQ(messages_.size(), 5u);
}

TEST_F(SettingsTest, DamagedStoreGivesDefaultsAndIsKept) {
    static const char kBytes[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\"MinWord\"=dword:zz";
    const std::string garbage(kBytes, sizeof kBytes - 1);
    WriteRaw(StorePath(), garbage);
    KeyAccess key;
    EXPECT_EQ(ReadSettingsValues(key), SettingsValues{});
    EXPECT_EQ(CountStart(key), 1);
    ASSERT_TRUE(key.Close());
    EXPECT_EQ(ReadRaw(StorePath() + ".bad"), garbage);
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(SettingsTest, StartCounterCountsAndSaturates) {
    Store("\"Z\"=dword:00000029\r\n");
    {
        KeyAccess key;
        EXPECT_EQ(CountStart(key), 42);
    }
    {
        KeyAccess key;
        EXPECT_EQ(Read(key, key::Z), 42);
        Write(key, key::Z, INT32_MAX);
    }
    KeyAccess key;
    EXPECT_EQ(CountStart(key), INT32_MAX);
}

TEST_F(SettingsTest, WriterSettingsComeFromTheStore) {
    const SettingsValues defaults = ReadSettingsValues();
    EXPECT_EQ(ModemSpeedOf(defaults), "33600");
    EXPECT_EQ(WriterOptionsOf(defaults).order, DefaultOutputOrder());
    EXPECT_FALSE(defaults.backupFiles);
    Store("\"Modem\"=dword:00000000\r\n\"InsMeta\"=dword:00000001\r\n\"InsContent\"=dword:00000001\r\n"
          "\"InsertMetaText\"=dword:00000001\r\n\"BakFiles\"=dword:00000001\r\n"
          "\"MetaList\"=\"1,0,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21\"\r\n");
    const SettingsValues stored = ReadSettingsValues();
    const MetaWriteOptions w = WriterOptionsOf(stored);
    EXPECT_EQ(ModemSpeedOf(stored), "300");
    EXPECT_EQ(w.placement, Placement::BeforeHeadClose);
    EXPECT_EQ(w.attributeOrder, AttributeOrder::ContentFirst);
    EXPECT_EQ(w.lineMode, LineMode::OneLine);
    EXPECT_TRUE(stored.backupFiles);
    EXPECT_EQ(w.order[0], 1);
    EXPECT_EQ(w.order[1], 0);
}

}  // namespace
}  // namespace veskaron
