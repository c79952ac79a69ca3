#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "engine/text_codec.h"
#include "session/site/SiteCsv.h"
#include "session/site/SiteModel.h"
#include "site/indexability.h"

namespace veskaron::session {
namespace {

using M = SiteModel;

std::string Page(const std::string& title, const std::string& description) {
    return Utf8Codec()->FromUtf8("<html><head><meta charset=\"utf-8\"><title>" + title +
                                 "</title><meta name=\"description\" content=\"" + description +
                                 "\"></head><body></body></html>\n")
        .bytes;
}

const std::string kLongDescription =
    "Описание страницы такой длины, что его хватает для результата поиска без замечаний.";

// A small site: a short title, a long one, and two pages sharing a title.
struct Site {
    QTemporaryDir dir;
    SiteModel model;
    SiteFilter filter;
    Site() {
        const std::pair<const char*, std::string> pages[] = {
            {"a.html", "Коротко"},
            {"b.html", "Очень длинный заголовок страницы, который не поместится в строку результата поиска"},
            {"c.html", "Одинаковый заголовок двух страниц"},
            {"d/e.html", "Одинаковый заголовок двух страниц"},
        };
        QDir(dir.path()).mkpath(QStringLiteral("d"));
        std::vector<site::SiteRow> rows;
        for (const auto& [name, title] : pages) {
            const QString path = dir.filePath(QString::fromUtf8(name));
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(Page(title, kLongDescription)));
            file.close();
            rows.push_back(site::ScanPage(dir.path().toStdString(), path.toStdString(), LoadOptions{}));
        }
        model.reset(dir.path().toStdString());
        model.appendRows(std::move(rows));
        model.refreshDuplicates();
        filter.setSiteModel(&model);
    }
    int Row(const char* relative) const { return model.rowOfPath(relative); }
    QModelIndex Cell(const char* relative, int column) const { return model.index(Row(relative), column); }
    QStringList Shown() const {
        QStringList paths;
        for (int r = 0; r < filter.rowCount(); ++r) paths << filter.index(r, M::kPath).data().toString();
        return paths;
    }
};

TEST(SiteModel, SortsByAnyColumnAndFiltersByTextAndCode) {
    Site site;
    site.filter.sort(M::kTitleWidth, Qt::AscendingOrder);
    EXPECT_EQ(site.Shown(), QStringList({"a.html", "c.html", "d/e.html", "b.html"}));
    site.filter.sort(M::kPath, Qt::DescendingOrder);
    EXPECT_EQ(site.Shown(), QStringList({"d/e.html", "c.html", "b.html", "a.html"}));
    site.filter.sort(M::kFindings, Qt::AscendingOrder);  // equal counts keep path order
    EXPECT_EQ(site.Shown().front(), QStringLiteral("c.html"));

    site.filter.sort(M::kPath, Qt::AscendingOrder);
    site.filter.setText(QStringLiteral("ОДИНАКОВЫЙ"));
    EXPECT_EQ(site.Shown(), QStringList({"c.html", "d/e.html"}));
    site.filter.setText(QStringLiteral("d/"));
    EXPECT_EQ(site.Shown(), QStringList({"d/e.html"}));
    site.filter.setText({});
    site.filter.setCode(QStringLiteral("title-length"));
    EXPECT_EQ(site.Shown(), QStringList({"a.html", "b.html"}));
    site.filter.setCode(QStringLiteral("title-duplicate"));
    EXPECT_EQ(site.Shown(), QStringList({"c.html", "d/e.html"}));

    const auto codes = site.model.codeCounts();
    EXPECT_NE(std::find(codes.begin(), codes.end(), std::pair{QStringLiteral("title-duplicate"), 2}), codes.end());
}

TEST(SiteModel, EditsAreMarkedJudgedAndDropped) {
    Site site;
    QSignalSpy edits(&site.model, &SiteModel::editsChanged);
    const QModelIndex c = site.Cell("c.html", M::kTitle);
    const QModelIndex e = site.Cell("d/e.html", M::kTitle);
    ASSERT_TRUE(c.flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(site.Cell("c.html", M::kTitleWidth).flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(e.data(M::MarkRole).toBool());  // the duplicate
    EXPECT_TRUE(e.data(Qt::ToolTipRole).toString().contains(QStringLiteral("c.html")));

    // A new title ends the duplicate on both pages and is judged as typed.
    const QString longTitle = QString(70, QLatin1Char('W'));
    ASSERT_TRUE(site.model.setData(c, longTitle, Qt::EditRole));
    EXPECT_TRUE(c.data(M::EditedRole).toBool());
    EXPECT_TRUE(site.Cell("c.html", M::kPath).data(M::EditedRole).toBool());
    EXPECT_FALSE(e.data(M::MarkRole).toBool());
    EXPECT_TRUE(c.data(M::MarkRole).toBool());
    EXPECT_TRUE(c.data(Qt::ToolTipRole).toString().contains(QStringLiteral("Одинаковый")));  // the page's own
    EXPECT_GT(site.Cell("c.html", M::kTitleWidth).data().toInt(), 600);
    EXPECT_EQ(site.model.editedPages(), 1);
    ASSERT_EQ(site.model.pendingEdits().size(), 1u);
    EXPECT_EQ(site.model.pendingEdits()[0].assignments, std::vector<std::string>{"Title=" + longTitle.toStdString()});
    EXPECT_GE(edits.count(), 1);

    // Typing the page's own text back is no edit.
    site.model.setData(c, QStringLiteral("Одинаковый заголовок двух страниц"), Qt::EditRole);
    EXPECT_EQ(site.model.editedPages(), 0);
    EXPECT_FALSE(c.data(M::EditedRole).toBool());
    EXPECT_TRUE(e.data(M::MarkRole).toBool());

    site.model.setData(site.Cell("a.html", M::kKeywords), QStringLiteral("камень"), Qt::EditRole);
    site.model.setData(c, QStringLiteral("Другой заголовок страницы"), Qt::EditRole);
    EXPECT_EQ(site.model.editedPages(), 2);
    site.model.dropEdits();
    EXPECT_EQ(site.model.editedPages(), 0);
    EXPECT_TRUE(site.model.pendingEdits().empty());
    EXPECT_EQ(c.data().toString(), QStringLiteral("Одинаковый заголовок двух страниц"));
    EXPECT_TRUE(e.data(M::MarkRole).toBool());
}

// A canonical address is judged as typed: its findings come and go with the edit.
TEST(SiteModel, CanonicalFindingsFollowTheEdit) {
    Site site;
    const int row = site.Row("a.html");
    auto codes = [&] {
        std::vector<std::string> c;
        for (const site::Finding& f : site.model.findings(row))
            if (std::string_view(f.code).starts_with("canonical-")) c.emplace_back(f.code);
        return c;
    };
    EXPECT_EQ(codes(), std::vector<std::string>{"canonical-missing"});
    const QModelIndex cell = site.Cell("a.html", M::kCanonical);
    ASSERT_TRUE(site.model.setData(cell, QStringLiteral("/catalog/"), Qt::EditRole));
    EXPECT_EQ(codes(), std::vector<std::string>{"canonical-relative"});
    EXPECT_TRUE(cell.data(M::MarkRole).toBool());
    site.model.setData(cell, QStringLiteral("https://example.ru/catalog/\"?a=1&b"), Qt::EditRole);
    EXPECT_TRUE(codes().empty());
    EXPECT_FALSE(cell.data(M::MarkRole).toBool());
    site.model.dropEdits();
    EXPECT_EQ(codes(), std::vector<std::string>{"canonical-missing"});
}

// Texts of pages show as written, not as markup.
TEST(SiteModel, TooltipsArePlainText) {
    Site site;
    site.model.setData(site.Cell("a.html", M::kTitle), QString(), Qt::EditRole);
    const QString tip = site.Cell("a.html", M::kTitle).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("&lt;title&gt;"))) << tip.toStdString();
}

TEST(SiteModel, CsvRoundTripMakesExactlyOneEdit) {
    Site site;
    std::vector<int> rows;
    for (int r = 0; r < site.model.rowCount(); ++r) rows.push_back(r);
    std::string csv = SiteCsv(site.model, rows);
    ASSERT_TRUE(csv.starts_with("\xEF\xBB\xBF" "Path,Title,TitleWidth,Description,")) << csv.substr(0, 60);
    const std::string was = "Коротко";
    const std::size_t at = csv.find(was);
    ASSERT_NE(at, std::string::npos);
    csv.replace(at, was.size(), "\"Новый заголовок, с \"\"запятой\"\"\"");  // as a spreadsheet quotes it

    const SiteCsvImport taken = ImportSiteCsv(site.model, csv);
    ASSERT_TRUE(taken.ok) << taken.error.toStdString();
    EXPECT_EQ(taken.edits, 1);
    EXPECT_EQ(taken.pages, 1);
    const auto pending = site.model.pendingEdits();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].relative, "a.html");
    EXPECT_EQ(pending[0].assignments, std::vector<std::string>{"Title=Новый заголовок, с \"запятой\""});

    // The same file again changes nothing; a page the table lacks is named.
    csv += "gone.html,X,,,,,,,,\r\n";
    const SiteCsvImport again = ImportSiteCsv(site.model, csv);
    EXPECT_EQ(again.edits, 0);
    EXPECT_EQ(again.unknownPaths.size(), 1);
    EXPECT_TRUE(again.unknownPaths.front().contains(QStringLiteral("gone.html")));

    // A value no page takes is named with its line and leaves no edit.
    const SiteCsvImport bad = ImportSiteCsv(site.model, "Path,Robots\r\nb.html,sometimes\r\n");
    ASSERT_TRUE(bad.ok) << bad.error.toStdString();
    EXPECT_EQ(bad.edits, 0);
    ASSERT_EQ(bad.badValues.size(), 1);
    EXPECT_TRUE(bad.badValues.front().startsWith(QStringLiteral("2: "))) << bad.badValues.front().toStdString();

    // A Russian spreadsheet's file is taken and said so; a row that leads out
    // of the folder is refused by name, even to a page of the table.
    const std::string spreadsheet =
        Windows1251Codec()->FromUtf8("Path;Title\r\nb.html;Новый\r\n../elsewhere/x.html;X\r\n").bytes;
    const SiteCsvImport outside = ImportSiteCsv(site.model, spreadsheet);
    ASSERT_TRUE(outside.ok) << outside.error.toStdString();
    EXPECT_EQ(outside.note.toStdString(), "Файл CSV прочитан так: разделитель — точка с запятой, кодировка — Windows-1251.");
    EXPECT_EQ(outside.outsidePaths, QStringList{QStringLiteral("3: ../elsewhere/x.html")});
    EXPECT_EQ(outside.edits, 1);
    EXPECT_FALSE(ImportSiteCsv(site.model, "Path,Title\r\na.html\tb,X\r\n").error.isEmpty());
}

