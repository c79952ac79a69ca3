#include "engine/loader.h"

#include <cstdio>

#include "engine/catalogue.h"
#include "engine/expiry.h"
#include "engine/file_io.h"
#include "engine/head_scanner.h"
#include "engine/translations.h"

namespace veskaron {
namespace {

// Fills the fields in the fixed order; returns an error text when a number of
// the page cannot be converted (that field and the fields after it are not
// filled, and are named in the report).
std::string FillFields(std::string_view text, HeadScanner& scanner, MetaFields& f,
                       const LoadOptions& options, LoadReport& report) {
    static constexpr int kOrder[] = {kTitle, kAuthor, kCopyright, kDescription, kKeywords, kRobots,
                                     kRevisitAfter, kDistribution, kGenerator, kProgId, kCacheControl,
                                     kPragma, kUrl, kLocation, kExpiries, kRefresh, kContentLanguage,
                                     kPageEnter, kPageExit, kSiteEnter, kSiteExit};
    for (std::size_t step = 0; step < std::size(kOrder); ++step) {
        const int index = kOrder[step];
        const CatalogueEntry& entry = CatalogueAt(index);
        if (index == kExpiries) {
            f.ExpiriesDate = options.now.date;
            f.ExpiriesTime = options.now.time;
            f.ExpiriesText = scanner.HttpEquivContent(entry.key);
            f.ExpiriesOn = !f.ExpiriesText.empty();
            if (f.ExpiriesOn) {
                const ExpiryParse parsed = ParseExpiryText(f.ExpiriesText, options.now);
                if (!parsed.ok) report.warnings.push_back(LoadWarning::DatesNotConverted);
                f.ExpiriesDate = parsed.value.date;
                f.ExpiriesTime = parsed.value.time;
            }
            const auto formatted = FormatExpiryText(f.ExpiriesDate, f.ExpiriesTime);
            if (!formatted) report.warnings.push_back(LoadWarning::DatesNotConverted);
            f.ExpiriesText = formatted.value_or(std::string());
            continue;
        }
        const std::string content = index == kTitle ? FindTitle(text)
                                    : entry.kind == EntryKind::Name ? scanner.NameContent(entry.key)
                                                                    : scanner.HttpEquivContent(entry.key);
        const ReadOutcome r = ReadEntry(index, content, f, options.decimalSeparator, report.kind);
        if (!r.error.empty()) {
            for (std::size_t rest = step; rest < std::size(kOrder); ++rest) report.unread.push_back(kOrder[rest]);
            return r.error;
        }
        if (index == kRefresh) report.refreshUrlEnabled = f.RefreshOn;
    }
    return {};
}

// The page's encoding, decided once per load from the first scan of its bytes.
PageEncoding DetectEncoding(std::string_view text, const HeadScanner& scanner,
                            const MetaFields& fields, bool namesCharset) {
    if (text.starts_with(kUtf8Bom)) return {"utf-8", EncodingSource::Bom, true};
    std::string declared;
    // Every tag of the head counts, the content-type tag that the first look-up
    // took included: the writer keeps a charset attribute of any tag it
    // removes, so a declaration the load passed over would rename the page.
    // Only a tag that holds the word can have a charset attribute.
    scanner.AnyMetaTag(text, [&declared](std::string_view tag, std::string_view lower) {
        if (lower.find("charset") == std::string_view::npos) return false;
        declared = UsableCharset(CharsetAttribute(tag));
        return !declared.empty();
    });
    if (!declared.empty()) return {declared, EncodingSource::MetaCharset, false};
    if (namesCharset) {
        const std::string name = UsableCharset(CharsetNameOf(fields));
        if (!name.empty()) return {name, EncodingSource::ContentType, false};
    }
    if (LooksLikeUtf8(text)) return {"utf-8", EncodingSource::Detected, false};
    return {};
}

}  // namespace

std::optional<unsigned long long> DownloadHundredths(long long size, const std::string& modemSpeed,
                                                     std::string* error) {
    const IntResult speed = ParseContentInt(modemSpeed);
    if (!speed.ok) {
        if (error) *error = speed.error;
        return std::nullopt;
    }
    const long long bps = speed.value < 1 ? 33600 : speed.value;
    // Exact integer arithmetic: no rounding of a double decides a half.
    const unsigned long long bits = static_cast<unsigned long long>(size < 0 ? 0 : size) * 8ULL;
    const unsigned long long speedBps = static_cast<unsigned long long>(bps);
    return (bits * 200ULL + speedBps) / (2ULL * speedBps);
}

LoadReport LoadDocumentText(std::string& text, MetaFields& fields, const LoadOptions& options) {
    LoadReport report;
    // The load first empties the two memos and puts every effect box on its
    // last entry, so a page whose filling stops early shows those.
    fields.Description.clear();
    fields.Keywords.clear();
    for (int i = 0; i < 4; ++i) fields.TransitionAt(i).Effect = 23;
    fields.RefreshOn = false;
    for (std::string& own : fields.OwnText) own.clear();
    report.size = EditorTextSize(text);
    report.downloadHundredths = DownloadHundredths(report.size, options.modemSpeed, &report.error);
    if (!report.downloadHundredths) {
        report.ok = false;
        return report;
    }

    HeadScanner scanner;
    auto scan = [&](bool sameText) {
        ++report.passes;
        // Each pass reads the tags of the text as it stands; an unchanged text
        // gives the same tags again.
        if (sameText) scanner.SplitMetaTags();
        else scanner.Scan(text);
        const std::string contentType = scanner.HttpEquivContent(CatalogueAt(kContentType).key);
        ReadEntry(kContentType, contentType, fields, options.decimalSeparator, report.kind);
        const ContentParts parts = SplitContent(contentType, "charset");
        return parts.outcome == SplitOutcome::Both;
    };
    const bool namesCharset = scan(false);
    const bool knownCharset = namesCharset && fields.Charset >= 1;
    report.encoding = DetectEncoding(text, scanner, fields, namesCharset);
    report.kind = KindForCharset(report.encoding.name);
    if (report.encoding.bom) text.erase(0, kUtf8Bom.size());
    const bool decoded = DecodeText(text, report.encoding.name);
    if (report.encoding.name == "koi8-r") report.converted = kCharsetKoi8R;
    if (report.encoding.name == "koi8-u") report.converted = kCharsetKoi8U;
    // A page with a known charset is read again, from its converted text.
    if (decoded || knownCharset) scan(!decoded && !report.encoding.bom);

    // The refresh address is the one text a page may leave unchanged.
    if (options.fieldsKind != report.kind) {
        fields.RefreshUrl = report.kind == TextKind::Utf8
                                ? Windows1251Codec()->ToUtf8(fields.RefreshUrl)
                                : Windows1251Codec()->FromUtf8(fields.RefreshUrl).bytes;
    }

    const std::string error = FillFields(text, scanner, fields, options, report);
    for (const char* name : {"robots", "googlebot", "yandex", "yandexbot"})
        for (std::string& content : scanner.NameContents(name)) report.robotsTags.emplace_back(name, std::move(content));
    if (!error.empty()) {
        report.ok = false;
        report.error = error;
    }
    return report;
}

void AdoptLoad(Document& doc, const LoadReport& report) {
    doc.encoding = report.encoding;
    doc.kind = report.kind;
    doc.codec = CodecForKind(doc.kind);
    doc.savedCharset = doc.fields.Charset;
    doc.savedCharsetText = doc.fields.CharsetText;
    doc.references = 0;
}

PageLoad LoadPage(Document& doc, const std::string& path, const LoadOptions& options) {
    PageLoad result;
    FileRead file = ReadWholeFile(path);
    if (!file.ok) {
        result.fileError = file.error;
        return result;
    }
    result.fileOk = true;
    result.report = LoadPageBytes(doc, path, std::move(file.bytes), options);
    return result;
}

LoadReport LoadPageBytes(Document& doc, const std::string& path, std::string bytes, const LoadOptions& options) {
    doc.path = path;
    doc.page = ToDocumentText(std::move(bytes));
    LoadOptions withKind = options;
    withKind.fieldsKind = doc.kind;
    LoadReport report = LoadDocumentText(doc.page.text, doc.fields, withKind);
    AdoptLoad(doc, report);
    doc.robotsTags = report.robotsTags;
    report.modernHead = ReadModernHead(doc.page.text, doc.codec.get());
    doc.modern = report.modernHead.fields;
    doc.Remember();
    doc.Update();
    return report;
}

}  // namespace veskaron
