// The open document without a window: the modified rule over every field,
// the save and charset paths, and the source text's way there and back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/expiry.h"
#include "engine/text_codec.h"
#include "session/document/DocumentSession.h"

using namespace veskaron;
using veskaron::session::DocumentSession;
using veskaron::session::EditMark;
using veskaron::session::Notices;

namespace {

// Windows-1251 bytes of every entry of both pages.
const std::string kPage =
    "<html>\r\n<head>\r\n<title>\xD1\xF2\xF0\xE0\xED\xE8\xF6\xE0</title>\r\n"
    "<meta name=\"author\" content=\"Ivan\">\r\n"
    "<meta name=\"copyright\" content=\"Firm\">\r\n"
    "<meta name=\"description\" content=\"About\">\r\n"
    "<meta name=\"keywords\" content=\"one, two\">\r\n"
    "<meta name=\"robots\" content=\"all\">\r\n"
    "<meta name=\"revisit-after\" content=\"10 days\">\r\n"
    "<meta name=\"distribution\" content=\"global\">\r\n"
    "<meta name=\"generator\" content=\"Pad\">\r\n"
    "<meta name=\"progid\" content=\"Pad.Document\">\r\n"
    "<meta name=\"url\" content=\"http://a.ru/\">\r\n"
    "<meta http-equiv=\"cache-control\" content=\"no-store\">\r\n"
    "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n"
    "<meta http-equiv=\"refresh\" content=\"30; url=next.html\">\r\n"
    "<meta http-equiv=\"expiries\" content=\"Sat, 19 Dec 2026 30:14:05 GMT\">\r\n"
    "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
    "<meta http-equiv=\"content-language\" content=\"ru\">\r\n"
    "<meta http-equiv=\"location\" content=\"http://b.ru/\">\r\n"
    "<meta http-equiv=\"page-enter\" content=\"RevealTrans(Duration=2.0,Transition=12)\">\r\n"
    "</head>\r\n<body>\xD2\xE5\xEA\xF1\xF2</body>\r\n</html>\r\n";

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

struct Session {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("page.html"));
    DocumentSession session;
    std::vector<bool> modifiedSignals;
    Notices failures;

    explicit Session(const std::string& bytes = kPage) {
        WriteFile(path, bytes);
        QObject::connect(&session, &DocumentSession::modifiedChanged,
                         [this](bool m) { modifiedSignals.push_back(m); });
        QObject::connect(&session, &DocumentSession::failed,
                         [this](const Notices& n) { failures += n; });
        EXPECT_TRUE(session.load(path, {}));
    }
    bool Save() { return session.save({}); }
    void Change(const std::function<void(MetaFields&)>& change) {
        MetaFields fields = session.document().fields;
        change(fields);
        session.setFields(fields);
    }
};

struct FieldCase {
    const char* name;
    std::function<void(MetaFields&)> change;
    // False where the page's other values keep the tag out of the file
    // (revisit-after with these robots, the effects that are off).
    bool written = true;
};

void SetExpiry(MetaFields& f, Date date, TimeOfDay time) {
    f.ExpiriesDate = date;
    f.ExpiriesTime = time;
    f.ExpiriesText = FormatExpiryText(date, time).value_or("");
}

std::vector<FieldCase> EveryField() {
    std::vector<FieldCase> cases = {
        {"Title", [](MetaFields& f) { f.Title += "!"; }},
        {"Author", [](MetaFields& f) { f.Author += "!"; }},
        {"Copyright", [](MetaFields& f) { f.Copyright += "!"; }},
        {"Description", [](MetaFields& f) { f.Description += "!"; }},
        {"Keywords", [](MetaFields& f) { f.Keywords += ", three"; }},
        {"Robots", [](MetaFields& f) { f.Robots = f.Robots == 1 ? 2 : 1; }},
        {"RevisitCount", [](MetaFields& f) { f.SetRevisitCount(f.RevisitCount + 1); }, false},
        {"RevisitUnit", [](MetaFields& f) { f.RevisitUnit = f.RevisitUnit == 0 ? 1 : 0; }, false},
        {"Generator", [](MetaFields& f) { f.Generator += "!"; }},
        {"ProgId", [](MetaFields& f) { f.ProgId += "!"; }},
        {"Distribution", [](MetaFields& f) { f.Distribution = f.Distribution == 0 ? 1 : 0; }},
        {"Url", [](MetaFields& f) { f.Url += "x"; }},
        {"CacheControl", [](MetaFields& f) { f.CacheControl = f.CacheControl == 0 ? 1 : 0; }},
        {"Pragma", [](MetaFields& f) { f.Pragma = -1; }},
        {"RefreshOn", [](MetaFields& f) { f.RefreshOn = !f.RefreshOn; }},
        {"RefreshSeconds", [](MetaFields& f) { f.SetRefreshSeconds(f.RefreshSeconds + 1); }},
        {"RefreshUrl", [](MetaFields& f) { f.RefreshUrl += "x"; }},
        {"ExpiriesOn", [](MetaFields& f) { f.ExpiriesOn = !f.ExpiriesOn; }},
        {"ExpiriesDate", [](MetaFields& f) { SetExpiry(f, {2027, 1, 2}, f.ExpiriesTime); }},
        {"ExpiriesTime", [](MetaFields& f) { SetExpiry(f, f.ExpiriesDate, {1, 2, 3}); }},
        {"ContentTypeOn", [](MetaFields& f) { f.ContentTypeOn = !f.ContentTypeOn; }},
        {"ContentType", [](MetaFields& f) { f.ContentType = f.ContentType == 1 ? 2 : 1; }},
        {"Charset", [](MetaFields& f) { f.Charset = kCharsetUtf8; }},
        {"ContentLanguage", [](MetaFields& f) { f.ContentLanguage = f.ContentLanguage == 0 ? 1 : 0; }},
        {"Location", [](MetaFields& f) { f.Location += "x"; }},
    };
    for (int i = 0; i < 4; ++i) {
        cases.push_back({"Transition.On", [i](MetaFields& f) { f.TransitionAt(i).On = !f.TransitionAt(i).On; }});
        cases.push_back({"Transition.Duration", [i](MetaFields& f) {
                             Transition& t = f.TransitionAt(i);
                             t.SetDuration(t.Duration + 1);
                         }, i == 0});
        cases.push_back({"Transition.Effect", [i](MetaFields& f) {
                             Transition& t = f.TransitionAt(i);
                             t.SetEffect(t.Effect == 0 ? 1 : 0);
                         }, i == 0});
    }
    return cases;
}

}  // namespace

