#include "platform/key_store.h"

#include <algorithm>
#include <ostream>
#include <thread>

#include "tests/platform/store_fixture.h"

namespace veskaron {

void PrintTo(const StoreValue& v, std::ostream* os) {
    if (v.type == StoreValue::Type::Dword) *os << "dword " << v.dword;
    else *os << "\"" << v.text << "\"";
}

namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

const std::string kHead = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]\r\n";

struct ParseCase {
    const char* label;
    std::string text;
    bool clean;                                                 // no problems expected
    std::vector<std::pair<std::string, StoreValue>> expected;  // the values read
};

TEST(ParseStoreTest, ReadsGoodFilesAndKeepsWhatItCanOfBadOnes) {
    using V = StoreValue;
    const std::string lfHead = "REGEDIT4\n\n[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]\n";
    const ParseCase cases[] = {
        {"crlf", kHead + "\"MinWord\"=dword:0000001e\r\n\"FileFiltr\"=\"*.htm\"\r\n", true,
         {{"MinWord", V::Dword(30)}, {"FileFiltr", V::String("*.htm")}}},
        {"lf, no final line end", lfHead + "\"A\"=dword:FFFFFFFF\n\"B\"=\"x\"", true,
         {{"A", V::Dword(0xFFFFFFFF)}, {"B", V::String("x")}}},
        {"escapes", kHead + R"("P"="C:\\dir\\\"q\" \n\x01")" + "\r\n", true,
         {{"P", V::String("C:\\dir\\\"q\" \n\x01")}}},
        {"key line in other case, comments", "REGEDIT4\n; note\n[hkey_current_user\\software\\varnok-soft\\veskaron]\n\"Z\"=dword:2\n",
         true, {{"Z", V::Dword(2)}}},
        {"windows-1251 text", kHead + "\"Path\"=\"\xCF\xF3\xF2\xFC\"\r\n", true,
         {{"Path", V::String("Путь")}}},
        {"empty", "", false, {}},
        {"truncated inside a text", kHead + "\"MinWord\"=dword:00000005\r\n\"FileFiltr\"=\"*.ht", false,
         {{"MinWord", V::Dword(5)}}},
        {"dword out of range", kHead + "\"MinWord\"=dword:100000000\r\n\"BakFiles\"=dword:1\r\n", false,
         {{"BakFiles", V::Dword(1)}}},
        {"dword not hexadecimal", kHead + "\"MinWord\"=dword:12g4\r\n", false, {}},
        {"duplicated name, last wins", kHead + "\"Z\"=dword:1\r\n\"z\"=dword:7\r\n", false,
         {{"z", V::Dword(7)}}},
        {"no header", "[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]\n\"Z\"=dword:3\n", false,
         {{"Z", V::Dword(3)}}},
        {"value of another key", "REGEDIT4\n[HKEY_CURRENT_USER\\Other]\n\"Z\"=dword:3\n", false, {}},
        {"unsupported type", kHead + "\"Z\"=hex:01,02\r\n", false, {}},
        {"binary garbage", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe\n\"\n=\r\r\n\x80", 20), false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const StoreContents parsed = ParseStore(c.text);
        EXPECT_EQ(parsed.problems.empty(), c.clean);
        EXPECT_EQ(parsed.values, c.expected);
    }
}

TEST(ParseStoreTest, GarbageListsALimitedNumberOfFaults) {
    const StoreContents parsed = ParseStore(std::string(5000, '\n') + std::string(5000, 'x') + "\n" +
                                            std::string(100000, '\n'));
    std::string many;
    for (int i = 0; i < 1000; ++i) many += "junk\n";
    const StoreContents junk = ParseStore(many);
    EXPECT_LE(junk.problems.size(), 21u);
    EXPECT_NE(junk.problems.back().find("ещё"), std::string::npos);
    EXPECT_TRUE(parsed.values.empty());
}

TEST(ParseStoreTest, ManyValuesReadInLinearTime) {
    std::string text = kHead;
    for (int i = 0; i < 100000; ++i) text += "\"V" + std::to_string(i) + "\"=dword:1\r\n";
    const StoreContents parsed = ParseStore(text);
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.values.size(), 100000u);
}

