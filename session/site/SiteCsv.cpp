#include "session/site/SiteCsv.h"

#include <sstream>

#include "site/csv.h"
#include "site/csv_edits.h"
#include "site/field_members.h"

namespace veskaron::session {

std::string SiteCsv(const SiteModel& model, const std::vector<int>& rows) {
    std::ostringstream out;
    out << "\xEF\xBB\xBF";
    std::vector<std::string> record;
    for (int c = 0; c < SiteModel::kColumnCount; ++c) record.emplace_back(SiteModel::ColumnName(c));
    site::WriteCsvRecord(out, record);
    for (int row : rows) {
        record.clear();
        for (int c = 0; c < SiteModel::kColumnCount; ++c) {
            if (c == SiteModel::kWorstLevel) {
                const auto worst = site::WorstLevel(model.findings(row));
                record.emplace_back(worst ? std::string(site::LevelName(*worst)) : std::string());
            } else {
                record.push_back(model.text(row, c).toStdString());
            }
        }
        site::WriteCsvRecord(out, record);
    }
    return std::move(out).str();
}

SiteCsvImport ImportSiteCsv(SiteModel& model, std::string_view bytes) {
    SiteCsvImport result;
    const site::CsvEdits parsed = site::ReadCsvEdits(bytes);
    if (!parsed.ok) {
        result.error = QString::fromStdString(parsed.error);
        return result;
    }
    result.ok = true;
    result.note = QString::fromStdString(parsed.note);
    for (const site::CsvEditRow& line : parsed.rows) {
        const QString named = QStringLiteral("%1: %2").arg(line.line).arg(QString::fromStdString(line.path));
        // Not even a page of the table that a link leads out of the folder.
        if (site::LeadsOutside(model.root(), line.path)) {
            result.outsidePaths << named;
            continue;
        }
        std::string relative = site::RelativePath(model.root(), line.path);
        while (relative.starts_with("./")) relative.erase(0, 2);
        const int row = model.rowOfPath(relative);
        if (row < 0) {
            result.unknownPaths << named;
            continue;
        }
        if (!model.page(row).read) {
            result.unreadPages << named;
            continue;
        }
        const auto before = model.edits(row);
        for (const auto& [member, value] : line.values) {
            // A value no page could take is told now, not at the review.
            const std::string error = site::SettingError(member + "=" + value);
            if (!error.empty()) {
                result.badValues << QStringLiteral("%1: %2").arg(line.line).arg(QString::fromStdString(error));
                continue;
            }
            model.setEdit(row, member, value);
        }
        const auto after = model.edits(row);
        int changed = 0;
        for (const auto& edit : after)
            if (std::find(before.begin(), before.end(), edit) == before.end()) ++changed;
        for (const auto& edit : before)
            if (std::none_of(after.begin(), after.end(), [&](const auto& e) { return e.first == edit.first; }))
                ++changed;
        result.edits += changed;
        if (changed > 0) ++result.pages;
    }
    model.refreshDuplicates();
    return result;
}

}  // namespace veskaron::session