// Each field changed marks the document, is saved, and changed back saves
// the page's own bytes again.
TEST(ModifiedRule, EveryFieldChangedAndBack) {
    Session s;
    ASSERT_TRUE(s.failures.isEmpty());
    // Once saved, the file holds the block as the writer lays it out.
    s.Change([](MetaFields& f) { f.Title += "?"; });
    ASSERT_TRUE(s.Save());
    s.Change([](MetaFields& f) { f.Title.pop_back(); });
    ASSERT_TRUE(s.Save());
    const std::string before = ReadFile(s.path);
    const MetaFields original = s.session.document().fields;

    for (const FieldCase& c : EveryField()) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(s.session.isModified());
        s.Change(c.change);
        EXPECT_TRUE(s.session.isModified());
        ASSERT_TRUE(s.Save()) << (s.failures.isEmpty() ? "" : s.failures.back().text.toStdString());
        EXPECT_FALSE(s.session.isModified());
        if (c.written) {
            EXPECT_NE(ReadFile(s.path), before);
        }
        // Changed back: still a change against the saved file.
        s.session.setFields(original);
        EXPECT_TRUE(s.session.isModified());
        ASSERT_TRUE(s.Save());
        EXPECT_EQ(ReadFile(s.path), before);
    }
    EXPECT_TRUE(s.failures.isEmpty());
}

// Once modified, a document stays so until the next snapshot, even when the
// value comes back; blanks around a text and the shown expiry text are no change.
TEST(ModifiedRule, StaysUntilSnapshotAndIgnoresBlanks) {
    Session s;
    s.Change([](MetaFields& f) { f.Author = " " + f.Author + "  "; });
    s.Change([](MetaFields& f) { f.ExpiriesText = "whatever"; });
    EXPECT_FALSE(s.session.isModified());
    s.Change([](MetaFields& f) { f.Pragma = -1; });
    EXPECT_TRUE(s.session.isModified());
    s.Change([](MetaFields& f) { f.Pragma = 0; });
    EXPECT_TRUE(s.session.isModified());
    // The modified signal follows the state: false after the load, then true once.
    EXPECT_EQ(s.modifiedSignals, (std::vector<bool>{false, true}));
    ASSERT_TRUE(s.session.load(s.path, {}));
    EXPECT_FALSE(s.session.isModified());
}

TEST(ModifiedRule, MarksCountWhatComparisonCannotSee) {
    for (EditMark mark : {EditMark::Title, EditMark::Description, EditMark::Keywords, EditMark::Source,
                          EditMark::ContentType, EditMark::Refresh, EditMark::Expiry}) {
        Session s;
        s.session.markEdited(mark);
        EXPECT_TRUE(s.session.isModified()) << static_cast<int>(mark);
    }
}

