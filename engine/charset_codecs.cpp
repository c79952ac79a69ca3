// The UTF-8 codec and the iconv-based codecs for other declared charsets.
#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "engine/cp1251.h"
#include "engine/koi8.h"
#include "engine/text_codec.h"

namespace veskaron {
namespace {

void AppendRawByte(std::string& out, unsigned char b) { AppendUtf8(out, kRawByteBase + b); }

class Utf8TextCodec final : public TextCodec {
public:
    std::string_view Name() const override { return "utf-8"; }

    std::string ToUtf8(std::string_view bytes) const override {
        std::string out;
        out.reserve(bytes.size());
        std::size_t i = 0;
        while (i < bytes.size()) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80) {
                out += static_cast<char>(b);
                ++i;
                continue;
            }
            std::size_t len = 1;
            const char32_t cp = DecodeUtf8At(bytes, i, len);
            const bool invalid = cp == 0xFFFD && len == 1;  // a real U+FFFD is three bytes
            if (invalid || IsRawByteCodePoint(cp)) {
                // A page that itself holds a raw-byte code point has its bytes
                // escaped too, so that the way back is exact.
                for (std::size_t k = 0; k < len; ++k)
                    AppendRawByte(out, static_cast<unsigned char>(bytes[i + k]));
            } else {
                out.append(bytes.substr(i, len));
            }
            i += len;
        }
        return out;
    }

    EncodeResult FromUtf8(std::string_view utf8) const override {
        EncodeResult r;
        r.bytes.reserve(utf8.size());
        std::size_t i = 0;
        while (i < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            if (b < 0x80) {
                r.bytes += static_cast<char>(b);
                ++i;
                continue;
            }
            std::size_t len = 1;
            const char32_t cp = DecodeUtf8At(utf8, i, len);
            if (IsRawByteCodePoint(cp)) r.bytes += static_cast<char>(cp - kRawByteBase);
            else if (cp == 0xFFFD) AppendUtf8(r.bytes, cp);
            else r.bytes.append(utf8.substr(i, len));
            i += len;
        }
        return r;
    }
};

// One conversion descriptor per call: iconv keeps shift state, and codecs are
// shared between threads.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can, appending to `out`; returns the
    // number of input bytes consumed and sets `err` to 0 or to the errno that
    // stopped it (EILSEQ or EINVAL at in[consumed]).
    std::size_t Convert(std::string_view in, std::string& out, int& err) {
        err = 0;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[4096];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            err = errno;
            break;
        }
        if (err == 0) {
            // Flush a shift state back to the initial one.
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
        }
        return in.size() - srcLeft;
    }
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// Page bytes to UTF-8; an undecodable byte travels as a raw-byte code point.
void DecodeLeniently(Iconv& cv, std::string_view bytes, std::string& out) {
    cv.Reset();
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        int err = 0;
        pos += cv.Convert(bytes.substr(pos), out, err);
        if (err == 0) break;
        AppendRawByte(out, static_cast<unsigned char>(bytes[pos]));
        ++pos;
        cv.Reset();
    }
}

// UTF-8 to page bytes: runs of ordinary characters go through iconv; raw-byte
// code points, invalid input and characters the charset cannot hold are
// handled here. `intended` gets the text as written (with its references),
// and `raw` whether a raw byte was written.
EncodeResult EncodeWith(Iconv& cv, std::string_view utf8, std::string* intended = nullptr, bool* raw = nullptr) {
    EncodeResult r;
    r.bytes.reserve(utf8.size());
    cv.Reset();
    auto flush = [&](std::string_view run) {
        std::size_t pos = 0;
        while (pos < run.size()) {
            int err = 0;
            const std::size_t used = cv.Convert(run.substr(pos), r.bytes, err);
            if (intended) intended->append(run.substr(pos, used));
            pos += used;
            if (err == 0) break;
            std::size_t len = 1;
            const char32_t cp = DecodeUtf8At(run, pos, len);
            r.bytes += NumericReference(cp);
            if (intended) intended->append(NumericReference(cp));
            ++r.references;
            pos += len;
            cv.Reset();
        }
    };
    std::size_t start = 0, i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 1;
        const char32_t cp = DecodeUtf8At(utf8, i, len);
        const bool invalid = cp == 0xFFFD && len == 1;
        if (!invalid && !IsRawByteCodePoint(cp)) {
            i += len;
            continue;
        }
        flush(utf8.substr(start, i - start));
        if (invalid) {
            flush("\xEF\xBF\xBD");
        } else {
            r.bytes += static_cast<char>(cp - kRawByteBase);
            if (intended) intended->append(utf8.substr(i, len));
            if (raw) *raw = true;
        }
        i += len;
        start = i;
    }
    flush(utf8.substr(start));
    return r;
}

