// write --from-csv over a folder that read --format csv described.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "engine/cp1251.h"
#include "site/csv.h"
#include "tests/cli/cli_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string W(std::string_view utf8) { return veskaron::Utf8ToCp1251(utf8).text; }

class CsvEdit : public CliTest {
protected:
    CsvEdit() : CliTest({"csvedit"}) {}
    void SetUp() override {
        CliTest::SetUp();
        prefix_.clear();
        cwd_ = fs::current_path();
        fs::create_directories(dir_ / "site" / "news");
        const char* pages[] = {"a.htm", "b.htm", "news/c.htm"};
        for (int i = 0; i < 3; ++i) {
            paths_.push_back(Put(std::string("site/") + pages[i],
                                 W("<html>\r\n<head>\r\n<title>Страница " + std::to_string(i) +
                                   "</title>\r\n<meta name=\"description\" content=\"Описание страницы " +
                                   std::to_string(i) + "\">\r\n</head>\r\n<body>Текст</body>\r\n</html>\r\n")));
        }
        // The pages as the writer lays out their block, so that one changed field is one changed line.
        std::vector<std::string> write = {"write", "--now", kNow};
        write.insert(write.end(), paths_.begin(), paths_.end());
        EXPECT_EQ(Run(write), 0) << err_.str();
        for (const std::string& p : paths_) {
            before_.push_back(Get(p));
            fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(24));
        }
    }

    // read's CSV of the folder with one cell changed, saved beside the folder.
    std::string CsvWith(const std::string& column, std::size_t row, const std::string& value) {
        EXPECT_EQ(Run({"read", "--now", kNow, "--format", "csv", "-r", "site"}), 0) << err_.str();
        veskaron::site::CsvParse csv = veskaron::site::ParseCsv(out_.str());
        EXPECT_TRUE(csv.ok) << csv.error;
        const auto& header = csv.records.front();
        const auto at = std::find_if(header.begin(), header.end(), [&](const auto& c) { return c.text == column; });
        csv.records.at(row).at(static_cast<std::size_t>(at - header.begin())).text = value;
        std::ostringstream out;
        for (const auto& record : csv.records) {
            std::vector<std::string> cells;
            for (const auto& c : record) cells.push_back(c.text);
            veskaron::site::WriteCsvRecord(out, cells);
        }
        Put("site.csv", std::string(veskaron::site::kUtf8Bom) + out.str());
        return "site.csv";
    }

    void TearDown() override {
        fs::current_path(cwd_);
        CliTest::TearDown();
    }

    static constexpr const char* kNow = "2026-12-07T10:00:00";
    std::vector<std::string> paths_, before_;
    fs::path cwd_;
};