TEST(ParseStoreTest, FormatThenParseGivesTheSameValues) {
    StoreContents contents;
    contents.Set("MinWord", StoreValue::Dword(30));
    contents.Set("Path", StoreValue::String("/home/u/Мои \"страницы\"\\a\r\nb\tc\x1f"));
    contents.Set("Empty", StoreValue::String(""));
    contents.Set("Max", StoreValue::Dword(0xFFFFFFFF));
    const std::string text = FormatStore(contents);
    EXPECT_EQ(text.substr(0, kHead.size()), kHead);
    EXPECT_NE(text.find("\"MinWord\"=dword:0000001e\r\n"), std::string::npos);
    const StoreContents back = ParseStore(text);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.values, contents.values);
}

class KeyAccessTest : public StoreFixture {};

TEST_F(KeyAccessTest, MissingStoreReadsNothingAndFirstWriteCreatesIt) {
    {
        KeyAccess key;
        EXPECT_FALSE(key.ValueExists("Z"));
        EXPECT_EQ(key.ReadDword("Z"), std::nullopt);
        key.WriteDword("Z", 30);
        EXPECT_EQ(key.ReadDword("Z"), 30u);  // the access sees its own write
        EXPECT_TRUE(key.Close());
    }
    EXPECT_EQ(ReadRaw(StorePath()), kHead + "\"Z\"=dword:0000001e\r\n\r\n");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(KeyAccessTest, TypedReadsAndWrongTypes) {
    WriteRaw(StorePath(), kHead + "\"MinWord\"=\"abc\"\r\n\"B\"=dword:00000002\r\n\"S\"=\"t\"\r\n");
    KeyAccess key;
    EXPECT_TRUE(key.ValueExists("MinWord"));
    EXPECT_EQ(key.ReadInteger("MinWord"), std::nullopt);
    EXPECT_EQ(key.ReadBool("B"), true);
    EXPECT_EQ(key.ReadString("B"), std::nullopt);
    EXPECT_EQ(key.ReadString("s"), "t");
    EXPECT_EQ(key.ReadInteger("MinWord"), std::nullopt);
    ASSERT_EQ(messages_.size(), 2u);  // once per fault, not once per read
    EXPECT_NE(messages_[0].find("MinWord"), std::string::npos);
}

TEST_F(KeyAccessTest, WriteChangesOnlyItsOwnValues) {
    WriteRaw(StorePath(), kHead + "\"A\"=dword:00000001\r\n\"B\"=\"b\"\r\n");
    KeyAccess first;
    KeyAccess second;
    second.WriteString("C", "c");
    ASSERT_TRUE(second.Close());
    first.WriteDword("a", 5);  // opened before C was written
    ASSERT_TRUE(first.Close());
    EXPECT_EQ(ReadRaw(StorePath()),
              kHead + "\"a\"=dword:00000005\r\n\"B\"=\"b\"\r\n\"C\"=\"c\"\r\n\r\n");
}

TEST_F(KeyAccessTest, ConcurrentWritersKeepEachOthersValues) {
    constexpr int kWriters = 4;
    constexpr int kRounds = 15;
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([w] {
            for (int r = 0; r < kRounds; ++r) {
                KeyAccess key;
                key.WriteDword("W" + std::to_string(w) + "_" + std::to_string(r),
                               static_cast<std::uint32_t>(r));
                key.Close();
            }
        });
    }
    for (auto& t : threads) t.join();
    KeyAccess key;
    for (int w = 0; w < kWriters; ++w)
        for (int r = 0; r < kRounds; ++r)
            EXPECT_EQ(key.ReadDword("W" + std::to_string(w) + "_" + std::to_string(r)),
                      static_cast<std::uint32_t>(r));
    EXPECT_TRUE(messages_.empty());
    // No temporary files are left behind.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(config_)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);  // the store and its lock file
}