// Whether the bytes `probe` begins with (`runLength` raw bytes, then what
// follows them) are read with a character that starts in the raw bytes and
// ends after them. A sequence cut short by the probe's end counts as one.
bool RawBytesJoinWhatFollows(Iconv& dec, std::string_view probe, std::size_t runLength) {
    std::string sink;
    std::size_t pos = 0;
    while (pos < runLength) {
        std::size_t length = 0;  // of the shortest complete sequence at pos
        bool cutShort = false;
        for (std::size_t n = 1; n <= 4 && pos + n <= probe.size(); ++n) {
            dec.Reset();
            int err = 0;
            sink.clear();
            const std::size_t used = dec.Convert(probe.substr(pos, n), sink, err);
            if (err == 0 && used == n) {
                length = n;
                break;
            }
            cutShort = err == EINVAL && used == 0 && pos + n == probe.size();
            if (err == EILSEQ && used == 0) break;
        }
        if (length == 0 && cutShort) return true;
        if (length > 0 && pos + length > runLength) return true;
        pos += length > 0 ? length : 1;
    }
    return false;
}

// The text with every character that a run of raw bytes would be read
// with written as "&#N;" instead: an edit may have put it there (a tag
// taken out from between them), and the page must keep the raw bytes
// apart, as they were.
std::string KeepRawBytesApart(Iconv& dec, Iconv& enc, std::string_view text, std::size_t& references) {
    std::string out, run, next;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t len = 1;
        const char32_t cp = static_cast<unsigned char>(text[i]) < 0x80 ? static_cast<char32_t>(text[i]) : DecodeUtf8At(text, i, len);
        if (!IsRawByteCodePoint(cp)) {
            out.append(text.substr(i, len));
            i += len;
            continue;
        }
        run.clear();
        while (i < text.size()) {
            const char32_t c = DecodeUtf8At(text, i, len);
            if (!IsRawByteCodePoint(c)) break;
            run += static_cast<char>(c - kRawByteBase);
            out.append(text.substr(i, len));
            i += len;
        }
        if (i >= text.size()) break;
        const char32_t c = static_cast<unsigned char>(text[i]) < 0x80 ? static_cast<char32_t>(text[i]) : DecodeUtf8At(text, i, len);
        if (static_cast<unsigned char>(text[i]) < 0x80) len = 1;
        next.clear();
        int err = 0;
        enc.Reset();
        if (enc.Convert(text.substr(i, len), next, err) != len || err != 0) continue;
        if (!RawBytesJoinWhatFollows(dec, run + next, run.size())) continue;
        out += NumericReference(c);
        ++references;
        i += len;
    }
    return out;
}

void AppendRawBytes(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else AppendRawByte(out, b);
    }
}

// Character by character: each shortest complete byte sequence is decoded on
// its own and kept only when it encodes back to the same bytes. A page holds
// few distinct sequences, so each is tried with iconv once.
class CharacterChecker {
public:
    CharacterChecker(Iconv& dec, Iconv& enc) : dec_(dec), enc_(enc) {}

    void Decode(std::string_view bytes, std::string& out) {
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            std::size_t raw = 1;
            for (std::size_t n = 1; n <= 4 && pos + n <= bytes.size(); ++n) {
                const Sequence& seq = Look(bytes.substr(pos, n));
                if (seq.kind == Kind::Incomplete) continue;
                if (seq.kind == Kind::Keep) {
                    out += seq.text;
                    raw = 0;
                    pos += n;
                } else if (seq.kind == Kind::NotBack) {
                    raw = n;
                }
                break;
            }
            if (raw == 0) continue;
            AppendRawBytes(out, bytes.substr(pos, raw));
            pos += raw;
        }
    }

private:
    enum class Kind : std::uint8_t { Incomplete, Invalid, NotBack, Keep };
    struct Sequence {
        Kind kind = Kind::Invalid;
        std::string text;  // the characters, for Keep
    };

    const Sequence& Look(std::string_view bytes) {
        if (bytes.size() == 1) {
            const auto b = static_cast<unsigned char>(bytes[0]);
            if (!single_[b]) single_[b] = Try(bytes);
            return *single_[b];
        }
        std::uint64_t key = bytes.size();
        for (const char c : bytes) key = key << 8 | static_cast<unsigned char>(c);
        auto [it, fresh] = seen_.try_emplace(key);
        if (fresh) it->second = Try(bytes);
        return it->second;
    }

    Sequence Try(std::string_view bytes) {
        Sequence seq;
        std::string decoded, back;
        dec_.Reset();
        int err = 0;
        const std::size_t used = dec_.Convert(bytes, decoded, err);
        if (err == EINVAL && used == 0) {
            seq.kind = Kind::Incomplete;
        } else if (err == 0 && used == bytes.size()) {
            enc_.Reset();
            const bool comesBack = enc_.Convert(decoded, back, err) == decoded.size() && err == 0 && back == bytes;
            seq.kind = comesBack ? Kind::Keep : Kind::NotBack;
            if (comesBack) seq.text = std::move(decoded);
        }
        return seq;
    }

    Iconv& dec_;
    Iconv& enc_;
    std::array<std::optional<Sequence>, 256> single_;
    std::unordered_map<std::uint64_t, Sequence> seen_;
};

class IconvCodec final : public TextCodec {
public:
    explicit IconvCodec(std::string name) : name_(std::move(name)) {}
    std::string_view Name() const override { return name_; }

