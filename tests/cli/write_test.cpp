#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "messages/refusal_text.h"
#include "tests/cli/cli_fixture.h"
#include "engine/writer.h"
#include "platform/key_store.h"

namespace fs = std::filesystem;

namespace {

const std::string kPage =
    "<html>\r\n<head>\r\n<title>Old</title>\r\n<meta name=\"keywords\" content=\"old\">\r\n"
    "</head>\r\n<body><input name=\"url\"></body>\r\n</html>\r\n";

class WriteCommand : public CliTest {
protected:
    WriteCommand() : CliTest({"write", "--now", "2026-12-07T10:22:31"}) {}
    void SetUp() override {
        CliTest::SetUp();
        page_ = Put("page.htm", kPage);
    }

    nlohmann::json ReadBack(const std::string& path) {
        const char* argv[] = {"veskaron-meta", "read", "--now", "2026-12-07T10:22:31", path.c_str()};
        std::ostringstream out, err;
        EXPECT_EQ(veskaron::cli::Main(5, argv, {out, err}), 0) << err.str();
        return nlohmann::json::parse(out.str());
    }

    std::string page_;
};

}  // namespace

TEST_F(WriteCommand, SetsFieldsAndSavesThePage) {
    ASSERT_EQ(Run({page_, "--set", "Title=Home page", "--set", "Author=Web studio",
                   "--set", "Keywords=", "--set", "Robots=2", "--set", "PageEnter.On=1",
                   "--set", "PageEnter.Duration=3", "--set", "PageEnter.Effect=12"}),
              0)
        << err_.str();
    EXPECT_EQ(Get(page_),
              "<html>\r\n<head><title>Home page</title>\r\n"
              "<meta name=\"author\" content=\"Web studio\" >\r\n"
              "<meta name=\"robots\" content=\"all\" >\r\n"
              "<meta http-equiv=\"page-enter\" content=\"RevealTrans(Duration=3.0,Transition=12)\" >\r\n"
              "</head>\r\n<body><input name=\"url\"></body>\r\n</html>\r\n");
    EXPECT_FALSE(fs::exists(page_ + ".bak"));
}