TEST_F(KeyAccessTest, DamagedStoreIsKeptAsideBeforeItIsRewritten) {
    const std::string damaged[] = {
        "",
        kHead + "\"MinWord\"=dword:00000007\r\n\"FileFiltr\"=\"*.ht",
        kHead + "\"Z\"=dword:1\r\n\"Z\"=dword:2\r\n",
        std::string("\0\x01\x02garbage\xff\n\x80\x81", 14),
    };
    for (const auto& bytes : damaged) {
        SCOPED_TRACE(bytes);
        ResetStoreStateForTests();
        messages_.clear();
        fs::remove(StorePath() + ".bad");
        WriteRaw(StorePath(), bytes);
        { KeyAccess reader; }
        { KeyAccess again; }
        EXPECT_EQ(messages_.size(), 1u);  // said once
        {
            KeyAccess key;
            key.WriteDword("New", 1);
            EXPECT_TRUE(key.Close());
        }
        EXPECT_EQ(ReadRaw(StorePath() + ".bad"), bytes);
        const StoreContents now = ParseStore(ReadRaw(StorePath()));
        EXPECT_TRUE(now.problems.empty());
        ASSERT_NE(now.Find("New"), nullptr);
        if (bytes.find("dword:00000007") != std::string::npos) {
            ASSERT_NE(now.Find("MinWord"), nullptr);  // what could be read is kept
        }
    }
}

TEST_F(KeyAccessTest, UnreadableStoreIsNeverReplaced) {
    fs::create_directories(StorePath());  // a folder where the file should be
    KeyAccess key;
    key.WriteDword("Z", 1);
    EXPECT_FALSE(key.Close());
    EXPECT_TRUE(fs::is_directory(StorePath()));
    EXPECT_FALSE(messages_.empty());
}

TEST_F(KeyAccessTest, UnwritableFolderKeepsValuesForTheRun) {
    WriteRaw((root_ / "blocker").string(), "a file, not a folder");
    ::setenv("VESKARON_CONFIG_DIR", (root_ / "blocker" / "config").c_str(), 1);
    {
        KeyAccess key;
        key.WriteString("FileFiltr", "*.txt");
        EXPECT_FALSE(key.Close());
    }
    {
        KeyAccess key;
        key.WriteString("Other", "x");
        EXPECT_FALSE(key.Close());
    }
    KeyAccess later;
    EXPECT_EQ(later.ReadString("FileFiltr"), "*.txt");
    EXPECT_EQ(later.ReadString("Other"), "x");
    // Reading says the folder is unusable; storing fails, said once.
    EXPECT_EQ(std::count_if(messages_.begin(), messages_.end(),
                            [](const std::string& m) {
                                return m.find("не удалось сохранить настройки") != std::string::npos;
                            }),
              1);
    EXPECT_EQ(TakeStoreMessages().size(), messages_.size());
    EXPECT_TRUE(TakeStoreMessages().empty());
}

TEST_F(KeyAccessTest, HeldValuesAreStoredByTheNextSuccessfulWrite) {
    const std::string good = StorePath();
    KeyAccess failing(good);
    fs::create_directories(config_);
    fs::create_directories(good + ".lock");  // the lock cannot be taken
    failing.WriteDword("Held", 9);
    EXPECT_FALSE(failing.Close());
    fs::remove(good + ".lock");
    KeyAccess next(good);
    next.WriteDword("Other", 1);
    EXPECT_TRUE(next.Close());
    const StoreContents stored = ParseStore(ReadRaw(good));
    ASSERT_NE(stored.Find("Held"), nullptr);
    EXPECT_EQ(stored.Find("Held")->dword, 9u);
}

TEST_F(KeyAccessTest, WriteKeepsTheFilePermissions) {
    WriteRaw(StorePath(), kHead);
    fs::permissions(StorePath(), fs::perms::owner_read | fs::perms::owner_write);
    KeyAccess key;
    key.WriteDword("Z", 1);
    ASSERT_TRUE(key.Close());
    EXPECT_EQ(fs::status(StorePath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace veskaron
