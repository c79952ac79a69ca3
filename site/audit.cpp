#include "site/audit.h"

#include <unordered_map>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"
#include "engine/serp.h"
#include "engine/text_codec.h"
#include "engine/translations.h"

namespace veskaron::site {
namespace {

// Pages named in a duplicate finding; more are counted, not listed, so that a
// title shared by thousands of pages does not print millions of names.
constexpr std::size_t kNamedPages = 3;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

// "1 символ", "3 символа", "12 символов".
std::string Characters(std::size_t n) {
    const std::size_t last = n % 10, lastTwo = n % 100;
    const char* word = "символов";
    if (lastTwo < 11 || lastTwo > 14) {
        if (last == 1) word = "символ";
        else if (last >= 2 && last <= 4) word = "символа";
    }
    return std::to_string(n) + " " + word;
}

void CheckLength(PageAudit& a, std::string_view code, std::string_view what, std::size_t n,
                 std::size_t low, std::size_t high) {
    if (n > high)
        a.findings.push_back({Level::Warning, code,
                              std::string(what) + " — " + Characters(n) + ", больше " + std::to_string(high)});
    else if (n < low)
        a.findings.push_back({Level::Warning, code,
                              std::string(what) + " — " + Characters(n) + ", меньше " + std::to_string(low)});
}

// Widths as a desktop search result measures them; the limits say where it cuts.
void CheckTitleWidth(PageAudit& a) {
    const std::size_t px = TextWidthPx(a.title, kDesktopSerp.titleSizePx);
    const std::string limit = std::to_string(kDesktopSerp.titlePx);
    if (px > kDesktopSerp.titlePx)
        a.findings.push_back({Level::Warning, "title-width",
                              "Заголовок шире строки результата поиска: " + std::to_string(px) + " из " + limit + " px"});
    else if (px < kTitleMinPx)
        a.findings.push_back({Level::Info, "title-short",
                              "Заголовок занимает мало места в результате поиска: " + std::to_string(px) +
                                  " px, меньше " + std::to_string(kTitleMinPx) + " px"});
}

void CheckDescriptionWidth(PageAudit& a) {
    const std::size_t px = TextWidthPx(a.description, kDesktopSerp.descriptionSizePx);
    if (px > kDesktopSerp.descriptionPx)
        a.findings.push_back({Level::Warning, "description-width",
                              "Описание длиннее места в результате поиска: " + std::to_string(px) + " из " +
                                  std::to_string(kDesktopSerp.descriptionPx) + " px"});
}

struct Utf8Shape {
    bool nonAscii = false;
    bool valid = true;
};

Utf8Shape ShapeOf(std::string_view bytes) {
    Utf8Shape shape;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        shape.nonAscii = true;
        std::size_t length = 1;
        if (DecodeUtf8At(bytes, i, length) == 0xFFFD && length == 1) {
            shape.valid = false;
            return shape;
        }
        i += length;
    }
    return shape;
}

bool IsCharsetChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

void CheckCharset(PageAudit& a, std::string_view text, std::string_view fileBytes) {
    const std::string declared = DeclaredCharset(text);
    if (declared.empty()) {
        a.findings.push_back({Level::Warning, "charset-missing", "Кодировка страницы не объявлена (charset)"});
        return;
    }
    // Only what the bytes can prove: UTF-8 is checked for validity, and text
    // that is valid UTF-8 beyond ASCII is not in a one-byte charset.
    if (declared.starts_with("utf-16") || declared.starts_with("utf-32") || declared.starts_with("ucs")) return;
    const Utf8Shape shape = ShapeOf(fileBytes);
    std::string problem;
    if (declared == "utf-8" || declared == "utf8") {
        if (!shape.valid) problem = "но текст страницы не в UTF-8";
    } else if (declared == "us-ascii" || declared == "ascii") {
        if (shape.nonAscii) problem = "но в тексте есть символы вне ASCII";
    } else if (shape.nonAscii && shape.valid) {
        problem = "но текст страницы в UTF-8";
    }
    if (!problem.empty())
        a.findings.push_back({Level::Warning, "charset-mismatch", "Объявлена кодировка " + declared + ", " + problem});
}

// The address after "url=" in a refresh content, as written.
std::string RefreshTarget(std::string_view content) {
    const std::size_t at = FindNoCase(content, "url=");
    if (at == std::string_view::npos) return {};
    std::string url = Trim(content.substr(at + 4));
    while (!url.empty() && (url.front() == '\'' || url.front() == '"')) url.erase(0, 1);
    while (!url.empty() && (url.back() == '\'' || url.back() == '"')) url.pop_back();
    return Trim(url);
}

bool ClosesIndexing(std::string_view robots) {
    const std::string lower = LowerAscii(robots);
    std::size_t from = 0;
    while (from < lower.size()) {
        std::size_t end = lower.find_first_of(", ;\t", from);
        if (end == std::string::npos) end = lower.size();
        const std::string_view word = std::string_view(lower).substr(from, end - from);
        if (word == "none" || word == "noindex") return true;
        from = end + 1;
    }
    return false;
}

void AddDuplicates(std::vector<PageAudit>& pages, const std::vector<std::string>& paths,
                   std::string PageAudit::*text, std::string_view code, const std::string& what) {
    std::unordered_map<std::string_view, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (!(pages[i].*text).empty()) groups[pages[i].*text].push_back(i);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if ((pages[i].*text).empty()) continue;
        const std::vector<std::size_t>& group = groups[pages[i].*text];
        if (group.size() < 2) continue;
        std::string message = what + (group.size() == 2 ? " у страницы " : " у страниц ");
        std::size_t named = 0;
        for (std::size_t j = 0; j < group.size() && named < kNamedPages; ++j) {
            if (group[j] == i) continue;
            if (named++ > 0) message += ", ";
            message += paths[group[j]];
        }
        const std::size_t others = group.size() - 1;
        if (others > named) message += " и ещё " + std::to_string(others - named);
        pages[i].findings.push_back({Level::Warning, code, std::move(message)});
    }
}

}  // namespace

