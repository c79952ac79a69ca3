#pragma once
// The site table to a CSV file and back: the export writes the table's
// columns (UTF-8 with a byte-order mark, so that spreadsheets show Cyrillic);
// the import turns the cells that differ from the pages into edits.
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

#include "session/site/SiteModel.h"

namespace veskaron::session {

// The rows given (model rows, in the order to write them).
std::string SiteCsv(const SiteModel& model, const std::vector<int>& rows);

struct SiteCsvImport {
    bool ok = false;
    QString error;             // the file is no CSV of the table (nothing was taken)
    QString note;              // how the file was read: its separator and encoding
    int edits = 0;             // cells that became, changed or dropped an edit
    int pages = 0;             // pages with such a cell
    QStringList unknownPaths;  // rows whose page is not in the table
    QStringList outsidePaths;  // rows whose path leads outside the site's folder
    QStringList unreadPages;   // rows of pages that could not be read
    QStringList badValues;     // cells no page could take, with why
};
SiteCsvImport ImportSiteCsv(SiteModel& model, std::string_view bytes);

}  // namespace veskaron::session
