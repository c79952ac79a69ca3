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

class PageEdit : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("veskaron_page_edit_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        load_.now = {{2026, 12, 7}, {10, 0, 0}};
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& bytes) {
        std::ofstream((dir_ / name), std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
    LoadOptions load_;
    SaveOptions save_;
};

// A head the writer did not write: a rewritten block would reorder and respell it.
const std::string kPage =
    "<html><head>\r\n<META NAME=\"keywords\" CONTENT=\"a, b\">\r\n<title>Old</title>\r\n"
    "<meta property=\"og:title\" content=\"OG\">\r\n</head><body>x</body></html>\r\n";

TEST_F(PageEdit, ValuesThePageHasAlreadyAreNoEdit) {
    const std::string page = Put("a.htm", kPage);
    // As read's CSV carries them: today's expiry date while the expiry is off.
    const std::vector<std::string> same = {"Title=Old", "Keywords=a, b", "OgTitle=OG", "ExpiriesDate=2020-01-01",
                                           "ExpiriesOn=0", "Robots=0"};
    const PlannedEdit plan = PlanEdit(page, same, load_, save_);
    EXPECT_EQ(plan.status, EditStatus::Unchanged) << plan.error;
    EXPECT_EQ(plan.newBytes, kPage);
    EXPECT_TRUE(plan.diff.empty());
    // The command line's --set writes the block in any case.
    PlanOptions always;
    always.block = BlockRewrite::Always;
    EXPECT_EQ(PlanEdit(page, same, load_, save_, always).status, EditStatus::Changes);
}

TEST_F(PageEdit, ATagBesideTheCatalogueIsEditedInPlace) {
    const std::string page = Put("a.htm", kPage);
    const PlannedEdit plan = PlanEdit(page, {"Title=Old", "OgTitle=New"}, load_, save_);
    ASSERT_EQ(plan.status, EditStatus::Changes) << plan.error;
    std::string expected = kPage;
    expected.replace(expected.find("\"OG\""), 4, "\"New\"");
    EXPECT_EQ(plan.newBytes, expected);
    EXPECT_EQ(plan.oldBytes, kPage);
    EXPECT_NE(plan.diff.find("-<meta property=\"og:title\" content=\"OG\">\n+<meta property=\"og:title\" content=\"New\">"),
              std::string::npos)
        << plan.diff;
}

TEST_F(PageEdit, CommitRefusesAPageChangedOnDiskSinceThePlan) {
    const std::string page = Put("a.htm", kPage);
    save_.backup = true;
    const PlannedEdit plan = PlanEdit(page, {"OgTitle=New"}, load_, save_);
    ASSERT_EQ(plan.status, EditStatus::Changes);

    const std::string theirs = kPage + "<!-- saved by someone else -->\r\n";
    Put("a.htm", theirs);
    const CommitResult refused = CommitEdit(plan, save_);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.error, ChangedOnDiskError(page));
    EXPECT_EQ(Get(page), theirs);
    EXPECT_FALSE(fs::exists(page + ".bak"));

    Put("a.htm", kPage);
    const CommitResult done = CommitEdit(plan, save_);
    EXPECT_TRUE(done.written) << done.error;
    EXPECT_EQ(Get(page), plan.newBytes);
    EXPECT_EQ(Get(page + ".bak"), kPage);
}

}  // namespace
