#include "session/site/SiteModel.h"
#include "messages/qt_text.h"

#include <algorithm>
#include <map>

#include "engine/serp.h"
#include "engine/text_width.h"
#include "messages/window_texts.h"

namespace veskaron::session {
namespace {

constexpr const char* kColumnNames[] = {"Path",     "Title",     "TitleWidth", "Description", "DescriptionWidth",
                                        "Keywords", "Canonical", "Encoding",   "IndexabilityReason", "Inbound", "Depth", "Findings", "WorstLevel"};
static_assert(std::size(kColumnNames) == SiteModel::kColumnCount);

// Stays valid as long as the program: a finding's code is a view.
constexpr std::string_view kReadError = "read-error";

int Rank(site::Level level) {
    switch (level) {
        case site::Level::Error: return 3;
        case site::Level::Warning: return 2;
        case site::Level::Info: return 1;
    }
    return 0;
}

QString LevelText(int rank) {
    switch (rank) {
        case 3: return msg::site::kLevelError;
        case 2: return msg::site::kLevelWarning;
        case 1: return msg::site::kLevelInfo;
    }
    return {};
}

// One line in a cell: line breaks of a description show as spaces.
QString OneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

// A line editor gives back a text without its line breaks: that is no edit.
bool SameBarLineBreaks(const std::string& page, const std::string& typed) {
    if (page == typed) return true;
    if (page.find_first_of("\r\n") == std::string::npos) return false;
    return OneLine(FromUtf8(page)) == OneLine(FromUtf8(typed)) || FromUtf8(page).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')) ==
                                                        FromUtf8(typed).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

// Tooltips are rich text when they look like it; page texts and messages
// with "<title>" must show as written.
QString PlainTip(const QString& text) {
    if (text.isEmpty()) return {};
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// Which column a finding marks.
int ColumnOfCode(std::string_view code) {
    if (code == "title-width") return SiteModel::kTitleWidth;
    if (code == "description-width") return SiteModel::kDescriptionWidth;
    if (code.starts_with("title-")) return SiteModel::kTitle;
    if (code.starts_with("description-")) return SiteModel::kDescription;
    if (code.starts_with("canonical-")) return SiteModel::kCanonical;
    if (code.starts_with("charset-")) return SiteModel::kEncoding;
    if (code == "no-head" || code == kReadError) return SiteModel::kPath;
    if (code == "orphan") return SiteModel::kInbound;
    if (code == "depth") return SiteModel::kDepth;
    return -1;
}

template <typename T>
int Compare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

const char* SiteModel::ColumnName(int column) {
    return column >= 0 && column < kColumnCount ? kColumnNames[column] : "";
}

const char* SiteModel::ColumnMember(int column) {
    switch (column) {
        case kTitle: return "Title";
        case kDescription: return "Description";
        case kKeywords: return "Keywords";
        case kCanonical: return "Canonical";
    }
    return nullptr;
}

SiteModel::SiteModel(QObject* parent) : QAbstractTableModel(parent) {}

void SiteModel::reset(const std::string& root) {
    beginResetModel();
    root_ = root;
    rows_.clear();
    byPath_.clear();
    editedPages_ = 0;
    ++revision_;
    endResetModel();
    Q_EMIT editsChanged();
}

SiteModel::Row SiteModel::MakeRow(site::SiteRow scan) {
    Row row;
    row.scan = std::move(scan);
    if (!row.scan.read) row.scan.findings = {{site::Level::Error, kReadError, row.scan.error}};
    row.path = FromUtf8(row.scan.relative);
    return row;
}

const std::string* SiteModel::editOf(const Row& row, const char* member) const {
    for (const auto& [name, value] : row.edits)
        if (name == member) return &value;
    return nullptr;
}

// The shown texts, widths and own findings of a row from its page and its
// edits; true when the codes of its findings changed.
bool SiteModel::showRow(Row& row) {
    std::vector<std::string_view> codesBefore;
    for (const site::Finding& f : row.own) codesBefore.push_back(f.code);
    const site::SiteRow& s = row.scan;
    const std::string* title = editOf(row, "Title");
    const std::string* description = editOf(row, "Description");
    const std::string* keywords = editOf(row, "Keywords");
    const std::string* canonical = editOf(row, "Canonical");
    row.title = FromUtf8(title ? *title : s.title);
    row.description = FromUtf8(description ? *description : s.description);
    row.keywords = FromUtf8(keywords ? *keywords : s.keywords);
    row.canonical = FromUtf8(canonical ? *canonical : s.canonical);
    row.titlePx = title ? TextWidthPx(*title, kDesktopSerp.titleSizePx) : s.titlePx;
    row.descriptionPx = description ? TextWidthPx(*description, kDesktopSerp.descriptionSizePx) : s.descriptionPx;
    row.own.clear();
    for (const site::Finding& f : s.findings) {
        if (title && site::IsTextFieldCode(site::TextField::Title, f.code)) continue;
        if (description && site::IsTextFieldCode(site::TextField::Description, f.code)) continue;
        if (canonical && site::IsTextFieldCode(site::TextField::Canonical, f.code)) continue;
        row.own.push_back(f);
    }
    if (title)
        for (site::Finding& f : site::TextFindings(site::TextField::Title, *title)) row.own.push_back(std::move(f));
    if (description)
        for (site::Finding& f : site::TextFindings(site::TextField::Description, *description))
            row.own.push_back(std::move(f));
    if (canonical)
        for (site::Finding& f : site::TextFindings(site::TextField::Canonical, *canonical))
            row.own.push_back(std::move(f));
    rankRow(row);
    return !std::equal(codesBefore.begin(), codesBefore.end(), row.own.begin(), row.own.end(),
                       [](std::string_view code, const site::Finding& f) { return code == f.code; });
}

void SiteModel::rankRow(Row& row) {
    row.worst = 0;
    for (const site::Finding& f : row.own) row.worst = std::max(row.worst, Rank(f.level));
    for (const site::Finding& f : row.duplicates) row.worst = std::max(row.worst, Rank(f.level));
    for (const site::Finding& f : row.links) row.worst = std::max(row.worst, Rank(f.level));
}

void SiteModel::appendRows(std::vector<site::SiteRow> rows) {
    if (rows.empty()) return;
    ++revision_;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (site::SiteRow& scan : rows) {
        byPath_.emplace(scan.relative, static_cast<int>(rows_.size()));
        rows_.push_back(MakeRow(std::move(scan)));
        showRow(rows_.back());
    }
    endInsertRows();
}

void SiteModel::replaceRow(site::SiteRow scan) {
    const int at = rowOfPath(scan.relative);
    if (at < 0) {
        std::vector<site::SiteRow> one;
        one.push_back(std::move(scan));
        appendRows(std::move(one));
        return;
    }
    ++revision_;
    Row& row = rows_[static_cast<std::size_t>(at)];
    const bool hadEdits = !row.edits.empty();
    Row fresh = MakeRow(std::move(scan));
    fresh.duplicates = std::move(row.duplicates);
    fresh.links = std::move(row.links);
    fresh.inbound = row.inbound;
    fresh.depth = row.depth;
    showRow(fresh);
    row = std::move(fresh);
    if (hadEdits) --editedPages_;
    Q_EMIT dataChanged(index(at, 0), index(at, kColumnCount - 1));
    if (hadEdits) Q_EMIT editsChanged();
}

void SiteModel::refreshDuplicates() { takeDuplicates(FindDuplicates(duplicateTexts())); }

SiteModel::DuplicateTexts SiteModel::duplicateTexts() const {
    DuplicateTexts texts;
    texts.titles.resize(rows_.size());
    texts.descriptions.resize(rows_.size());
    texts.paths.resize(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        // Only pages that were read take part.
        if (r.scan.read) {
            const std::string* t = editOf(r, "Title");
            const std::string* d = editOf(r, "Description");
            texts.titles[i] = t ? *t : r.scan.title;
            texts.descriptions[i] = d ? *d : r.scan.description;
        }
        texts.paths[i] = r.scan.relative;
    }
    return texts;
}

std::vector<std::vector<site::Finding>> SiteModel::FindDuplicates(const DuplicateTexts& texts) {
    const std::vector<std::string_view> titles(texts.titles.begin(), texts.titles.end());
    const std::vector<std::string_view> descriptions(texts.descriptions.begin(), texts.descriptions.end());
    return site::DuplicateFindings(titles, descriptions, texts.paths);
}

void SiteModel::takeDuplicates(std::vector<std::vector<site::Finding>> found) {
    if (found.size() != rows_.size()) return;
    auto same = [](const site::Finding& a, const site::Finding& b) { return a.code == b.code && a.message == b.message; };
    std::vector<int> changed;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        Row& r = rows_[i];
        if (std::equal(r.duplicates.begin(), r.duplicates.end(), found[i].begin(), found[i].end(), same)) continue;
        r.duplicates = std::move(found[i]);
        rankRow(r);
        changed.push_back(static_cast<int>(i));
    }
    if (changed.empty()) return;
    // A few rows one by one (a sorted view moves just those); many as one range.
    if (changed.size() <= 64) {
        for (int at : changed) Q_EMIT dataChanged(index(at, 0), index(at, kColumnCount - 1));
    } else {
        Q_EMIT dataChanged(index(changed.front(), 0), index(changed.back(), kColumnCount - 1));
    }
    Q_EMIT findingsChanged();
}

void SiteModel::takeLinks(std::vector<LinkFacts> facts) {
    if (facts.size() != rows_.size() || rows_.empty()) return;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        Row& r = rows_[i];
        r.links = std::move(facts[i].findings);
        r.inbound = facts[i].inbound;
        r.depth = facts[i].depth;
        rankRow(r);
    }
    Q_EMIT dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, kColumnCount - 1));
    Q_EMIT findingsChanged();
}

