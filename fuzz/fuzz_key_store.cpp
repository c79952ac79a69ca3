// Key store: any settings file parses, and what was read is written and read
// back as the same values without a fault; values written read back as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "engine/text_codec.h"
#include "platform/key_store.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

namespace {

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0, len = 1; i < s.size(); i += len)
        if (DecodeUtf8At(s, i, len) == 0xFFFD && len == 1) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        const StoreContents read = ParseStore(in.ConsumeRemainingBytesAsString());
        const StoreContents again = ParseStore(FormatStore(read));
        fuzz::Expect(again.problems.empty(), "a written store does not parse");
        fuzz::Expect(again.values == read.values, "a written store reads back otherwise");
        return 0;
    }
    StoreContents written;
    while (in.remaining_bytes() > 0) {
        // Names are the program's own, in UTF-8.
        std::string name = in.ConsumeRandomLengthString(16);
        if (name.empty() || !IsUtf8(name)) continue;
        if (in.ConsumeBool()) written.Set(name, StoreValue::Dword(in.ConsumeIntegral<std::uint32_t>()));
        else written.Set(name, StoreValue::String(in.ConsumeRandomLengthString(32)));
    }
    const StoreContents read = ParseStore(FormatStore(written));
    fuzz::Expect(read.problems.empty(), "a written store does not parse");
    fuzz::Expect(read.values.size() == written.values.size(), "a written store has another number of values");
    for (std::size_t i = 0; i < read.values.size(); ++i) {
        const auto& [name, value] = written.values[i];
        fuzz::ExpectEqual(name, read.values[i].first, "a value name reads back otherwise");
        fuzz::Expect(value.type == read.values[i].second.type, "a value type reads back otherwise");
        if (value.type == StoreValue::Type::Dword)
            fuzz::Expect(value.dword == read.values[i].second.dword, "a number reads back otherwise");
        // Texts are UTF-8; a text that is not is taken for Windows-1251.
        else if (IsUtf8(value.text))
            fuzz::ExpectEqual(value.text, read.values[i].second.text, "a text reads back otherwise");
    }
    return 0;
}
