#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/save.h"

using namespace veskaron;
namespace fs = std::filesystem;

namespace {

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/veskaron-save-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
        return names;
    }
    static mode_t Mode(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }

    Document Load(const std::string& path) {
        Document doc;
        doc.fields = FreshFields({{2026, 1, 2}, {3, 4, 5}});
        const PageLoad load = LoadPage(doc, path, {});
        EXPECT_TRUE(load.fileOk) << load.fileError;
        EXPECT_TRUE(load.report.ok) << load.report.error;
        return doc;
    }

    std::string dir_;
};

std::string AllBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c) s += static_cast<char>(c);
    return s;
}

std::string Page(const std::string& charset, const std::string& eol, const std::string& body) {
    return "<html>" + eol + "<head>" + eol +
           "<meta http-equiv=\"content-type\" content=\"text/html; charset=" + charset + "\">" + eol +
           "<title>T</title>" + eol + "</head>" + eol + "<body>" + body + "</body>" + eol + "</html>" + eol;
}

}  // namespace

TEST(PreviewFileName, FolderAndExtensionOfThePage) {
    const std::pair<std::string, std::string> cases[] = {
        {"/site/index.html", "/site/metatmp.html"},
        {"/site/page.shtml", "/site/metatmp.shtml"},
        {"/site/README", "/site/metatmp"},
        {"/site.v2/index", "/site.v2/metatmp"},
        {"/a/b.c.htm", "/a/metatmp.htm"},
        {"index.htm", "metatmp.htm"},
    };
    for (const auto& [page, preview] : cases) {
        EXPECT_EQ(PreviewFileName(page), preview) << page;
        EXPECT_TRUE(IsPreviewFileName(preview.substr(preview.rfind('/') + 1))) << preview;
    }
    for (const char* page : {"metatmp2.html", "my-metatmp.html", "metatmp.html.bak", "Metatmp.html", "index.html"})
        EXPECT_FALSE(IsPreviewFileName(page)) << page;
    EXPECT_EQ(BackupFileName("/site/index.html"), "/site/index.html.bak");
}

TEST_F(SaveTest, ReplaceKeepsPermissionsAndBackup) {
    struct Case {
        mode_t mode;
        bool backup;
        bool oldBackup;
    } cases[] = {{0640, false, false}, {0755, true, false}, {0600, true, true}, {0644, false, true}};
    for (const auto& c : cases) {
        const std::string page = Path("index.html"), bak = page + ".bak";
        fs::remove(bak);
        Put(page, "old page");
        ::chmod(page.c_str(), c.mode);
        if (c.oldBackup) Put(bak, "older backup");

        const FileStatus r = ReplaceFileBytes(page, "new page", c.backup);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(Get(page), "new page");
        EXPECT_EQ(Mode(page), c.mode);
        if (c.backup) {
            EXPECT_EQ(Get(bak), "old page");
        } else if (c.oldBackup) {
            EXPECT_EQ(Get(bak), "older backup");
        }
        std::set<std::string> expected = {"index.html"};
        if (c.backup || c.oldBackup) expected.insert("index.html.bak");
        EXPECT_EQ(Listing(), expected);
    }
}

TEST_F(SaveTest, NewFileAndSymbolicLink) {
    const mode_t old = ::umask(022);
    ASSERT_TRUE(ReplaceFileBytes(Path("new.htm"), "x", true).ok);
    ::umask(old);
    EXPECT_EQ(Get(Path("new.htm")), "x");
    EXPECT_EQ(Mode(Path("new.htm")), 0644u);
    EXPECT_FALSE(fs::exists(Path("new.htm.bak")));

    Put(Path("real.htm"), "real");
    fs::create_symlink("real.htm", Path("link.htm"));
    ASSERT_TRUE(ReplaceFileBytes(Path("link.htm"), "through", false).ok);
    EXPECT_TRUE(fs::is_symlink(Path("link.htm")));
    EXPECT_EQ(Get(Path("real.htm")), "through");
}