// The indexing column follows the site's robots.txt and the robot chosen,
// its tooltip names the deciding line, and the filter takes either side.
TEST(SiteModel, IndexingColumnAndFilter) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("private"));
    auto put = [&dir](const char* name, const std::string& bytes) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(bytes));
    };
    put("robots.txt", "User-agent: Yandex\nDisallow: /private/\n");
    put("a.html", Page("Первая страница сайта", kLongDescription));
    put("private/b.html", Page("Закрытая страница сайта", kLongDescription));
    for (const Robot robot : {Robot::Google, Robot::Yandex}) {
        const site::SiteIndexing indexing = site::LoadSiteIndexing(dir.path().toStdString(), {}, robot);
        std::vector<site::SiteRow> rows;
        for (const char* name : {"a.html", "private/b.html"})
            rows.push_back(site::ScanPage(dir.path().toStdString(), dir.filePath(QString::fromUtf8(name)).toStdString(),
                                          LoadOptions{}, &indexing));
        SiteModel model;
        model.reset(dir.path().toStdString());
        model.appendRows(std::move(rows));
        SiteFilter filter;
        filter.setSiteModel(&model);
        const int b = model.rowOfPath("private/b.html");
        const bool closed = robot == Robot::Yandex;
        EXPECT_EQ(model.index(b, M::kIndexing).data().toString(),
                  closed ? QStringLiteral("нет: robots.txt") : QStringLiteral("да"));
        EXPECT_EQ(model.index(b, M::kIndexing).data(Qt::ToolTipRole).toString().contains(QStringLiteral("robots.txt:2")),
                  closed);
        filter.setCode(QString::fromLatin1(M::kNotIndexable));
        EXPECT_EQ(filter.rowCount(), closed ? 1 : 0);
        filter.setCode(QString::fromLatin1(M::kIndexable));
        EXPECT_EQ(filter.rowCount(), closed ? 1 : 2);
        EXPECT_EQ(model.indexingCounts(), (std::pair<int, int>{closed ? 1 : 2, closed ? 1 : 0}));
    }
}

}  // namespace
}  // namespace veskaron::session
