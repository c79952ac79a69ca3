#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "site/page_edit.h"

namespace fs = std::filesystem;
using namespace veskaron;
using namespace veskaron::site;

namespace {

// A head the writer did not write: a rewritten block would reorder and respell it.
const std::string kPage =
    "<html><head>\r\n<META NAME=\"keywords\" CONTENT=\"a, b\">\r\n<title>Old</title>\r\n"
    "<meta property=\"og:title\" content=\"OG\">\r\n</head><body>x</body></html>\r\n";

class PageEdit : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("veskaron_page_edit_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        page_ = (dir_ / "a.htm").string();
        Put(kPage);
        load_.now = {{2026, 12, 7}, {10, 0, 0}};
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Put(const std::string& bytes) { std::ofstream(page_, std::ios::binary) << bytes; }
    std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
    std::string page_;
    LoadOptions load_;
    SaveOptions save_;
};

TEST_F(PageEdit, ValuesThePageHasAlreadyAreNoEditAndATagBesideTheBlockIsEditedInPlace) {
    // As read's CSV carries them: today's expiry date while the expiry is off.
    std::vector<std::string> same = {"Title=Old", "Keywords=a, b", "OgTitle=OG", "ExpiriesDate=2020-01-01", "Robots=0"};
    const PlannedEdit plan = PlanEdit(page_, same, load_, save_);
    EXPECT_EQ(plan.status, EditStatus::Unchanged) << plan.error;
    EXPECT_EQ(plan.newBytes, kPage);
    PlanOptions always;  // the command line's --set writes the block in any case
    always.block = BlockRewrite::Always;
    EXPECT_EQ(PlanEdit(page_, same, load_, save_, always).status, EditStatus::Changes);

    same.push_back("OgTitle=New");
    const PlannedEdit og = PlanEdit(page_, same, load_, save_);
    std::string expected = kPage;
    expected.replace(expected.find("\"OG\""), 4, "\"New\"");
    EXPECT_EQ(og.newBytes, expected);
    EXPECT_NE(og.diff.find("-<meta property=\"og:title\" content=\"OG\">\n+<meta property=\"og:title\" content=\"New\">"),
              std::string::npos)
        << og.diff;
}

// A new title or keywords change those tags alone; a tag the page lacks
// (or holds twice) takes the whole block, as a save from the window does.
TEST_F(PageEdit, ChangedTitleAndNameTagsAreWrittenInPlace) {
    const PlannedEdit plan = PlanEdit(page_, {"Title=New \"one\"", "Keywords=x, y"}, load_, save_);
    ASSERT_EQ(plan.status, EditStatus::Changes) << plan.error;
    std::string expected = kPage;
    const std::string old = "<META NAME=\"keywords\" CONTENT=\"a, b\">";
    expected.replace(expected.find(old), old.size(), "<meta name=\"keywords\" content=\"x, y\" >");
    expected.replace(expected.find("Old"), 3, "New \"one\"");
    EXPECT_EQ(plan.newBytes, expected);

    // A tag the page lacks goes where the block would, on a line of its own.
    const PlannedEdit added = PlanEdit(page_, {"Author=Ann"}, load_, save_);
    ASSERT_EQ(added.status, EditStatus::Changes) << added.error;
    expected = kPage;
    expected.insert(expected.find("\r\n<META"), "\r\n<meta name=\"author\" content=\"Ann\" >");
    EXPECT_EQ(added.newBytes, expected);

    // A tag the page repeats takes the whole block.
    Put("<html><head><title>T</title><meta name=\"author\" content=\"Anna\"><meta name=\"author\" content=\"Boris\"></head></html>");
    const PlannedEdit repeated = PlanEdit(page_, {"Author=Clara"}, load_, save_);
    ASSERT_EQ(repeated.status, EditStatus::Changes) << repeated.error;
    EXPECT_EQ(repeated.newBytes, "<html><head><title>T</title>\r\n<meta name=\"author\" content=\"Clara\" ></head></html>");

    // A tag whose quoted value holds the title's start tag goes with the block.
    Put("<html><head><meta name=\"keywords\" content=\"a<title>\"T</title></head></html>");
    const PlannedEdit wrapped = PlanEdit(page_, {"Keywords=b"}, load_, save_);
    ASSERT_EQ(wrapped.status, EditStatus::Changes) << wrapped.error;
    EXPECT_NE(wrapped.newBytes.find("<title>"), std::string::npos) << wrapped.newBytes;

    // So does a tag that an http-equiv key reads too: its content type stays.
    Put("<html><head><meta http-equiv=content-typename=author content=l></head></html>");
    const PlannedEdit twoKeys = PlanEdit(page_, {"Author=Bob"}, load_, save_);
    ASSERT_EQ(twoKeys.status, EditStatus::Changes) << twoKeys.error;
    EXPECT_NE(twoKeys.newBytes.find("<meta http-equiv=\"content-type\" content=\"l\">"), std::string::npos)
        << twoKeys.newBytes;
}

TEST_F(PageEdit, CommitRefusesAPageChangedOnDiskSinceThePlan) {
    save_.backup = true;
    const PlannedEdit plan = PlanEdit(page_, {"OgTitle=New"}, load_, save_);
    ASSERT_EQ(plan.status, EditStatus::Changes);

    const std::string theirs = kPage + "<!-- saved by someone else -->\r\n";
    Put(theirs);
    const CommitResult refused = CommitEdit(plan, save_);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.error, ChangedOnDiskError(page_));
    EXPECT_EQ(Get(page_), theirs);
    EXPECT_FALSE(fs::exists(page_ + ".bak"));

    Put(kPage);
    const CommitResult done = CommitEdit(plan, save_);
    EXPECT_TRUE(done.written) << done.error;
    EXPECT_EQ(Get(page_), plan.newBytes);
    EXPECT_EQ(Get(page_ + ".bak"), kPage);
}

}  // namespace
