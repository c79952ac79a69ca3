#include "engine/page_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

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

PageFileRead ReadPageFile(const std::string& path) {
    PageFileRead r;
    auto fail = [&r, &path](int err) {
        r.error = "Cannot read \"" + path + "\": " + std::strerror(err);
        r.bytes.clear();
        return r;
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return fail(errno);
    if (S_ISDIR(st.st_mode)) return fail(EISDIR);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return fail(errno);
    if (S_ISREG(st.st_mode) && st.st_size > 0) r.bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) r.bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) return fail(err ? err : EIO);
    r.ok = true;
    return r;
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