TEST_F(CsvEdit, OneChangedCellChangesOnlyItsBytes) {
    fs::current_path(dir_);  // read names the pages relative to here, as the CSV's folder is
    const std::string csv = CsvWith("Description", 2, "Новое описание");

    ASSERT_EQ(Run({"write", "--from-csv", csv, "--dry-run", "--now", kNow}), 0) << err_.str();
    const std::string diff = out_.str();
    EXPECT_EQ(err_.str(), "Pages: 3, would change: 1, unchanged: 2, failed: 0\n");
    EXPECT_EQ(diff.rfind("--- site/b.htm\n+++ site/b.htm\n", 0), 0u) << diff;
    EXPECT_EQ(std::count(diff.begin(), diff.end(), '@'), 4) << diff;  // one hunk
    EXPECT_NE(diff.find("\n-<meta name=\"description\" content=\"Описание страницы 1\" >\n"
                        "+<meta name=\"description\" content=\"Новое описание\" >\n"),
              std::string::npos)
        << diff;
    for (std::size_t i = 0; i < paths_.size(); ++i) EXPECT_EQ(Get(paths_[i]), before_[i]);

    const auto untouched = fs::last_write_time(paths_[0]);
    ASSERT_EQ(Run({"write", "--from-csv", csv, "--no-backup", "--backup", "--now", kNow}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Pages: 3, saved: 1, failed: 0\n");
    std::string expected = before_[1];
    expected.replace(expected.find(W("Описание страницы 1")), W("Описание страницы 1").size(), W("Новое описание"));
    EXPECT_EQ(Get(paths_[1]), expected);
    EXPECT_EQ(Get(paths_[1] + ".bak"), before_[1]);
    for (std::size_t i : {0u, 2u}) {
        EXPECT_EQ(Get(paths_[i]), before_[i]);
        EXPECT_FALSE(fs::exists(paths_[i] + ".bak"));
    }
    EXPECT_EQ(fs::last_write_time(paths_[0]), untouched);

    // Without a backup, and the page already holds the value: nothing more is written.
    ASSERT_EQ(Run({"write", "--from-csv", csv, "--no-backup", "--now", kNow}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Pages: 3, saved: 0, failed: 0\n");
}

TEST_F(CsvEdit, AValueReadCarriedOverFromThePageBeforeIsNoEdit) {
    fs::current_path(dir_);
    Put("one.htm", "<html><head><title>One</title>\r\n<meta name=\"robots\" content=\"none\">\r\n</head></html>\r\n");
    const std::string two = "<html><head><title>Two</title>\r\n<meta name=\"robots\" content=\"odd\">\r\n</head></html>\r\n";
    Put("two.htm", two);
    ASSERT_EQ(Run({"read", "--now", kNow, "--format", "csv", "one.htm", "two.htm"}), 0) << err_.str();
    const std::string csv = out_.str();
    ASSERT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    Put("carry.csv", csv);
    ASSERT_EQ(Run({"write", "--from-csv", "carry.csv", "--dry-run", "--now", kNow}), 0) << err_.str();
    EXPECT_EQ(err_.str(), "Pages: 2, would change: 0, unchanged: 2, failed: 0\n");

    // An edit of the page writes the values of the page, not those of the one
    // before it: the new title goes in, and the robots tag stays as it was.
    std::string edited = csv;
    edited.replace(edited.find(",Two,"), 5, ",Zwei,");
    Put("carry.csv", edited);
    ASSERT_EQ(Run({"write", "--from-csv", "carry.csv", "--now", kNow}), 0) << err_.str();
    std::string zwei = two;
    zwei.replace(zwei.find("Two"), 3, "Zwei");
    EXPECT_EQ(Get("two.htm"), zwei);
}

TEST_F(CsvEdit, ProblemsAreReportedWithTheirLine) {
    const std::string csv = dir_ / "edits.csv";
    fs::current_path(fs::temp_directory_path());  // paths are taken from the CSV's folder, not from here
    // A value no page takes stops the run before any page is touched.
    Put("edits.csv", "Path,Title,Robots\r\nsite/a.htm,X,0\r\nsite/b.htm,Y,many\r\n");
    EXPECT_EQ(Run({"write", "--from-csv", csv}), 1);
    EXPECT_EQ(err_.str(), csv + ": строка 3: столбец Robots: 'many' is not a valid integer value\n");
    for (std::size_t i = 0; i < paths_.size(); ++i) EXPECT_EQ(Get(paths_[i]), before_[i]);

    // A page that fails is reported; the others are still written.
    Put("edits.csv", "Path,Title,Keywords\r\nsite/a.htm,Новый,\r\nsite/gone.htm,X,\r\n\"site/news/c.htm\",,\"\"\r\n");
    EXPECT_EQ(Run({"write", "--from-csv", csv, "--now", kNow}), 1);
    EXPECT_EQ(out_.str(), "Pages: 3, saved: 1, failed: 1\n");
    EXPECT_EQ(err_.str().rfind(csv + ": строка 3: ", 0), 0u) << err_.str();
    EXPECT_NE(err_.str().find("gone.htm"), std::string::npos);
    EXPECT_NE(Get(paths_[0]).find(W("<title>Новый</title>")), std::string::npos);
    EXPECT_EQ(Get(paths_[2]), before_[2]);  // no keywords to empty: the same bytes
}

// What a spreadsheet in a Russian locale saves is taken, and said so; with
// --base, a row whose page lies outside the folder is refused by name while
// the others are written.
TEST_F(CsvEdit, ASpreadsheetsFileWritesInsideItsBaseOnly) {
    fs::create_directories(dir_ / "out");
    const std::string victim = Put("out/victim.html", "<html><head><title>V</title></head></html>");
    const std::string csv = (dir_ / "edits.csv").string();
    Put("edits.csv", W("Path;Title\r\n../out/victim.html;Взлом\r\n") + W(victim) + W(";Взлом\r\na.htm;Новый\r\n"));
    EXPECT_EQ(Run({"write", "--from-csv", csv, "--base", (dir_ / "site").string(), "--now", kNow}), 1);
    EXPECT_EQ(out_.str(), "Pages: 3, saved: 1, failed: 2\n");
    const std::string err = err_.str();
    EXPECT_EQ(err.rfind(csv + ": Файл CSV прочитан так: разделитель — точка с запятой, кодировка — Windows-1251.\n", 0), 0u)
        << err;
    EXPECT_NE(err.find(csv + ": строка 2: путь «../out/victim.html» ведёт за пределы папки"), std::string::npos) << err;
    EXPECT_NE(err.find(csv + ": строка 3: путь «" + victim + "» ведёт за пределы папки"), std::string::npos) << err;
    EXPECT_EQ(Get(victim), "<html><head><title>V</title></head></html>");
    EXPECT_NE(Get(paths_[0]).find(W("<title>Новый</title>")), std::string::npos);
}

}  // namespace