// The write fails at a chosen byte: the child process gets a file size limit,
// which stops root as well.
TEST_F(SaveTest, InjectedWriteFailuresNeverLoseThePage) {
    const std::string page = Path("page.htm"), bak = page + ".bak";
    const std::string oldBytes = "old bytes of the page\r\n";
    std::string newBytes(3u << 20, 'n');  // several write calls
    const rlim_t size = newBytes.size();
    struct Case {
        rlim_t limit;
        bool backup;
        bool ok;
    } cases[] = {{0, false, false},        {0, true, false},        {size / 2, false, false},
                 {size / 2, true, false},  {size - 1, false, false}, {size - 1, true, false},
                 {size, true, true}};
    for (const auto& c : cases) {
        fs::remove(page);
        Put(page, oldBytes);
        ::chmod(page.c_str(), 0640);
        Put(bak, "older backup");
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit rl {c.limit, c.limit};
            ::setrlimit(RLIMIT_FSIZE, &rl);
            const FileStatus r = ReplaceFileBytes(page, newBytes, c.backup);
            const bool named = r.error.find(page) != std::string::npos &&
                               r.error.find("File too large") != std::string::npos;
            ::_exit(r.ok ? 0 : (named ? 1 : 2));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.ok ? 0 : 1) << c.limit;
        EXPECT_EQ(Get(page), c.ok ? newBytes : oldBytes) << c.limit;
        EXPECT_EQ(Get(bak), c.ok ? oldBytes : "older backup") << c.limit;
        EXPECT_EQ(Mode(page), 0640u);
        EXPECT_EQ(Listing(), (std::set<std::string>{"page.htm", "page.htm.bak"})) << c.limit;
    }
}

