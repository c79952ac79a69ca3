#include "engine/page_file.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // Line by line: a CR before each LF.
    std::size_t from = 0;
    for (std::size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', from)) {
        page.text.append(bytes, from, lf - from);
        page.text += "\r\n";
        from = lf + 1;
    }
    page.text.append(bytes, from);
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
    // Every byte that is not a line end is a character, every line gets CR LF:
    // the size is the byte count plus one for each lone CR or LF, less nothing
    // for a CR LF pair, plus two for a last line without a break. So only the
    // CRs, the LFs and the CR LF pairs need counting, which goes 16 bytes at a
    // time: a large page is sized at close to the speed of memory.
    const std::size_t n = text.size();
    const char* p = text.data();
    std::size_t breaks = 0, pairs = 0, i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    while (i + 17 <= n) {
        // Byte counters, emptied into the totals before any of them can wrap.
        __m128i breakAcc = zero, pairAcc = zero;
        const std::size_t blocks = std::min<std::size_t>((n - 1 - i) / 16, 255);
        for (std::size_t b = 0; b < blocks; ++b, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(v, cr);
            breakAcc = _mm_sub_epi8(breakAcc, _mm_or_si128(isCr, _mm_cmpeq_epi8(v, lf)));
            pairAcc = _mm_sub_epi8(pairAcc, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf)));
        }
        const __m128i b = _mm_sad_epu8(breakAcc, zero), q = _mm_sad_epu8(pairAcc, zero);
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(b) + _mm_extract_epi16(b, 4));
        pairs += static_cast<std::size_t>(_mm_cvtsi128_si32(q) + _mm_extract_epi16(q, 4));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '\r') {
            ++breaks;
            if (i + 1 < n && p[i + 1] == '\n') ++pairs;
        } else if (p[i] == '\n') {
            ++breaks;
        }
    }
    const bool lineOpen = n > 0 && p[n - 1] != '\r' && p[n - 1] != '\n';
    return static_cast<long long>(n + breaks - 2 * pairs) + (lineOpen ? 2 : 0);
}

}  // namespace veskaron