// A new charset alone is worth a save, and the save writes the page in it.
TEST(SaveCharset, CharsetAloneSavesInThatCharset) {
    Session s;
    s.Change([](MetaFields& f) { f.Charset = kCharsetUtf8; });
    ASSERT_TRUE(s.session.isModified());
    Notices saved;
    QObject::connect(&s.session, &DocumentSession::saved, [&](const Notices& n) { saved = n; });
    ASSERT_TRUE(s.Save());
    const std::string bytes = ReadFile(s.path);
    EXPECT_NE(bytes.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(bytes.find("<body>\xD0\xA2\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82</body>"), std::string::npos);
    EXPECT_TRUE(saved.isEmpty());
    // Loaded again: a UTF-8 page, not modified.
    ASSERT_TRUE(s.session.load(s.path, {}));
    EXPECT_EQ(s.session.document().encoding.name, "utf-8");
    EXPECT_FALSE(s.session.isModified());
}

// A typed character the page's charset cannot hold is written as a
// reference, and the save says so.
TEST(SaveCharset, ReferencesAreReported) {
    Session s;
    Notices saved;
    QObject::connect(&s.session, &DocumentSession::saved, [&](const Notices& n) { saved = n; });
    MetaFields fields = s.session.document().fields;
    fields.Author += "&#8364;";
    s.session.setFields(fields);
    ASSERT_TRUE(s.session.save({}, 1));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.front().kind, session::Notice::Kind::Information);
    EXPECT_TRUE(saved.front().text.endsWith(QStringLiteral("(windows-1251), записано как числовые ссылки вида &#N;: 1.")));
}

// A refused or failed save keeps the document modified and says why.
TEST(SaveCharset, FailuresKeepTheDocumentModified) {
    Session s(kPage.substr(0, kPage.find("<title>")) + "<title>open" + kPage.substr(kPage.find("</title>") + 8));
    s.Change([](MetaFields& f) { f.Author += "!"; });
    EXPECT_FALSE(s.Save());
    EXPECT_TRUE(s.session.isModified());
    ASSERT_EQ(s.failures.size(), 1);
    EXPECT_TRUE(s.failures.front().text.contains(QStringLiteral("</title>")));

    Session gone;
    QFile::remove(gone.path);
    gone.dir.remove();
    gone.Change([](MetaFields& f) { f.Author += "!"; });
    EXPECT_FALSE(gone.Save());
    EXPECT_TRUE(gone.session.isModified());
    EXPECT_EQ(gone.failures.size(), 1);
}

// The source text as a view shows it: line breaks as line feeds, lone CRs
// as line separators; unedited it is never read back, edited it comes back
// byte for byte.
TEST(SourceText, RoundTrip) {
    const std::string page = "<html><head><title>t</title></head>\r\n<body>a\rb\r\nc\xD0</body></html>";
    Session s(page);
    const QString shown = s.session.sourceText();
    EXPECT_FALSE(shown.contains(u'\r'));
    EXPECT_TRUE(shown.contains(QChar::LineSeparator));
    std::optional<QString> edited;
    s.session.setEditedSource([&] { return edited; });
    EXPECT_EQ(s.session.sourceBytes(), page);
    edited = shown;
    EXPECT_EQ(s.session.sourceBytes(), page);
    const std::uint64_t revision = s.session.textRevision();
    ASSERT_TRUE(s.session.insertMetaBlock({}));
    EXPECT_GT(s.session.textRevision(), revision);
    EXPECT_TRUE(s.session.isModified());
    EXPECT_NE(s.session.document().page.text.find("\rb\r\nc\xD0"), std::string::npos);
}

// On a KOI8 page a letter read from the page goes back as the byte it came
// from; only the typed part is the typed character.
TEST(SourceText, Koi8KeepsThePageBytes) {
    const std::string page =
        "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">"
        "<title>t</title></head><body>\xB3\xA3</body></html>";
    Session s(page);
    s.session.sourceText();
    std::optional<QString> edited = s.session.sourceText() + QStringLiteral("!");
    s.session.setEditedSource([&] { return edited; });
    SaveOptions options;
    options.asEdited = true;
    ASSERT_TRUE(s.session.save(options));
    EXPECT_EQ(ReadFile(s.path), page + "!");
}

// The UTF-8 form a large page's view is filled from is the same text.
TEST(SourceText, Utf8FormIsTheSameText) {
    const CodecPtr cp1251 = Windows1251Codec();
    const CodecPtr utf8 = Utf8Codec();
    const struct {
        const CodecPtr& codec;
        std::string bytes;
    } cases[] = {
        {cp1251, "a\r\nb\rc\r\r\nd\xE0\xFF"},
        {cp1251, std::string("a\0b\r\n\r", 6)},
        {utf8, "a\rb\xE2\x80\xA8" "c\r\n"},
        {utf8, "a\xE2\x80\xA8" "b\n\xF0\x9F\x98\x80\xFF\r"},
        {utf8, ""},
    };
    for (const auto& c : cases) {
        const session::ShownSource text = session::ToShownSource(c.bytes, *c.codec);
        const session::ShownSourceUtf8 bytes = session::ToShownSourceUtf8(c.bytes, *c.codec);
        EXPECT_EQ(bytes.utf8, text.text.toUtf8()) << c.bytes;
        EXPECT_EQ(bytes.loneCr, text.loneCr) << c.bytes;
    }
}
