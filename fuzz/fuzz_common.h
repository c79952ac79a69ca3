#pragma once
// Shared by the fuzz targets: loading a page from bytes as the program does,
// and a check that stops the run with what broke.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/loader.h"
#include "engine/modern_head.h"
#include "engine/save.h"

namespace veskaron::fuzz {

[[noreturn]] inline void Fail(const char* what, std::string_view a = {}, std::string_view b = {}) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    // Bytes outside printable ASCII are shown as \xNN, so that both sides can be compared by eye.
    auto show = [](const char* label, std::string_view s) {
        std::fprintf(stderr, "--- %s (%zu bytes)\n", label, s.size());
        for (const char c : s) {
            const auto u = static_cast<unsigned char>(c);
            if (u == '\n' || (u >= 0x20 && u < 0x7F)) std::fputc(u, stderr);
            else std::fprintf(stderr, "\\x%02X", u);
        }
        std::fputc('\n', stderr);
    };
    if (!a.empty() || !b.empty()) {
        show("expected", a);
        show("got", b);
    }
    std::abort();
}

inline void Expect(bool ok, const char* what) {
    if (!ok) Fail(what);
}

inline void ExpectEqual(std::string_view expected, std::string_view got, const char* what) {
    if (expected != got) Fail(what, expected, got);
}

inline LoadOptions FixedLoadOptions() {
    LoadOptions o;
    o.now = {{2026, 12, 7}, {10, 22, 31}};
    return o;
}

// The page as selecting it in the file list loads it, from memory.
inline Document LoadBytes(std::string bytes, const std::string& path = "/nonexistent/page.htm") {
    Document doc;
    doc.fields = FreshFields(FixedLoadOptions().now);
    doc.path = path;
    doc.page = ToDocumentText(std::move(bytes));
    LoadOptions options = FixedLoadOptions();
    options.fieldsKind = doc.kind;
    AdoptLoad(doc, LoadDocumentText(doc.page.text, doc.fields, options));
    doc.modern = ReadModernHead(doc.page.text).fields;
    doc.Remember();
    doc.Update();
    return doc;
}

inline SaveOptions AsEdited() {
    SaveOptions o;
    o.asEdited = true;
    return o;
}

}  // namespace veskaron::fuzz
