#include "session/Koi8Fields.h"

#include <algorithm>
#include <map>

#include "engine/catalogue.h"
#include "engine/cp1251.h"
#include "engine/koi8.h"
#include "engine/text_codec.h"

namespace veskaron::session {

std::shared_ptr<const Koi8FieldTexts> Koi8FieldTexts::For(std::string_view charset) {
    static const auto r = std::make_shared<const Koi8FieldTexts>(kCharsetKoi8R);
    static const auto u = std::make_shared<const Koi8FieldTexts>(kCharsetKoi8U);
    if (charset == "koi8-r") return r;
    if (charset == "koi8-u") return u;
    return nullptr;
}

Koi8FieldTexts::Koi8FieldTexts(int charsetIndex) {
    heldFor_.fill(-1);
    const ByteTable* save = Koi8SaveTable(charsetIndex);
    const CodecPtr koi8 = CharsetCodec(charsetIndex == kCharsetKoi8R ? "koi8-r" : "koi8-u");
    if (!save || !koi8) return;
    // The character each held byte ends up as in the file.
    std::map<std::string, int> heldOf;
    for (int h = 0x80; h <= 0xFF; ++h) {
        const std::string written(1, static_cast<char>((*save)[static_cast<std::size_t>(h)]));
        heldOf.emplace(koi8->ToUtf8(written), h);
    }
    for (int b = 0x80; b <= 0xFF; ++b) {
        const auto it = heldOf.find(Cp1251ToUtf8(std::string(1, static_cast<char>(b))));
        if (it != heldOf.end()) heldFor_[static_cast<std::size_t>(b - 0x80)] = it->second;
    }
}

std::string Koi8FieldTexts::Typed(std::string_view held, std::size_t* references) const {
    std::string out;
    out.reserve(held.size());
    for (const char c : held) {
        const auto b = static_cast<unsigned char>(c);
        const int to = b < 0x80 ? b : heldFor_[b - 0x80];
        if (to >= 0) {
            out += static_cast<char>(to);
            continue;
        }
        out += NumericReference(Cp1251ToUnicode(b));
        if (references) ++*references;
    }
    return out;
}

std::string Koi8FieldTexts::Merge(std::string_view page, std::string_view edited,
                                  std::size_t* references) const {
    if (edited == page) return std::string(page);
    const std::size_t most = std::min(page.size(), edited.size());
    std::size_t head = 0;
    while (head < most && page[head] == edited[head]) ++head;
    std::size_t tail = 0;
    while (tail < most - head && page[page.size() - 1 - tail] == edited[edited.size() - 1 - tail]) ++tail;
    std::string out(edited.substr(0, head));
    out += Typed(edited.substr(head, edited.size() - head - tail), references);
    out += edited.substr(edited.size() - tail);
    return out;
}

}  // namespace veskaron::session
