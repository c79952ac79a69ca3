#pragma once
// Loading a page: file statistics, charset detection with the KOI8 conversion,
// and the filling of the fields from the head.
#include <string>
#include <vector>

#include "engine/meta_fields.h"
#include "engine/modified_state.h"
#include "engine/page_file.h"
#include "engine/text_codec.h"

namespace veskaron {

struct LoadOptions {
    std::string modemSpeed = "33600";  // bits per second, as the settings hold it
    DateTime now;                      // today and the time of day for the expiry steps
    char decimalSeparator = '.';       // the user's locale, for transition numbers
};

struct LoadReport {
    bool ok = true;             // false: `error` stopped the load
    std::string error;          // the conversion or file error text
    long long size = 0;
    std::string sizeText;       // "12345 байт"
    std::string downloadTime;   // "2.94 cек."
    int passes = 0;             // scans of the head: 1, or 2 with a known charset
    int converted = 0;          // 3 KOI8-R, 4 KOI8-U, 0 none
    bool refreshUrlEnabled = false;
    std::vector<std::string> warnings;  // reported without stopping the load
};

std::string FormatSizeText(long long size);
// The download time label text; an error text instead when the speed is not a number.
bool FormatDownloadTime(long long size, const std::string& modemSpeed, std::string& text);

// Runs the load over a text already in memory: `text` is converted in place when
// the page is KOI8, and `fields` are filled from the head. Members after a failed
// conversion keep their previous values.
LoadReport LoadDocumentText(std::string& text, MetaFields& fields, const LoadOptions& options);

// The state of the open document.
struct Document {
    std::string path;
    PageText page;
    MetaFields fields;
    RememberedFields snapshot;
    EditMarks marks;
    bool modified = false;
    // How the page's bytes become characters in the windows and back.
    CodecPtr codec = Windows1251Codec();

    void Remember() {
        snapshot = RememberFields(fields);
        marks = {};
        modified = false;
    }
    void Update() { modified = UpdateModifiedState(modified, snapshot, fields, marks); }
};

struct PageLoad {
    bool fileOk = false;
    std::string fileError;  // the file could not be read; the document is unchanged
    LoadReport report;
};
// Reads the file and loads it into `doc`, as selecting it in the file list does.
PageLoad LoadPage(Document& doc, const std::string& path, const LoadOptions& options);

}  // namespace veskaron