TEST_F(SaveTest, UnwritableTargetsReportTheFileAndTheCause) {
    Put(Path("plain"), "a regular file");
    Put(Path("page.htm"), "page");
    Put(Path("readonly.htm"), "kept");
    ::chmod(Path("readonly.htm").c_str(), 0444);
    fs::create_directory(Path("page.htm.bak"));
    fs::create_directory(Path("folder.htm"));
    struct Case {
        std::string path;
        bool backup;
        const char* cause;
    } cases[] = {
        {Path("plain/page.htm"), false, "Not a directory"},
        {Path("missing/page.htm"), false, "No such file or directory"},
        {Path("folder.htm"), false, "Is a directory"},
        {Path("readonly.htm"), true, "Permission denied"},
    };
    for (const auto& c : cases) {
        const FileStatus r = ReplaceFileBytes(c.path, "new", c.backup);
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_NE(r.error.find("Cannot create file"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(c.cause), std::string::npos) << r.error;
    }
    EXPECT_EQ(Get(Path("readonly.htm")), "kept");
    EXPECT_EQ(Mode(Path("readonly.htm")), 0444u);
    const std::set<std::string> listing = {"plain", "page.htm", "page.htm.bak", "folder.htm",
                                           "readonly.htm"};
    EXPECT_EQ(Listing(), listing);

    // A backup that cannot be made (it cannot replace a folder) does not stop
    // the write; the reason comes back as a warning.
    std::string problem;
    const FileStatus r = ReplaceFileBytes(Path("page.htm"), "new", true, &problem);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_NE(problem.find(Path("page.htm.bak")), std::string::npos) << problem;
    EXPECT_NE(problem.find("Is a directory"), std::string::npos) << problem;
    EXPECT_EQ(Get(Path("page.htm")), "new");
    EXPECT_TRUE(fs::is_directory(Path("page.htm.bak")));
    EXPECT_EQ(Listing(), listing);
}

TEST_F(SaveTest, WritablePageInAReadOnlyFolderIsWrittenInPlace) {
    // Folder permissions do not hold for root: the save runs as another user then.
    ::chmod(dir_.c_str(), 0755);
    const std::string folder = Path("ro"), page = folder + "/page.htm";
    fs::create_directory(folder);
    Put(page, "old page, longer than the new one");
    ::chmod(page.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        std::string problem;
        const FileStatus r = ReplaceFileBytes(page, "new", true, &problem);
        const bool told = problem.find(page + ".bak") != std::string::npos &&
                          problem.find("Permission denied") != std::string::npos;
        ::_exit(r.ok ? (told ? 0 : 2) : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::chmod(folder.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Get(page), "new");
    EXPECT_EQ(Mode(page), 0666u);
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "page.htm");
}

TEST_F(SaveTest, LoadAndSaveAsEditedKeepsTheBytes) {
    const std::string body = "\xCF\xF0\xE8\xE2\xE5\xF2 " + AllBytes();
    const std::pair<const char*, std::string> cases[] = {
        {"crlf", Page("windows-1251", "\r\n", "text")},
        {"lf only", Page("windows-1251", "\n", "text")},
        {"windows-1251 bytes", Page("windows-1251", "\r\n", body)},
        {"no charset, lf only", "<html>\n<head>\n</head>\n<body>x\xFF</body>\n"},
        {"koi8-r", Page("koi8-r", "\r\n", body)},
        {"koi8-u lf only", Page("koi8-u", "\n", body)},
        {"no line end at all", "<head></head>"},
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = Path("page.htm");
        Put(path, bytes);
        Document doc = Load(path);
        doc.fields.Title = "changed but not applied";
        SaveOptions o;
        o.asEdited = true;
        const SaveResult r = SaveDocument(doc, o);
        EXPECT_TRUE(r.saved) << name << r.error;
        EXPECT_EQ(Get(path), bytes) << name;
        EXPECT_FALSE(doc.modified);
    }
}

TEST_F(SaveTest, SaveWritesTheFieldsInThePagesCharsetAndLineEnds) {
    struct Case {
        const char* name;
        std::string page;
        std::string expected;
    } cases[] = {
        {"koi8-r", Page("koi8-r", "\r\n", "\xF0"),
         "<html>\r\n<head><title>\xF0\xD2\xC9\xD7\xC5\xD4</title>\r\n"
         "<meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">\r\n"
         "</head>\r\n<body>\xF0</body>\r\n</html>\r\n"},
        {"lf only", Page("windows-1251", "\n", "b"),
         "<html>\n<head><title>\xCF\xF0\xE8\xE2\xE5\xF2</title>\n"
         "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\n"
         "</head>\n<body>b</body>\n</html>\n"},
    };
    for (const auto& c : cases) {
        const std::string path = Path("page.htm");
        Put(path, c.page);
        Document doc = Load(path);
        doc.fields.Title = "\xCF\xF0\xE8\xE2\xE5\xF2";
        doc.marks.titleEdited = true;
        doc.Update();
        ASSERT_TRUE(doc.modified);
        const SaveResult r = SaveDocument(doc, {});
        EXPECT_TRUE(r.saved) << r.error;
        EXPECT_EQ(Get(path), c.expected) << c.name;
        EXPECT_FALSE(doc.modified);
        // The editor keeps Windows-1251 with CR LF.
        EXPECT_NE(doc.page.text.find("<title>\xCF\xF0\xE8\xE2\xE5\xF2</title>\r\n"), std::string::npos);
    }
}

TEST_F(SaveTest, RefusedOrFailedSaveLeavesTheDocumentModified) {
    const std::string path = Path("page.htm");
    const std::string bytes = Page("windows-1251", "\r\n", "x");
    Put(path, bytes);

    // A refused save writes nothing: not the page, not its backup.
    const std::string noHead = "<html><title>T</title><body>x</body></html>";
    const std::string noHeadPath = Path("nohead.htm");
    Put(noHeadPath, noHead);
    Put(path + ".bak", "older");
    Put(noHeadPath + ".bak", "older");
    SaveOptions withBackup;
    withBackup.backup = true;
    struct Case {
        std::string path;
        void (*change)(MetaFields&);
        Refusal refusal;
    } refusals[] = {
        {path, [](MetaFields& f) { f.RefreshOn = true; f.RefreshSeconds = -1; }, Refusal::NegativeRefresh},
        {noHeadPath, [](MetaFields&) {}, Refusal::NoHead},
    };
    for (const Case& c : refusals) {
        Document doc = Load(c.path);
        c.change(doc.fields);
        doc.fields.Author = "Somebody";
        const std::string text = doc.page.text;
        const SaveResult r = SaveDocument(doc, withBackup);
        EXPECT_EQ(r.refusal.code, c.refusal);
        EXPECT_FALSE(r.written);
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.page.text, text);
        EXPECT_EQ(Get(c.path), c.path == path ? bytes : noHead);
        EXPECT_EQ(Get(c.path + ".bak"), "older");
    }
    SaveResult r;

    Document other = Load(path);
    other.fields.Author = "Somebody";
    other.path = Path("gone/page.htm");
    r = SaveDocument(other, {});
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.saved);
    EXPECT_NE(r.error.find(other.path), std::string::npos);
    EXPECT_TRUE(other.modified);
}

