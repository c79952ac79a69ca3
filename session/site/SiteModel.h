#pragma once
// The site table: one row per page of a folder, with the page's head texts,
// their widths, its charset and findings, and the edits typed or imported
// into it until they are written. The duplicates between pages follow the
// texts as edited. The view sorts and filters through SiteFilter.
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "site/report.h"
#include "site/site_scan.h"

namespace veskaron::session {

class SiteModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kPath,
        kTitle,
        kTitleWidth,
        kDescription,
        kDescriptionWidth,
        kKeywords,
        kCanonical,
        kEncoding,
        kIndexing,
        kInbound,
        kDepth,
        kFindings,
        kWorstLevel,
        kColumnCount
    };
    enum Role {
        EditedRole = Qt::UserRole + 1,  // bool: the cell holds an edit
        MarkRole,                        // bool: a finding marks the cell
        PathRole,                        // QString: the page's path
    };
    // The names of the columns in CSV files, as the command line names the members.
    static const char* ColumnName(int column);
    // The member an editable column sets; nullptr for the others.
    static const char* ColumnMember(int column);
    static constexpr const char* kIndexable = "index:yes";
    static constexpr const char* kNotIndexable = "index:no";

    explicit SiteModel(QObject* parent = nullptr);

    // An empty table of the pages under `root`.
    void reset(const std::string& root);
    const std::string& root() const { return root_; }
    // Rows in the order given; the duplicates are counted again by refreshDuplicates().
    void appendRows(std::vector<site::SiteRow> rows);
    // A page read again (after a save): its row shows it, without edits.
    void replaceRow(site::SiteRow row);
    void refreshDuplicates();
    // The same in three steps, so that the long middle one can run on
    // another thread: the texts as they are now, the duplicates among them,
    // and taking those in. revision() tells whether the texts changed since.
    struct DuplicateTexts {
        std::vector<std::string> titles, descriptions, paths;
    };
    DuplicateTexts duplicateTexts() const;
    static std::vector<std::vector<site::Finding>> FindDuplicates(const DuplicateTexts& texts);
    void takeDuplicates(std::vector<std::vector<site::Finding>> found);
    std::uint64_t revision() const { return revision_; }

    // What the links between the pages say of one page, in the rows' order:
    // its findings, the pages linking to it and its clicks from the start
    // page (-1 out of reach).
    struct LinkFacts {
        std::vector<site::Finding> findings;
        int inbound = 0;
        int depth = -1;
    };
    void takeLinks(std::vector<LinkFacts> facts);

    int rowOfPath(const std::string& relative) const;  // -1 when absent
    const site::SiteRow& page(int row) const { return rows_[static_cast<std::size_t>(row)].scan; }
    // The page's findings: its own (with those of the edited texts) and the duplicates.
    std::vector<site::Finding> findings(int row) const;

    // Sets a member (UTF-8) as an edit of a page; a value equal to the
    // page's own is no edit. False for an unread page.
    bool setEdit(int row, const std::string& member, const std::string& value);
    int editedPages() const { return editedPages_; }
    std::vector<std::pair<std::string, std::string>> edits(int row) const;
    void dropEdits();
    void dropEdits(int row);
    // Every edited page and its "Member=VALUE" assignments.
    struct PageEdits {
        std::string path;
        std::string relative;
        std::vector<std::string> assignments;
    };
    std::vector<PageEdits> pendingEdits() const;

    // For the filter: `lowerText` is matched in any column, ignoring case;
    // `code` empty for any page, "*" for a page with any finding, kIndexable
    // or kNotIndexable for the pages the robot may or may not index.
    bool matches(int row, const QString& lowerText, const QString& code) const;
    bool lessThan(int left, int right, int column) const;
    // The codes found, each with the number of pages that have it, in code order.
    std::vector<std::pair<QString, int>> codeCounts() const;
    int pagesWithFindings() const;
    // The pages read that the robot may index, and those it may not.
    std::pair<int, int> indexingCounts() const;
    // What the overview and the report take of a row: its shown widths and
    // indexability, and, counted in place, its findings.
    site::PageFacts facts(int row) const;
    void countRow(int row, site::SiteCounter& counter) const;
    // The shown text of a cell (the CSV's value).
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    void editsChanged();
    // The findings of some pages changed (a duplicate came or went, a new page).
    void findingsChanged();

private:
    struct Row {
        site::SiteRow scan;
        std::vector<std::pair<std::string, std::string>> edits;  // member -> value, by member
        QString path, title, description, keywords, canonical;   // as shown: edited or the page's
        std::size_t titlePx = 0, descriptionPx = 0;
        std::vector<site::Finding> own;         // the page's, the edited texts' in place of theirs
        std::vector<site::Finding> duplicates;  // between pages
        std::vector<site::Finding> links;       // of the links between pages
        int inbound = -1, depth = -1;           // -1: not known (yet), or out of reach
        int worst = 0;                          // 0 none, 1 info, 2 warning, 3 error
    };
    static Row MakeRow(site::SiteRow scan);
    bool showRow(Row& row);
    static void rankRow(Row& row);
    const std::string* editOf(const Row& row, const char* member) const;
    bool cellMarked(const Row& row, int column, QString* tooltip) const;

    std::string root_;
    std::deque<Row> rows_;  // grows without moving the rows it has
    std::unordered_map<std::string, int> byPath_;  // relative path -> row
    int editedPages_ = 0;
    std::uint64_t revision_ = 0;  // counts changes of the rows and their texts
};

// Sorting and filtering over SiteModel by its rows, without a QVariant per comparison.
class SiteFilter final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit SiteFilter(QObject* parent = nullptr);
    void setSiteModel(SiteModel* model);
    void setText(const QString& text);
    void setCode(const QString& code);
    const QString& code() const { return code_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    SiteModel* model_ = nullptr;
    QString text_;
    QString code_;
};

}  // namespace veskaron::session
