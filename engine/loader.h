#pragma once
// Loading a page: file statistics, charset detection with the KOI8 conversion,
// and the filling of the fields from the head.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/encoding.h"
#include "engine/meta_fields.h"
#include "engine/modern_head.h"
#include "engine/modified_state.h"
#include "engine/page_file.h"
#include "engine/text_codec.h"

namespace veskaron {

struct LoadOptions {
    std::string modemSpeed = "33600";  // bits per second, as the settings hold it
    DateTime now;                      // today and the time of day for the expiry steps
    char decimalSeparator = '.';       // the user's locale, for transition numbers
    // The text kind of the fields before the load (the previous page's): a
    // text the page leaves unchanged is carried over into the new page's kind.
    TextKind fieldsKind = TextKind::Cp1251;
};

// What a load reports without stopping.
enum class LoadWarning {
    DatesNotConverted,  // the expiry date could not be read or written
};

struct LoadReport {
    bool ok = true;             // false: `error` stopped the load
    std::string error;          // the conversion or file error text
    long long size = 0;
    // The download time at the modem speed, in hundredths of a second; empty
    // when the speed was not a number.
    std::optional<unsigned long long> downloadHundredths;
    int passes = 0;             // scans of the head: 1, or 2 with a known charset
    int converted = 0;          // 3 KOI8-R, 4 KOI8-U, 0 none
    PageEncoding encoding;      // the page's charset and where it was found
    TextKind kind = TextKind::Cp1251;  // how the text is held from now on
    bool refreshUrlEnabled = false;
    std::vector<LoadWarning> warnings;
    // The catalogue entries a stopped load did not fill, in the order it fills them.
    std::vector<int> unread;
    // Every robots tag of the head ("robots", "googlebot", "yandex",
    // "yandexbot"): its name and content, in that order of names.
    std::vector<std::pair<std::string, std::string>> robotsTags;
    // The head tags beside the catalogue as the load read them, the
    // structured data parsed through the page's codec (LoadPage and
    // LoadPageBytes fill it): what shows or audits them needs no second reading.
    ModernHead modernHead;
};

// The download time of `size` bytes at the modem speed (bit/s, a decimal
// number; below 1 taken as 33600), in hundredths of a second, halves rounded
// up; empty with the reason in `error` when the speed is not a number.
std::optional<unsigned long long> DownloadHundredths(long long size, const std::string& modemSpeed,
                                                     std::string* error = nullptr);

// Runs the load over a text already in memory. The page's encoding is found
// once (a UTF-8 byte-order mark, a <meta charset>, the content-type charset,
// valid multi-byte UTF-8, else Windows-1251); `text` loses its byte-order mark,
// and is converted in place when the page is KOI8 (to Windows-1251) or in
// another charset than UTF-8 and Windows-1251 (to UTF-8). `fields` are then
// filled from the head. Members after a failed conversion keep their previous values.
LoadReport LoadDocumentText(std::string& text, MetaFields& fields, const LoadOptions& options);

// The state of the open document.
struct Document {
    std::string path;
    PageText page;
    MetaFields fields;
    MetaFields snapshot;  // RememberFields of the fields
    // The fields as the page had them when it was read or last saved: a save
    // that leaves every catalogued entry so keeps the page's block as it stands.
    MetaFields savedFields;
    // The head tags beside the catalogue, as the page had them when it was
    // read or last saved, and as edited since; a save edits those that differ.
    ModernFields modern;
    ModernFields modernSnapshot;
    // The robots tags as the page had them when it was read (LoadReport::robotsTags).
    std::vector<std::pair<std::string, std::string>> robotsTags;
    EditMarks marks;
    bool modified = false;
    // How the page's bytes become characters in the windows and back.
    CodecPtr codec = Windows1251Codec();
    TextKind kind = TextKind::Cp1251;  // matches `codec`
    PageEncoding encoding;             // the file's charset; a save writes it
    // The charset box as the file last had it: a save converts to another
    // charset only when the user chose one since.
    int savedCharset = -1;
    std::string savedCharsetText;
    // Characters that callers wrote into the text as "&#N;" since the last
    // save, because the text's encoding cannot hold them; a save reports them.
    std::size_t references = 0;

    void Remember() {
        snapshot = RememberFields(fields);
        savedFields = fields;
        modernSnapshot = modern;
        marks = {};
        modified = false;
    }
    // Whether anything differs from the last load or save: the fields, the
    // edits the comparison cannot see, or the head tags beside the catalogue.
    bool Differs() const { return DiffersFromSnapshot(snapshot, fields, marks) || modern != modernSnapshot; }
    void Update() { modified = modified || Differs(); }
};

// Takes over what a load found about the text: its encoding, kind and codec,
// and the charset box as the file has it.
void AdoptLoad(Document& doc, const LoadReport& report);

struct PageLoad {
    bool fileOk = false;
    std::string fileError;  // the file could not be read; the document is unchanged
    LoadReport report;
};
// Reads the file and loads it into `doc`, as selecting it in the file list does.
PageLoad LoadPage(Document& doc, const std::string& path, const LoadOptions& options);
// The same for the file's bytes read already (a caller that keeps them to
// compare with the file later).
LoadReport LoadPageBytes(Document& doc, const std::string& path, std::string bytes, const LoadOptions& options);

}  // namespace veskaron