std::string_view LevelName(Level level) {
    switch (level) {
        case Level::Error: return "error";
        case Level::Warning: return "warning";
        case Level::Info: return "info";
    }
    return {};
}

std::size_t CountCharacters(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string DeclaredCharset(std::string_view text) {
    const HeadRange range = FindHead(text);
    if (!range.found) return {};
    const std::string_view head = text.substr(range.begin, range.end - range.begin);
    for (std::size_t at = FindNoCase(head, "charset"); at != std::string_view::npos;
         at = FindNoCase(head, "charset", at + 7)) {
        std::size_t i = at + 7;
        while (i < head.size() && IsSpace(head[i])) ++i;
        if (i >= head.size() || head[i] != '=') continue;
        ++i;
        while (i < head.size() && (IsSpace(head[i]) || head[i] == '"' || head[i] == '\'')) ++i;
        std::size_t end = i;
        while (end < head.size() && IsCharsetChar(head[end])) ++end;
        if (end > i) return LowerAscii(head.substr(i, end - i));
    }
    return {};
}

PageAudit AuditPage(const Document& doc, std::string_view fileBytes) {
    return AuditPage(doc, fileBytes, ReadModernHead(doc.page.text, doc.codec.get()));
}

PageAudit AuditPage(const Document& doc, std::string_view fileBytes, const ModernHead& modern) {
    PageAudit a;
    const std::string_view text = doc.page.text;
    const TextCodec& codec = *doc.codec;

    const HeadRange head = FindHead(text);
    const bool hasHead = head.found;
    if (!hasHead) a.findings.push_back({Level::Error, "no-head", "Нет тега <head>: META-тегам негде быть"});

    a.title = Trim(codec.ToUtf8(doc.fields.Title));
    if (a.title.empty()) {
        const bool tagged = FindTitleElement(text, head).found;
        a.findings.push_back({Level::Error, "title-missing",
                              tagged ? "Заголовок <title> пуст" : "Нет заголовка <title>"});
    } else {
        CheckLength(a, "title-length", "Длина заголовка", CountCharacters(a.title), kTitleMin, kTitleMax);
        CheckTitleWidth(a);
    }
    // Without a head the tags below cannot be read; the error above says it all.
    if (!hasHead) return a;

    a.description = Trim(codec.ToUtf8(doc.fields.Description));
    if (a.description.empty()) {
        a.findings.push_back({Level::Warning, "description-missing", "Нет описания (description)"});
    } else {
        CheckLength(a, "description-length", "Длина описания", CountCharacters(a.description), kDescriptionMin,
                    kDescriptionMax);
        CheckDescriptionWidth(a);
    }

    CheckCharset(a, text, fileBytes);

    HeadScanner scanner;
    scanner.Scan(text);
    const std::string refresh = RefreshTarget(scanner.HttpEquivContent("refresh"));
    if (!refresh.empty())
        a.findings.push_back({Level::Info, "redirect", "Перенаправление (refresh) на " + codec.ToUtf8(refresh)});
    const std::string location = Trim(scanner.HttpEquivContent("location"));
    if (!location.empty())
        a.findings.push_back({Level::Info, "redirect", "Перенаправление (location) на " + codec.ToUtf8(location)});
    const std::string robots = scanner.NameContent("robots");
    if (ClosesIndexing(robots))
        a.findings.push_back({Level::Info, "noindex",
                              "Страница закрыта от индексации: robots \"" + codec.ToUtf8(Trim(robots)) + "\""});
    AddModernHeadFindings(a, doc, modern);
    return a;
}

void AddDuplicateFindings(std::vector<PageAudit>& pages, const std::vector<std::string>& paths) {
    AddDuplicates(pages, paths, &PageAudit::title, "title-duplicate", "Такой же заголовок");
    AddDuplicates(pages, paths, &PageAudit::description, "description-duplicate", "Такое же описание");
}

}  // namespace veskaron::site