int SiteModel::rowOfPath(const std::string& relative) const {
    const auto it = byPath_.find(relative);
    return it == byPath_.end() ? -1 : it->second;
}

std::vector<site::Finding> SiteModel::findings(int row) const {
    const Row& r = rows_[static_cast<std::size_t>(row)];
    std::vector<site::Finding> all = r.own;
    all.insert(all.end(), r.duplicates.begin(), r.duplicates.end());
    all.insert(all.end(), r.links.begin(), r.links.end());
    return all;
}

bool SiteModel::setEdit(int at, const std::string& member, const std::string& value) {
    if (at < 0 || at >= static_cast<int>(rows_.size())) return false;
    Row& row = rows_[static_cast<std::size_t>(at)];
    if (!row.scan.read) return false;
    const bool wasEdited = !row.edits.empty();
    std::string own;
    bool known = true;
    if (member == "Title") own = row.scan.title;
    else if (member == "Description") own = row.scan.description;
    else if (member == "Keywords") own = row.scan.keywords;
    else if (member == "Canonical") own = row.scan.canonical;
    else known = false;  // a member without a column: the review shows what it does
    auto it = std::find_if(row.edits.begin(), row.edits.end(), [&](const auto& e) { return e.first == member; });
    const std::string* shown = it != row.edits.end() ? &it->second : (known ? &own : nullptr);
    if (shown && *shown == value) return true;
    if (known && SameBarLineBreaks(own, value)) {
        if (it == row.edits.end()) return true;
        row.edits.erase(it);
    } else if (it != row.edits.end()) {
        it->second = value;
    } else {
        row.edits.emplace_back(member, value);
        std::sort(row.edits.begin(), row.edits.end());
    }
    const bool findings = showRow(row);
    ++revision_;
    const bool isEdited = !row.edits.empty();
    editedPages_ += int(isEdited) - int(wasEdited);
    Q_EMIT dataChanged(index(at, 0), index(at, kColumnCount - 1));
    Q_EMIT editsChanged();
    if (findings) Q_EMIT findingsChanged();
    return true;
}

