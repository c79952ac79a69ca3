#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "edits/journal.h"
#include "edits/undo.h"
#include "engine/file_io.h"

namespace {

namespace fs = std::filesystem;
using namespace veskaron;
using namespace veskaron::edits;

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("journal-test-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "site");
        folder_ = (root_ / "data" / "journal").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Page(const std::string& name, const std::string& bytes) {
        const std::string path = (root_ / "site" / name).string();
        EXPECT_TRUE(WriteFileAtomically(path, bytes).ok);
        return path;
    }
    static std::string Bytes(const std::string& path) { return ReadWholeFile(path).bytes; }

    // A batch that writes every page as a save would: journaled first, then replaced.
    int Save(const std::vector<std::pair<std::string, std::string>>& pages, bool finish = true) {
        std::vector<std::string> before;
        for (const auto& p : pages) before.push_back(Bytes(p.first));
        std::vector<PageBytes> recorded;
        for (std::size_t i = 0; i < pages.size(); ++i) recorded.push_back({pages[i].first, before[i], pages[i].second});
        std::string error;
        auto batch = JournalBatch::Begin(folder_, "test", 0, {}, error);
        EXPECT_TRUE(batch) << error;
        std::size_t first = 0;
        EXPECT_TRUE(batch->Record(recorded, first, error)) << error;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_TRUE(WriteFileAtomically(pages[i].first, pages[i].second).ok);
            batch->Written(first + i);
        }
        if (finish) batch->Finish();
        return batch->Number();
    }

    fs::path root_;
    std::string folder_;
};

TEST_F(JournalTest, RecordsPagesBytesAndKeepsTheFolderPrivate) {
    // Bytes a text-minded format would lose: a BOM, CR LF and LF, a NUL, high bytes.
    const std::string odd = std::string("\xEF\xBB\xBF<p>\r\n\0\xC0\n", 12);
    const std::string a = Page("a.htm", odd), b = Page("b.htm", "<title>b</title>");
    const int n = Save({{a, "new a"}, {b, std::string(200000, 'x')}});
    struct stat st {};
    ASSERT_EQ(::stat(folder_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const BatchContents batch = ReadBatch(folder_, n);
    ASSERT_TRUE(batch.ok) << batch.error;
    EXPECT_TRUE(batch.problems.empty());
    EXPECT_TRUE(batch.summary.complete);
    EXPECT_EQ(batch.summary.origin, "test");
    ASSERT_EQ(batch.pages.size(), 2u);
    EXPECT_EQ(batch.pages[0].before, odd);
    EXPECT_EQ(batch.pages[1].after, std::string(200000, 'x'));
    EXPECT_TRUE(batch.pages[0].written && batch.pages[1].written);
    // Compressed: the long page takes a small part of its size.
    EXPECT_LT(batch.summary.fileBytes, 10000u);
}

TEST_F(JournalTest, UndoRestoresWrittenPagesAndNamesChangedOnes) {
    const std::string a = Page("a.htm", "old a"), b = Page("b.htm", "old b"), c = Page("c.htm", "old c");
    const int n = Save({{a, "new a"}, {b, "new b"}, {c, "new c"}});
    WriteFileAtomically(b, "edited by hand");
    WriteFileAtomically(c, "old c");  // already back as it was

    const BatchContents batch = ReadBatch(folder_, n);
    const std::vector<UndoItem> plan = PlanUndo(batch);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].action, UndoAction::Restore);
    EXPECT_EQ(plan[1].action, UndoAction::Changed);
    EXPECT_EQ(plan[2].action, UndoAction::AlreadyBefore);
    EXPECT_NE(ReverseDiff(plan[0]).find("-new a\n+old a"), std::string::npos);

    const UndoResult done = CommitUndo(plan, folder_, "undo", {});
    EXPECT_EQ(done.restored, std::vector<std::string>{a});
    ASSERT_EQ(done.skipped.size(), 1u);
    EXPECT_NE(done.skipped[0].find(b), std::string::npos);
    EXPECT_EQ(Bytes(a), "old a");
    EXPECT_EQ(Bytes(b), "edited by hand");
    // The undo is a batch of its own: taking it back writes the batch's bytes again.
    ASSERT_GT(done.batch, n);
    const BatchContents undo = ReadBatch(folder_, done.batch);
    CommitUndo(PlanUndo(undo), folder_, "redo", {});
    EXPECT_EQ(Bytes(a), "new a");
}

