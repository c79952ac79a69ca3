// The journal of write runs, history and undo, as a user meets them.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "edits/journal.h"
#include "tests/cli/cli_fixture.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

class Undo : public CliTest {
protected:
    Undo() : CliTest({"undo"}) {}
    void SetUp() override {
        CliTest::SetUp();
        prefix_.clear();
        fs::create_directories(dir_ / "site");
    }

    // Pages in three flavours the undo must give back exactly: Windows-1251
    // with CR LF, UTF-8 with a BOM and LF, and upper-case tags with a bare CR.
    void MakePages(int count) {
        std::string csv = "Path,Title\r\n";
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            std::string bytes;
            if (i % 3 == 0) bytes = "<html>\r\n<head>\r\n<title>\xD1\xF2\xF0 " + n + "</title>\r\n</head>\r\n</html>\r\n";
            else if (i % 3 == 1) bytes = "\xEF\xBB\xBF<html><head><meta charset=\"utf-8\"><title>p" + n + "</title></head>\n</html>\n";
            else bytes = "<HTML><HEAD><TITLE>t" + n + "</TITLE></HEAD>\r<p>x\n";
            pages_.push_back(Put("site/p" + n + ".htm", bytes));
            before_.push_back(bytes);
            csv += "p" + n + ".htm,Новый " + n + "\r\n";
        }
        csv_ = Put("site/edits.csv", csv);
    }

    std::vector<std::string> pages_, before_;
    std::string csv_;
};

TEST_F(Undo, AThousandPageCsvRunComesBackByteForByteExceptAPageEditedSince) {
    MakePages(1000);
    ASSERT_EQ(Run({"write", "--from-csv", csv_}), 0) << err_.str();
    ASSERT_NE(Get(pages_[0]), before_[0]);
    const std::string edited = pages_[500];
    Put("site/p500.htm", "edited by hand");

    ASSERT_EQ(Run({"history"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("1000   veskaron-meta write --from-csv " + csv_), std::string::npos) << out_.str();

    // The dry run shows the way back and writes nothing.
    EXPECT_EQ(Run({"undo", "--dry-run"}), 1);
    EXPECT_NE(out_.str().find("+<HTML><HEAD><TITLE>t2</TITLE></HEAD>"), std::string::npos) << out_.str().substr(0, 2000);
    EXPECT_NE(err_.str().find(edited + ": the page changed"), std::string::npos) << err_.str();
    EXPECT_NE(Get(pages_[0]), before_[0]);

    EXPECT_EQ(Run({"undo", "--batch", "7", "--last"}), 1);
    EXPECT_EQ(err_.str(), edited + ": the page changed after the batch wrote it; it was left as it is\n");
    EXPECT_EQ(out_.str(), "Batch 1: pages: 1000, restored: 999, unchanged: 0, skipped: 1, failed: 0\n");
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (i == 500) continue;
        ASSERT_EQ(Get(pages_[i]), before_[i]) << pages_[i];
    }
    EXPECT_EQ(Get(edited), "edited by hand");

    EXPECT_EQ(Run({"undo", "--batch", "9"}), 2);
    EXPECT_NE(err_.str().find("000009.batch"), std::string::npos);
}

TEST_F(Undo, ARunKilledHalfwayLeavesAJournalThatRestoresTheWrittenPages) {
    MakePages(3000);
    const std::string exe = VESKARON_META_EXE;
    const char* argv[] = {exe.c_str(), "write", "--from-csv", csv_.c_str(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, exe.c_str(), &quiet, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&quiet);
    // Killed once some pages are written, well before the last.
    const std::string folder = (dir_ / "data" / "journal").string();
    for (int wait = 0; wait < 20000; ++wait) {
        const auto batches = veskaron::edits::ListBatches(folder);
        if (!batches.empty() && batches[0].written >= 100) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it was stopped";

    ASSERT_EQ(Run({"history"}), 0);
    EXPECT_NE(out_.str().find("[stopped; "), std::string::npos) << out_.str();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < pages_.size(); ++i) changed += Get(pages_[i]) != before_[i];
    ASSERT_GT(changed, 0u);
    ASSERT_LT(changed, pages_.size());

    EXPECT_EQ(Run({"undo", "--last"}), 0) << err_.str();
    for (std::size_t i = 0; i < pages_.size(); ++i) ASSERT_EQ(Get(pages_[i]), before_[i]) << pages_[i];
}

TEST_F(Undo, OnlyRunsThatWritePagesAreJournaled) {
    MakePages(3);
    ASSERT_EQ(Run({"write", "--from-csv", csv_, "--dry-run"}), 0);
    ASSERT_EQ(Run({"write", pages_[0], "--set", "Title=x", "--stdout"}), 0);
    EXPECT_EQ(Run({"undo"}), 1);
    EXPECT_NE(err_.str().find("holds no batch"), std::string::npos);
    ASSERT_EQ(Run({"write", pages_[0], "--set", "Title=x"}), 0);
    ASSERT_EQ(Run({"write", "--from-csv", csv_}), 0);
    ASSERT_EQ(Run({"write", "--from-csv", csv_}), 0);  // nothing changes: no batch
    ASSERT_EQ(Run({"history"}), 0);
    EXPECT_NE(out_.str().find("\n2 "), std::string::npos);
    EXPECT_EQ(out_.str().find("\n3 "), std::string::npos) << out_.str();
}

}  // namespace