TEST_F(WriteCommand, LayoutFlagsOverrideTheStoredSettings) {
    {
        veskaron::KeyAccess store;
        store.WriteInteger("InsContent", 1);
        store.WriteInteger("InsMeta", 1);
        store.WriteBool("BakFiles", true);
        store.WriteString("MetaList", "4,0,1,2,3,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21");
        ASSERT_TRUE(store.Close());
    }
    ASSERT_EQ(Run({page_, "--set", "Keywords=k1", "--stdout"}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "<html>\r\n<head>\r\n<meta content=\"k1\" name=\"keywords\" >\r\n<title>Old</title></head>\r\n"
              "<body><input name=\"url\"></body>\r\n</html>\r\n");
    EXPECT_EQ(Get(page_), kPage) << "--stdout leaves the file alone";

    ASSERT_EQ(Run({page_, "--set", "Keywords=k1", "--place", "start", "--attr", "key-first",
                   "--one-line", "--order", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21",
                   "--no-backup"}),
              0)
        << err_.str();
    EXPECT_EQ(Get(page_),
              "<html>\r\n<head><title>Old</title><meta name=\"keywords\" content=\"k1\" >\r\n"
              "</head>\r\n<body><input name=\"url\"></body>\r\n</html>\r\n");
    EXPECT_FALSE(fs::exists(page_ + ".bak"));

    ASSERT_EQ(Run({page_, "--set", "Author=Ann"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(page_ + ".bak")) << "BakFiles from the store";
}

TEST_F(WriteCommand, TypedTextsReadBackThroughRead) {
    const std::string texts[] = {"Tom & Jerry <TJ> \"quoted\"", "&lt;b&gt; &amp; &nbsp;",
                                 "Привет, \"мир\" > всё"};
    for (const std::string& t : texts) {
        ASSERT_EQ(Run({page_, "--set", "Author=" + t, "--set", "Description=" + t, "--set",
                       "Title=" + t, "--attr", "content-first"}),
                  0)
            << err_.str();
        const nlohmann::json j = ReadBack(page_);
        EXPECT_EQ(j["Author"], t);
        EXPECT_EQ(j["Description"], t);
        EXPECT_EQ(j["Title"], t);
    }
}

TEST_F(WriteCommand, ExpiryDateAndTimeRebuildTheText) {
    ASSERT_EQ(Run({page_, "--set", "ExpiriesOn=1", "--set", "ExpiriesDate=2026-07-20", "--set",
                   "ExpiriesTime=09:05:00", "--stdout"}),
              0)
        << err_.str();
    EXPECT_NE(out_.str().find("content=\"Mon, 20 Iul 2026 05:09:00 GMT\""), std::string::npos)
        << out_.str();
}

// A backup that cannot be made is reported, and the page is saved all the same.
TEST_F(WriteCommand, FailedBackupStillSavesThePage) {
    fs::create_directory(page_ + ".bak");
    EXPECT_EQ(Run({page_, "--set", "Author=Ann", "--backup"}), 0);
    EXPECT_NE(err_.str().find("saved without a backup"), std::string::npos) << err_.str();
    EXPECT_NE(Get(page_).find("<meta name=\"author\" content=\"Ann\" >"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(page_ + ".bak"));
}

TEST_F(WriteCommand, AsEditedKeepsTheBytesOfAnLfOnlyPage) {
    const std::string lf = "<html>\n<head>\n<title>T</title>\n</head>\n<body>\xE0\xFF</body>\n";
    const std::string path = Put("lf.htm", lf);
    ASSERT_EQ(Run({path, "--as-edited", "--set", "Author=Ignored"}), 0) << err_.str();
    EXPECT_EQ(Get(path), lf);
    ASSERT_EQ(Run({path, "--set", "Author=Ann"}), 0);
    EXPECT_EQ(Get(path).find('\r'), std::string::npos) << "still LF only";
}

TEST_F(WriteCommand, FailuresLeaveThePageAsItWas) {
    // Refusal: status 3, the text on stderr, nothing written (no backup either).
    EXPECT_EQ(Run({page_, "--set", "ContentTypeOn=1", "--set", "Charset=3", "--backup"}), 3);
    EXPECT_EQ(err_.str(), "Укажите тип данных в поле тега Content-Type!\n");
    EXPECT_EQ(Get(page_), kPage);
    EXPECT_FALSE(fs::exists(page_ + ".bak"));

    // A failed write: the page is a link to something that is not a file.
    const std::string device = (dir_ / "device.htm").string();
    fs::create_symlink("/dev/null", device);
    EXPECT_EQ(Run({device, "--as-edited"}), 1);
    EXPECT_NE(err_.str().find("Cannot create file"), std::string::npos) << err_.str();
    EXPECT_TRUE(fs::is_symlink(device));

    // A page whose numbers cannot be read is not rewritten from half-read fields.
    const std::string bad = "<head><meta http-equiv=\"refresh\" content=\"x; url=a.htm\">"
                            "<meta http-equiv=\"page-exit\" content=\"RevealTrans(Duration=1.0,Transition=2)\"></head>";
    const std::string badPath = Put("bad.htm", bad);
    EXPECT_EQ(Run({badPath, "--set", "Author=Ann"}), 1);
    EXPECT_EQ(Get(badPath), bad);

    // A charset no save can write is refused naming it; the page keeps its
    // bytes and declaration, in a run of several pages too.
    const std::string cp866 = Put("cp866.htm", "<html><head><meta http-equiv=\"content-type\" "
                                               "content=\"text/html; charset=cp866\"><title>\xA5</title></head></html>");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{cp866, "--set", "CharsetText=shift_jis", "--backup"},
          std::vector<std::string>{cp866, "--set", "CharsetText=shift_jis", "--dry-run"},
          std::vector<std::string>{cp866, page_, "--set", "CharsetText=shift_jis"}}) {
        EXPECT_EQ(Run(args), 1);
        EXPECT_NE(err_.str().find(cp866 + ": "), std::string::npos) << err_.str();
        EXPECT_NE(err_.str().find("\"shift_jis\""), std::string::npos) << err_.str();
    }
    EXPECT_EQ(Get(cp866).find("shift_jis"), std::string::npos);
    EXPECT_FALSE(fs::exists(cp866 + ".bak"));

    EXPECT_EQ(Run({(dir_ / "missing.htm").string()}), 2);
    EXPECT_EQ(Run({page_, "--set", "NoSuchMember=1"}), 1);
    EXPECT_EQ(Run({page_, "--order", "0,1,1,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"}), 1);
    EXPECT_EQ(Get(page_), kPage);
}

TEST_F(WriteCommand, TextsLandInThePagesEncoding) {
    const std::string utf8 = Put("u.htm", "<html><head><meta charset=\"utf-8\"><title>Old</title></head></html>");
    ASSERT_EQ(Run({utf8, "--set", "Title=Заголовок", "--set", "Author=Ёж"}), 0) << err_.str();
    EXPECT_NE(Get(utf8).find("<title>Заголовок</title>"), std::string::npos) << Get(utf8);
    EXPECT_EQ(Get(utf8).find("author"), std::string::npos) << "two characters are too short";
    EXPECT_EQ(err_.str(), "");

    // Windows-1251 cannot hold the Chinese characters: references, reported once.
    ASSERT_EQ(Run({page_, "--set", "Title=Чай 中文", "--set", "Author=中"}), 0) << err_.str();
    EXPECT_NE(Get(page_).find("<title>\xD7\xE0\xE9 &#20013;&#25991;</title>"), std::string::npos);
    EXPECT_EQ(err_.str(), page_ + ": 3 characters that the page's charset cannot hold were written "
                                  "as numeric character references (&#N;)\n");
    EXPECT_NE(Run({page_, "--set", "Title=\xFF"}), 0) << "input that is not UTF-8 is refused";

    // KOI8-R has no euro and keeps its capital io elsewhere than Windows-1251:
    // neither may land as a byte that means another character.
    const std::string koi8 = Put("k.htm", "<html><head><meta http-equiv=\"content-type\" "
                                          "content=\"text/html; charset=koi8-r\"><title>x</title></head></html>");
    ASSERT_EQ(Run({koi8, "--set", "Title=Ёж ё €"}), 0) << err_.str();
    EXPECT_NE(Get(koi8).find("<title>&#1025;\xD6 \xA3 &#8364;</title>"), std::string::npos) << Get(koi8);
    EXPECT_NE(err_.str().find(": 2 characters"), std::string::npos) << err_.str();
    ASSERT_EQ(Run({koi8, "--set", "Title=€"}), 0) << err_.str();
    EXPECT_EQ(err_.str(), koi8 + ": 1 character that the page's charset cannot hold was written "
                                 "as numeric character references (&#N;)\n");
}

TEST_F(WriteCommand, TheLastOfRepeatedOrOppositeOptionsWins) {
    ASSERT_EQ(Run({page_, "--set", "Keywords=k1", "--place", "start", "--place", "end", "--per-line",
                   "--one-line", "--backup", "--no-backup", "--stdout"}),
              0)
        << err_.str();
    EXPECT_EQ(out_.str(),
              "<html>\r\n<head>\r\n<title>Old</title><meta name=\"keywords\" content=\"k1\" ></head>\r\n"
              "<body><input name=\"url\"></body>\r\n</html>\r\n");
    ASSERT_EQ(Run({page_, "--no-backup", "--backup"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(page_ + ".bak"));
}

TEST_F(WriteCommand, DryRunShowsEachSideInItsOwnCharset) {
    // The page goes from Windows-1251 to UTF-8: both sides of the diff read as text.
    const std::string page = Put("c.htm", "<html><head><title>\xD7\xE0\xE9</title></head></html>");
    ASSERT_EQ(Run({page, "--set", "ContentTypeOn=1", "--set", "ContentType=1", "--set", "Charset=5",
                   "--dry-run"}),
              0)
        << err_.str();
    EXPECT_NE(out_.str().find("\n-<html><head><title>Чай</title></head></html>\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\n+<html><head><title>Чай</title>\n"), std::string::npos) << out_.str();
}

// A head as DocBook's stylesheets write it, every tag broken before its '>':
// read, written in the page's own line ends, and audited as having a head and
// a title.
TEST_F(WriteCommand, DocBookStylePage) {
    const std::string page = Put("docbook.html",
                                 "<HTML\n><HEAD\n><TITLE\n>Users and Groups</TITLE\n><META\nNAME=\"GENERATOR\"\n"
                                 "CONTENT=\"Modular DocBook HTML Stylesheet Version 1.79\"></HEAD\n><BODY\n><P\n>Text</P\n"
                                 "></BODY\n></HTML\n>\n");
    const nlohmann::json before = ReadBack(page);
    EXPECT_EQ(before["Title"], "Users and Groups");
    EXPECT_EQ(before["Generator"], "Modular DocBook HTML Stylesheet Version 1.79");

    ASSERT_EQ(Run({page, "--set", "Description=Who owns which files"}), 0) << err_.str();
    EXPECT_EQ(Get(page),
              "<HTML\n><HEAD\n><title>Users and Groups</title>\n"
              "<meta name=\"description\" content=\"Who owns which files\" >\n"
              "<meta name=\"generator\" content=\"Modular DocBook HTML Stylesheet Version 1.79\" ></HEAD\n"
              "><BODY\n><P\n>Text</P\n></BODY\n></HTML\n>\n");
    EXPECT_EQ(ReadBack(page)["Description"], "Who owns which files");

    const char* argv[] = {"veskaron-meta", "audit", "--format", "jsonl", page.c_str()};
    std::ostringstream out, err;
    veskaron::cli::Main(5, argv, {out, err});
    EXPECT_EQ(out.str().find("no-head"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("title-missing"), std::string::npos) << out.str();
}

TEST(RefusalTexts, AreWordedAsTheWindowShowsThem) {
    EXPECT_EQ(veskaron::RefusalText(veskaron::Refusal::NegativeRefresh),
              "Неверно введено время перезагрузки страницы - тег \"Refresh\".\r\n"
              "Установите значение больше или равное нулю.");
    EXPECT_EQ(veskaron::RefusalText({veskaron::Refusal::UnwritableCharset, "shift_jis"}),
              "Страницу нельзя сохранить в кодировке \"shift_jis\": программа не умеет записывать текст "
              "в этой кодировке. Выберите другую кодировку.");
    EXPECT_EQ(veskaron::RefusalText(veskaron::Refusal::None), "");
}

// Free words of the page and the list's entries, from --set and from a CSV
// row that carries both columns.
TEST_F(WriteCommand, OwnWordsAndListEntries) {
    const std::string page = Put("own.htm", "<html><head><title>T</title>\r\n"
                                            "<meta name=\"robots\" content=\"noindex\">\r\n</head></html>\r\n");
    struct Case { std::vector<std::string> sets; const char* robots; };
    const Case cases[] = {
        {{"Title=New"}, "noindex"},
        {{"Robots=2"}, "all"},
        {{"Robots=4"}, "noindex"},  // the same meaning: the words stand
        {{"RobotsText=noarchive, nosnippet"}, "noarchive, nosnippet"},
        {{"RobotsText="}, nullptr},
        // A row of `read --format csv` with only the index cell changed.
        {{"Robots=3", "RobotsText=noindex"}, "index,nofollow"},
        {{"Robots=4", "RobotsText=noarchive"}, "noarchive"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{page, "--stdout"};
        for (const std::string& s : c.sets) args.insert(args.end(), {"--set", s});
        out_.str("");
        ASSERT_EQ(Run(args), 0) << err_.str();
        const std::string written = out_.str();
        if (!c.robots) {
            EXPECT_EQ(written.find("robots"), std::string::npos) << c.sets.back();
        } else {
            EXPECT_NE(written.find(std::string("<meta name=\"robots\" content=\"") + c.robots + "\" >"),
                      std::string::npos)
                << c.sets.back() << "\n" << written;
        }
    }
}