TEST_F(SaveTest, SaveWithBackupKeepsThePageAsItWas) {
    const std::string path = Path("index.html");
    const std::string bytes = Page("koi8-r", "\n", "\xC1");
    Put(path, bytes);
    Put(path + ".bak", "older");
    Document doc = Load(path);
    SaveOptions o;
    o.backup = true;
    ASSERT_TRUE(SaveDocument(doc, o).saved);
    EXPECT_EQ(Get(path + ".bak"), bytes);
}

TEST_F(SaveTest, PreviewLeavesTheDocumentAlone) {
    const std::string path = Path("page.shtml");
    Put(path, Page("koi8-r", "\r\n", "b"));
    Document doc = Load(path);
    doc.fields.Title = "\xCF\xF0\xE8\xE2\xE5\xF2";
    doc.marks.titleEdited = true;
    doc.Update();
    const Document before = doc;

    std::vector<std::string> opened;
    const PreviewResult r = WritePreview(doc, {}, [&](const std::string& p) { opened.push_back(p); });
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(r.path, Path("metatmp.shtml"));
    EXPECT_EQ(opened, std::vector<std::string>{r.path});
    EXPECT_NE(Get(r.path).find("<title>\xF0\xD2\xC9\xD7\xC5\xD4</title>"), std::string::npos);
    EXPECT_EQ(doc.page.text, before.page.text);
    EXPECT_EQ(doc.modified, before.modified);
    EXPECT_EQ(doc.fields, before.fields);
    EXPECT_EQ(Get(path), Page("koi8-r", "\r\n", "b"));

    // A refusal still previews the page, without the block; no opener is fine.
    doc.fields.ContentType = 0;
    const PreviewResult refused = WritePreview(doc, {}, nullptr);
    EXPECT_EQ(refused.refusal.code, Refusal::EmptyContentType);
    EXPECT_TRUE(refused.written);
    EXPECT_EQ(Get(refused.path), Page("koi8-r", "\r\n", "b"));
}

// The preview must never be written over the page it shows.
TEST_F(SaveTest, PreviewNeverReplacesThePage) {
    const std::string bytes = Page("windows-1251", "\r\n", "b");
    Put(Path("metatmp.htm"), bytes);
    Put(Path("index.htm"), bytes);
    fs::create_directory(Path("sub"));
    fs::create_symlink("../index.htm", Path("sub/metatmp.htm"));
    for (const std::string& page : {Path("metatmp.htm"), Path("sub/index.htm")}) {
        if (page == Path("sub/index.htm")) fs::create_symlink("../index.htm", page);
        Document doc = Load(page);
        doc.fields.Author = "Someone";
        bool opened = false;
        const PreviewResult r = WritePreview(doc, {}, [&](const std::string&) { opened = true; });
        EXPECT_FALSE(r.written) << page;
        EXPECT_FALSE(opened);
        EXPECT_NE(r.error.find("Cannot create file"), std::string::npos) << r.error;
    }
    EXPECT_EQ(Get(Path("metatmp.htm")), bytes);
    EXPECT_EQ(Get(Path("index.htm")), bytes);
}

TEST_F(SaveTest, LargePageSavesInLinearTime) {
    std::string body;
    while (body.size() < (10u << 20)) body += "<p>\xCF\xF0\xE8\xE2\xE5\xF2 text</p>\n";
    const std::string path = Path("big.htm");
    Put(path, Page("koi8-r", "\n", body));
    Document doc = Load(path);
    doc.fields.Author = "Someone";
    const auto start = std::chrono::steady_clock::now();
    SaveOptions o;
    o.backup = true;
    ASSERT_TRUE(SaveDocument(doc, o).saved);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 3000);
}
