#include "session/settings/Settings.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "platform/key_store.h"
#include "tests/platform/store_fixture.h"

namespace veskaron::session {
namespace {

class SettingsTest : public testing::StoreFixture {
protected:
    void Store(const char* name, std::int32_t value) {
        KeyAccess access;
        access.WriteInteger(name, value);
        ASSERT_TRUE(access.Close());
    }
    static QStringList Keys(const QSignalSpy& spy) {
        QStringList keys;
        for (const QList<QVariant>& call : spy)
            keys << QString::fromStdString(std::string(SettingName(call.first().value<SettingKey>())));
        return keys;
    }
};

TEST_F(SettingsTest, StoredValueNoControlCanShowTakesItsDefaultWithAMessage) {
    struct Row {
        const char* name;
        std::int32_t stored;
    };
    const Row rows[] = {{"NoteStyle", 3}, {"NoteStyle", -1}, {"Modem", 41}, {"Modem", -2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " = " + std::to_string(row.stored));
        ResetStoreStateForTests();
        messages_.clear();
        Store(row.name, row.stored);
        Settings settings;
        settings.load();
        EXPECT_EQ(settings.values(), SettingsValues{});
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0], "файл настроек " + StorePath() + ": значение \"" + row.name +
                                    "\" = " + std::to_string(row.stored) +
                                    " вне допустимых границ; взято значение по умолчанию");
        std::filesystem::remove(StorePath());
    }
}

// The layout values are "this one or any other": nothing is out of range and
// nothing is reported.
TEST_F(SettingsTest, LayoutValuesTakeAnyOtherValueAsTheSecondChoice) {
    Store("InsMeta", 5);
    Store("InsContent", -1);
    Store("InsertMetaText", 7);
    Settings settings;
    settings.load();
    EXPECT_EQ(settings.values().placement, Placement::BeforeHeadClose);
    EXPECT_EQ(settings.values().attributeOrder, AttributeOrder::ContentFirst);
    EXPECT_EQ(settings.values().lineMode, LineMode::TagPerLine);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsTest, StoredValuesInRangeAreTaken) {
    Store("InsMeta", 1);
    Store("InsContent", 1);
    Store("InsertMetaText", 1);
    Store("NoteStyle", 2);
    Store("Modem", 0);
    Store("MinWord", 40);  // the spin box's top
    Settings settings;
    settings.load();
    EXPECT_EQ(settings.values().placement, Placement::BeforeHeadClose);
    EXPECT_EQ(settings.values().attributeOrder, AttributeOrder::ContentFirst);
    EXPECT_EQ(settings.values().lineMode, LineMode::OneLine);
    EXPECT_EQ(settings.tabStyle(), TabStyle::FlatButtons);
    EXPECT_EQ(settings.modemSpeed(), 300);
    EXPECT_EQ(settings.minWordLength(), 16);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsTest, CommitEmitsChangedForExactlyTheChangedValues) {
    Settings settings;
    settings.load();
    QSignalSpy spy(&settings, &Settings::changed);
    SettingsValues edited = settings.values();
    edited.modemSpeed = 56000;
    edited.fileIcons = true;
    std::swap(edited.outputOrder[0], edited.outputOrder[3]);
    edited.shortcuts.programs = true;
    EXPECT_TRUE(settings.commit(edited));
    EXPECT_EQ(Keys(spy), (QStringList{"IconFile", "Modem", "MetaList", "IconPrograms"}));
    EXPECT_EQ(settings.values(), edited);

    spy.clear();
    EXPECT_TRUE(settings.commit(edited));  // stored again, nothing changed
    EXPECT_TRUE(spy.isEmpty());
}

TEST_F(SettingsTest, CommittedValuesComeBackFromTheStoreInItsFormat) {
    SettingsValues edited;
    edited.minWordLength = 6;
    edited.digitsInWords = false;
    edited.fileMask = "  *.htm  ";
    edited.backupFiles = true;
    edited.lineMode = LineMode::OneLine;
    edited.modemSpeed = 56000;
    edited.placement = Placement::BeforeHeadClose;
    edited.attributeOrder = AttributeOrder::ContentFirst;
    std::swap(edited.outputOrder[20], edited.outputOrder[21]);
    edited.tabStyle = TabStyle::Buttons;
    edited.shortcuts.desktop = true;
    {
        Settings settings;
        settings.commit(edited);
        EXPECT_EQ(settings.appliedFileMask(), "*.htm");
    }
    const std::string stored = ReadRaw(StorePath());
    for (const char* line : {"\"Modem\"=dword:00000028", "\"InsMeta\"=dword:00000001",
                             "\"FileFiltr\"=\"  *.htm  \"", "\"IconDesktop\"=dword:00000001",
                             "\"IconStartMenu\"=dword:00000000", "\"KeyCifra\"=dword:00000000",
                             "\"MetaList\"=\"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,21,20\""})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
    Settings again;
    again.load();
    EXPECT_EQ(again.values(), edited);
}

TEST_F(SettingsTest, GeneratorFlagsAreReadAgainWhenTheGeneratorOpens) {
    Settings settings;
    settings.load();
    Store("KeyCifra", 0);
    QSignalSpy spy(&settings, &Settings::changed);
    settings.reloadGeneratorFlags();
    EXPECT_FALSE(settings.values().digitsInWords);
    EXPECT_TRUE(settings.values().addMandatoryWords);
    EXPECT_EQ(Keys(spy), QStringList{"KeyCifra"});
}

TEST_F(SettingsTest, KeptForTheRunWithoutStoring) {
    Settings settings;
    settings.load();
    SettingsValues edited = settings.values();
    edited.placement = Placement::BeforeHeadClose;
    edited.minWordLength = 7;
    edited.backupFiles = true;  // only OK takes this one
    settings.keepForRun(edited);
    EXPECT_EQ(settings.writerOptions().placement, Placement::BeforeHeadClose);
    EXPECT_EQ(settings.minWordLength(), 7);
    EXPECT_FALSE(settings.backupFiles());
    EXPECT_FALSE(std::filesystem::exists(StorePath()));
}

}  // namespace
}  // namespace veskaron::session
