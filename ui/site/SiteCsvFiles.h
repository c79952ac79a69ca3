#pragma once
// The site window's CSV files: the table written to a file as it shows the
// pages (filtered and sorted), and a file's values taken into the table as
// edits, with a report of what the file held that the table could not take.
// The files are read and written off the window's thread.
#include "engine/file_io.h"

namespace veskaron::session {
class SiteFilter;
}

namespace veskaron::ui {

class SiteWindow;

class SiteCsvFiles final {
public:
    SiteCsvFiles(SiteWindow& window, session::SiteFilter& filter);

    void exportCsv();
    void importCsv();

private:
    void takeCsv(const FileRead& read);

    SiteWindow& window_;
    session::SiteFilter& filter_;
};

}  // namespace veskaron::ui
