#include "session/document/Koi8Fields.h"

#include <algorithm>
#include <map>
#include <vector>

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

int Koi8FieldTexts::ReferencedByte(std::string_view text, std::size_t& length) const {
    if (!text.starts_with("&#")) return -1;
    char32_t cp = 0;
    std::size_t i = 2;
    for (; i < text.size() && i < 10 && text[i] >= '0' && text[i] <= '9'; ++i) cp = cp * 10 + static_cast<char32_t>(text[i] - '0');
    if (i == 2 || i >= text.size() || text[i] != ';') return -1;
    const int byte = UnicodeToCp1251(cp);
    if (byte < 0x80 || heldFor_[static_cast<std::size_t>(byte - 0x80)] >= 0) return -1;
    // Only the form a save writes, so that the byte goes back as these very bytes.
    if (NumericReference(cp) != text.substr(0, i + 1)) return -1;
    length = i + 1;
    return byte;
}

std::string Koi8FieldTexts::Shown(std::string_view page) const {
    std::string out;
    out.reserve(page.size());
    for (std::size_t i = 0; i < page.size();) {
        std::size_t length = 0;
        const int byte = page[i] == '&' ? ReferencedByte(page.substr(i), length) : -1;
        if (byte < 0) {
            out += page[i++];
        } else {
            out += static_cast<char>(byte);
            i += length;
        }
    }
    return out;
}

std::string Koi8FieldTexts::MergeShown(std::string_view page, std::string_view edited,
                                       std::size_t* references) const {
    // Where each shown byte came from in the page.
    std::vector<std::size_t> from;
    from.reserve(page.size() + 1);
    std::string shown;
    shown.reserve(page.size());
    for (std::size_t i = 0; i < page.size();) {
        std::size_t length = 1;
        const int byte = page[i] == '&' ? ReferencedByte(page.substr(i), length) : -1;
        from.push_back(i);
        shown += byte < 0 ? page[i] : static_cast<char>(byte);
        if (byte < 0) length = 1;
        i += length;
    }
    from.push_back(page.size());
    if (edited == shown) return std::string(page);
    const std::size_t most = std::min(shown.size(), edited.size());
    std::size_t head = 0;
    while (head < most && shown[head] == edited[head]) ++head;
    std::size_t tail = 0;
    while (tail < most - head && shown[shown.size() - 1 - tail] == edited[edited.size() - 1 - tail]) ++tail;
    std::string out(page.substr(0, from[head]));
    out += Typed(edited.substr(head, edited.size() - head - tail), references);
    out += page.substr(from[shown.size() - tail]);
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