std::vector<std::pair<std::string, std::string>> SiteModel::edits(int row) const {
    return rows_[static_cast<std::size_t>(row)].edits;
}

void SiteModel::dropEdits(int at) {
    Row& row = rows_[static_cast<std::size_t>(at)];
    if (row.edits.empty()) return;
    row.edits.clear();
    const bool findings = showRow(row);
    ++revision_;
    --editedPages_;
    Q_EMIT dataChanged(index(at, 0), index(at, kColumnCount - 1));
    Q_EMIT editsChanged();
    if (findings) Q_EMIT findingsChanged();
}

void SiteModel::dropEdits() {
    if (editedPages_ == 0) return;
    bool findings = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        Row& row = rows_[i];
        if (row.edits.empty()) continue;
        row.edits.clear();
        findings = showRow(row) || findings;
        const int at = static_cast<int>(i);
        Q_EMIT dataChanged(index(at, 0), index(at, kColumnCount - 1));
    }
    editedPages_ = 0;
    ++revision_;
    refreshDuplicates();
    Q_EMIT editsChanged();
    if (findings) Q_EMIT findingsChanged();
}

std::vector<SiteModel::PageEdits> SiteModel::pendingEdits() const {
    std::vector<PageEdits> all;
    for (const Row& row : rows_) {
        if (row.edits.empty()) continue;
        PageEdits page{row.scan.path, row.scan.relative, {}};
        for (const auto& [member, value] : row.edits) page.assignments.push_back(member + "=" + value);
        all.push_back(std::move(page));
    }
    return all;
}

