#include "engine/page_file.h"


namespace veskaron {

PageText ToDocumentText(std::string bytes) {
    PageText page;
    const bool hasLf = bytes.find('\n') != std::string::npos;
    const bool hasCrLf = bytes.find("\r\n") != std::string::npos;
    if (!hasLf || hasCrLf) {
        page.text = std::move(bytes);
        return page;
    }
    page.ends = LineEnds::Lf;
    std::size_t lfs = 0;
    for (char c : bytes) lfs += c == '\n';
    page.text.reserve(bytes.size() + lfs);
    for (char c : bytes) {
        if (c == '\n') page.text += '\r';
        page.text += c;
    }
    return page;
}

std::string ToFileBytes(std::string_view text, LineEnds ends) {
    if (ends == LineEnds::CrLf) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

long long EditorTextSize(std::string_view text) {
    long long chars = 0, lines = 0;
    bool lineOpen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            ++lines;
            lineOpen = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            ++chars;
            lineOpen = true;
        }
    }
    if (lineOpen) ++lines;
    return chars + 2 * lines;
}

}  // namespace veskaron