TEST_F(JournalTest, AnUnfinishedBatchSaysWhichPagesWereWritten) {
    const std::string a = Page("a.htm", "old a"), b = Page("b.htm", "old b");
    std::string error;
    auto batch = JournalBatch::Begin(folder_, "killed", 0, {}, error);
    const std::string oldA = "old a", newA = "new a", oldB = "old b", newB = "new b";
    const std::vector<PageBytes> pages = {{a, oldA, newA}, {b, oldB, newB}};
    std::size_t first = 0;
    ASSERT_TRUE(batch->Record(pages, first, error));
    WriteFileAtomically(a, newA);
    batch->Written(first);
    batch.reset();  // as if the run stopped here

    const std::vector<BatchSummary> list = ListBatches(folder_);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list[0].complete);
    EXPECT_EQ(list[0].pages, 2u);
    EXPECT_EQ(list[0].written, 1u);
    const BatchContents contents = ReadBatch(folder_, list[0].number);
    const UndoResult done = CommitUndo(PlanUndo(contents), folder_, "undo", {});
    EXPECT_EQ(done.restored, std::vector<std::string>{a});
    EXPECT_TRUE(done.skipped.empty());
    EXPECT_EQ(Bytes(a), "old a");
    EXPECT_EQ(Bytes(b), "old b");
}

TEST_F(JournalTest, CorruptOrCutEntriesAreReportedAndNeverApplied) {
    const std::string a = Page("a.htm", "old a"), b = Page("b.htm", "old b");
    const int n = Save({{a, "new a"}, {b, "new b"}});
    const std::string file = BatchFilePath(folder_, n);
    std::string bytes = Bytes(file);
    // Damage the second page's entry: its path is in the clear.
    const std::size_t at = bytes.find("b.htm");
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'q';
    WriteFileAtomically(file, bytes);
    BatchContents batch = ReadBatch(folder_, n);
    ASSERT_TRUE(batch.ok);
    ASSERT_EQ(batch.pages.size(), 1u);
    EXPECT_EQ(batch.pages[0].path, a);
    ASSERT_EQ(batch.problems.size(), 1u);
    EXPECT_NE(batch.problems[0].find("corrupt"), std::string::npos);

    // Cut in the middle of the last record: the rest still reads.
    WriteFileAtomically(file, bytes.substr(0, bytes.size() - 3));
    batch = ReadBatch(folder_, n);
    ASSERT_TRUE(batch.ok);
    EXPECT_FALSE(batch.summary.complete);
    EXPECT_EQ(batch.pages.size(), 1u);
    EXPECT_NE(batch.problems.back().find("cut short"), std::string::npos);

    WriteFileAtomically(file, "garbage");
    EXPECT_FALSE(ReadBatch(folder_, n).ok);
}

TEST_F(JournalTest, AFullDiskRefusesTheBatchBeforeAnything) {
    JournalOptions options;
    options.freeSpace = [](const std::string&) { return std::uint64_t{1} << 20; };
    std::string error;
    EXPECT_FALSE(JournalBatch::Begin(folder_, "full", 10 << 20, options, error));
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
    EXPECT_NE(error.find(folder_), std::string::npos);
    EXPECT_TRUE(ListBatches(folder_).empty());
}

TEST_F(JournalTest, PrunesOldBatchesByCountAndSizeButKeepsTheNewest) {
    const std::string a = Page("a.htm", "a");
    for (int i = 0; i < 5; ++i) Save({{a, "v" + std::to_string(i)}});
    JournalLimits limits;
    limits.batches = 3;
    PruneJournal(folder_, limits);
    std::vector<BatchSummary> list = ListBatches(folder_);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.front().number, 3);
    limits.bytes = 1;
    PruneJournal(folder_, limits);
    list = ListBatches(folder_);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.front().number, 5);
}

}  // namespace