QString SiteModel::text(int at, int column) const {
    const Row& r = rows_[static_cast<std::size_t>(at)];
    const bool read = r.scan.read;
    switch (column) {
        case kPath: return r.path;
        case kTitle: return r.title;
        case kTitleWidth: return read ? QString::number(r.titlePx) : QString();
        case kDescription: return r.description;
        case kDescriptionWidth: return read ? QString::number(r.descriptionPx) : QString();
        case kKeywords: return r.keywords;
        case kCanonical: return r.canonical;
        case kEncoding: return FromUtf8(r.scan.encoding);
        case kIndexing: return read ? msg::site::IndexingText(r.scan.indexable, r.scan.indexReason) : QString();
        case kInbound: return r.inbound >= 0 ? QString::number(r.inbound) : QString();
        case kDepth: return r.depth >= 0 ? QString::number(r.depth) : QString();
        case kFindings: return QString::number(r.own.size() + r.duplicates.size() + r.links.size());
        case kWorstLevel: return LevelText(r.worst);
    }
    return {};
}

bool SiteModel::matches(int at, const QString& lowerText, const QString& code) const {
    const Row& r = rows_[static_cast<std::size_t>(at)];
    if (code == QLatin1String("*")) {
        if (r.own.empty() && r.duplicates.empty() && r.links.empty()) return false;
    } else if (code == QLatin1String(kIndexable) || code == QLatin1String(kNotIndexable)) {
        if (!r.scan.read || r.scan.indexable != (code == QLatin1String(kIndexable))) return false;
    } else if (!code.isEmpty()) {
        const std::string wanted = code.toStdString();
        auto has = [&](const std::vector<site::Finding>& list) {
            return std::any_of(list.begin(), list.end(), [&](const site::Finding& f) { return f.code == wanted; });
        };
        if (!has(r.own) && !has(r.duplicates) && !has(r.links)) return false;
    }
    if (lowerText.isEmpty()) return true;
    for (int column = 0; column < kColumnCount; ++column)
        if (text(at, column).contains(lowerText, Qt::CaseInsensitive)) return true;
    return false;
}

bool SiteModel::lessThan(int left, int right, int column) const {
    const Row& a = rows_[static_cast<std::size_t>(left)];
    const Row& b = rows_[static_cast<std::size_t>(right)];
    int c = 0;
    switch (column) {
        case kTitleWidth: c = Compare(a.titlePx, b.titlePx); break;
        case kDescriptionWidth: c = Compare(a.descriptionPx, b.descriptionPx); break;
        case kFindings:
            c = Compare(a.own.size() + a.duplicates.size() + a.links.size(), b.own.size() + b.duplicates.size() + b.links.size());
            break;
        // Out of reach sorts after every depth.
        case kInbound: c = Compare(a.inbound, b.inbound); break;
        case kDepth: c = Compare(static_cast<unsigned>(a.depth), static_cast<unsigned>(b.depth)); break;
        case kWorstLevel: c = Compare(a.worst, b.worst); break;
        case kEncoding: c = a.scan.encoding.compare(b.scan.encoding); break;
        case kIndexing: c = a.scan.indexable != b.scan.indexable ? (a.scan.indexable ? 1 : -1)
                                                                 : a.scan.indexReason.compare(b.scan.indexReason);
            break;
        case kPath: c = a.path.compare(b.path); break;
        case kTitle: c = a.title.compare(b.title, Qt::CaseInsensitive); break;
        case kDescription: c = a.description.compare(b.description, Qt::CaseInsensitive); break;
        case kKeywords: c = a.keywords.compare(b.keywords, Qt::CaseInsensitive); break;
        case kCanonical: c = a.canonical.compare(b.canonical, Qt::CaseInsensitive); break;
    }
    // Equal cells keep the pages in the order they were read (the folder's order).
    return c != 0 ? c < 0 : left < right;
}

std::vector<std::pair<QString, int>> SiteModel::codeCounts() const {
    std::map<std::string_view, int> counts;
    for (const Row& r : rows_) {
        std::vector<std::string_view> codes;
        for (const auto* list : {&r.own, &r.duplicates, &r.links})
            for (const site::Finding& f : *list)
                if (std::find(codes.begin(), codes.end(), f.code) == codes.end()) codes.push_back(f.code);
        for (std::string_view code : codes) ++counts[code];
    }
    std::vector<std::pair<QString, int>> list;
    for (const auto& [code, n] : counts)
        list.emplace_back(QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size())), n);
    return list;
}

std::pair<int, int> SiteModel::indexingCounts() const {
    std::pair<int, int> counts{0, 0};
    for (const Row& r : rows_) {
        if (!r.scan.read) continue;
        (r.scan.indexable ? counts.first : counts.second) += 1;
    }
    return counts;
}