    // A page loaded and saved without edits keeps its bytes, so every
    // character must encode back to the bytes it came from. In several
    // charsets some do not (Big5 F9 F9 decodes to the character of A2 A4):
    // those bytes travel as raw-byte code points like undecodable ones.
    std::string ToUtf8(std::string_view bytes) const override {
        Iconv dec("UTF-8", name_.c_str());
        Iconv enc(name_.c_str(), "UTF-8");
        if (!dec.ok() || !enc.ok()) return Utf8Codec()->ToUtf8(bytes);
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 2);
        DecodeLeniently(dec, bytes, out);
        if (EncodeWith(enc, out).bytes == bytes) return out;

        // Character by character, which the checker keeps linear.
        out.clear();
        CharacterChecker(dec, enc).Decode(bytes, out);
        if (EncodeWith(enc, out).bytes == bytes) return out;

        // Neighbouring characters that the encoder joins: every byte beyond
        // ASCII as a raw-byte code point always comes back.
        out.clear();
        AppendRawBytes(out, bytes);
        return out;
    }

    EncodeResult FromUtf8(std::string_view utf8) const override {
        Iconv cv(name_.c_str(), "UTF-8");
        if (!cv.ok()) return Utf8Codec()->FromUtf8(utf8);
        std::string intended;
        bool raw = false;
        EncodeResult r = EncodeWith(cv, utf8, &intended, &raw);
        // Raw bytes are written as they came; what follows them may have
        // changed, and a save must not make them part of another character.
        if (!raw || ToUtf8(r.bytes) == intended) return r;
        Iconv dec("UTF-8", name_.c_str());
        if (!dec.ok()) return r;
        std::size_t references = r.references;
        const std::string apart = KeepRawBytesApart(dec, cv, intended, references);
        EncodeResult kept = EncodeWith(cv, apart);
        kept.references += references;
        return kept;
    }

private:
    std::string name_;
};

// Markup must keep its meaning: every ASCII byte must be the same character
// in the charset, and the 7-bit shifting encodings are left out
// because their multi-byte characters are made of ASCII bytes.
bool AsciiCompatible(const std::string& name) {
    for (const char* stateful : {"2022", "utf-7", "utf7", "hz"})
        if (name.find(stateful) != std::string::npos) return false;
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
    Iconv in("UTF-8", name.c_str());
    Iconv out(name.c_str(), "UTF-8");
    if (!in.ok() || !out.ok()) return false;
    std::string decoded, encoded;
    int err = 0;
    if (in.Convert(ascii, decoded, err) != ascii.size() || err != 0 || decoded != ascii) return false;
    return out.Convert(ascii, encoded, err) == ascii.size() && err == 0 && encoded == ascii;
}

// A KOI8 page is held as Windows-1251 and translated back on save; only its
// letters are translated, so a typed character outside them (a dash, "№", a
// capital io in KOI8-R) would land as a KOI8 byte that means another
// character. Such a character is written as a reference instead.
class Koi8TypedCodec final : public TextCodec {
public:
    Koi8TypedCodec(std::string_view name, const ByteTable& save) : name_(name) {
        const CodecPtr koi8 = CharsetCodec(name);
        for (int b = 0x80; b <= 0xFF; ++b) {
            const std::string held(1, static_cast<char>(b));
            const std::string written(1, static_cast<char>(save[static_cast<std::size_t>(b)]));
            keeps_[static_cast<std::size_t>(b - 0x80)] = koi8 && koi8->ToUtf8(written) == Cp1251ToUtf8(held);
        }
    }
    std::string_view Name() const override { return name_; }
    std::string ToUtf8(std::string_view bytes) const override { return Cp1251ToUtf8(bytes); }
    EncodeResult FromUtf8(std::string_view utf8) const override {
        return EncodeSingleBytes(utf8, [this](char32_t cp) {
            const int byte = UnicodeToCp1251(cp);
            return byte >= 0x80 && keeps_[static_cast<std::size_t>(byte - 0x80)] ? byte : -1;
        });
    }

private:
    std::string name_;
    std::array<bool, 128> keeps_{};
};

}  // namespace

CodecPtr Koi8TypedTextCodec(std::string_view charset) {
    static const CodecPtr r = std::make_shared<Koi8TypedCodec>("koi8-r", Koi8RSave());
    static const CodecPtr u = std::make_shared<Koi8TypedCodec>("koi8-u", Koi8USave());
    if (charset == "koi8-r") return r;
    if (charset == "koi8-u") return u;
    return nullptr;
}

CodecPtr Utf8Codec() {
    static const CodecPtr codec = std::make_shared<Utf8TextCodec>();
    return codec;
}

CodecPtr CharsetCodec(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, CodecPtr, std::less<>> known;
    const std::lock_guard<std::mutex> lock(mutex);
    if (auto it = known.find(name); it != known.end()) return it->second;
    std::string key(name);
    CodecPtr codec;
    if (AsciiCompatible(key)) codec = std::make_shared<IconvCodec>(key);
    known.emplace(std::move(key), codec);
    return codec;
}

}  // namespace veskaron