site::PageFacts SiteModel::facts(int at) const {
    const Row& r = rows_[static_cast<std::size_t>(at)];
    site::PageFacts f;
    f.kind = r.scan.read ? site::PageFacts::Kind::Page : site::PageFacts::Kind::Unread;
    f.titlePx = r.titlePx;
    f.descriptionPx = r.descriptionPx;
    f.indexable = r.scan.indexable;
    f.reason = site::KnownReason(r.scan.indexReason);
    return f;
}

void SiteModel::countRow(int at, site::SiteCounter& counter) const {
    const Row& r = rows_[static_cast<std::size_t>(at)];
    counter.Add(facts(at), {&r.own, &r.duplicates, &r.links});
}

int SiteModel::pagesWithFindings() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return !r.own.empty() || !r.duplicates.empty() || !r.links.empty(); }));
}

bool SiteModel::cellMarked(const Row& row, int column, QString* tooltip) const {
    bool marked = false;
    QStringList messages;
    for (const auto* list : {&row.own, &row.duplicates, &row.links})
        for (const site::Finding& f : *list) {
            if (ColumnOfCode(f.code) != column && !(column == kFindings || column == kWorstLevel)) continue;
            if (column != kFindings && column != kWorstLevel && f.level != site::Level::Info) marked = true;
            messages << FromUtf8(f.message);
        }
    if (tooltip) *tooltip = messages.join(QLatin1Char('\n'));
    return marked;
}

int SiteModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SiteModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant SiteModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const Row& r = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    const char* member = ColumnMember(column);
    switch (role) {
        case Qt::DisplayRole: return OneLine(text(index.row(), column));
        case Qt::EditRole: return text(index.row(), column);
        case Qt::AccessibleTextRole: return OneLine(text(index.row(), column));
        case Qt::TextAlignmentRole:
            if (column == kTitleWidth || column == kDescriptionWidth || column == kFindings || column == kInbound ||
                column == kDepth)
                return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            return {};
        case Qt::ToolTipRole: {
            QString tip;
            cellMarked(r, column, &tip);
            if (member) {
                if (const std::string* edited = editOf(r, member)) {
                    (void)edited;
                    const std::string& own = column == kTitle         ? r.scan.title
                                             : column == kDescription ? r.scan.description
                                             : column == kKeywords    ? r.scan.keywords
                                                                      : r.scan.canonical;
                    const QString was = msg::site::kEditedWas.arg(own.empty() ? msg::site::kEmptyValue : FromUtf8(own));
                    tip = tip.isEmpty() ? was : was + QLatin1Char('\n') + tip;
                }
            }
            if (column == kPath) tip = tip.isEmpty() ? FromUtf8(r.scan.path) : FromUtf8(r.scan.path) + QLatin1Char('\n') + tip;
            if (column == kIndexing && !r.scan.indexDetail.empty()) tip = FromUtf8(r.scan.indexDetail);
            return PlainTip(tip);
        }
        case EditedRole:
            if (member) return editOf(r, member) != nullptr;
            return column == kPath && !r.edits.empty();
        case MarkRole: return cellMarked(r, column, nullptr);
        case PathRole: return FromUtf8(r.scan.path);
    }
    return {};
}

QVariant SiteModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return msg::site::kColumns.value(section);
    return {};
}

Qt::ItemFlags SiteModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (ColumnMember(index.column()) && rows_[static_cast<std::size_t>(index.row())].scan.read)
        f |= Qt::ItemIsEditable;
    return f;
}

bool SiteModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const char* member = ColumnMember(index.column());
    if (!member) return false;
    if (!setEdit(index.row(), member, value.toString().toStdString())) return false;
    refreshDuplicates();
    return true;
}

// ---- The filter ----

SiteFilter::SiteFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

void SiteFilter::setSiteModel(SiteModel* model) {
    model_ = model;
    setSourceModel(model);
}

void SiteFilter::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    // One new layout rather than a removal per gap: with a hundred thousand
    // rows the gaps would cost more than sorting them all again.
    invalidate();
}

void SiteFilter::setCode(const QString& code) {
    if (code == code_) return;
    code_ = code;
    invalidate();
}

bool SiteFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return !model_ || model_->matches(sourceRow, text_, code_);
}

bool SiteFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (!model_) return QSortFilterProxyModel::lessThan(left, right);
    return model_->lessThan(left.row(), right.row(), left.column());
}

}  // namespace veskaron::session
