// Word engine: any page source counts into lower-cased words longer than the
// minimum that are not excluded, the statistics add up, and a Windows-1251
// page gives the same words as the same page in UTF-8.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <numeric>

#include "engine/cp1251.h"
#include "generator/word_engine.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;
using namespace veskaron::generator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    GeneratorOptions options;
    options.minWordLen = in.ConsumeIntegralInRange(0, 6);
    options.keyCifra = in.ConsumeBool();
    options.bolAlt = in.ConsumeBool();
    options.insertDescription = in.ConsumeBool();
    std::vector<std::string> description, excluded;
    for (int n = in.ConsumeIntegralInRange(0, 2); n > 0; --n) description.push_back(in.ConsumeRandomLengthString(40));
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) excluded.push_back(in.ConsumeRandomLengthString(12));
    const std::string source = in.ConsumeRemainingBytesAsString();

    WordTable table;
    RunGenerator(source, description, excluded, options, table);
    std::int64_t total = 0;
    for (const WordEntry& e : table.entries()) {
        fuzz::Expect(e.count > 0, "a word counted zero times");
        fuzz::ExpectEqual(LowerFor(TextKind::Cp1251, e.word), e.word, "a word is not lower case");
        fuzz::Expect(e.word.size() > static_cast<std::size_t>(options.minWordLen), "a word is too short");
        fuzz::Expect(table.CountOf(e.word) == e.count, "the table finds another count");
        total += e.count;
    }
    const std::vector<std::string> lines = FillWordList(table, SortMode::MostFrequentFirst, false, 0);
    fuzz::Expect(lines.size() == table.size(), "a word is missing from the list");
    fuzz::Expect(ComputeWordStatistics(table, lines.size()).total == total, "the statistics do not add up");

    // The same page, description and exclusions in UTF-8.
    GeneratorOptions utf8 = options;
    utf8.kind = TextKind::Utf8;
    auto toUtf8 = [](std::vector<std::string> v) {
        for (std::string& s : v) s = Cp1251ToUtf8(s);
        return v;
    };
    WordTable other;
    RunGenerator(Cp1251ToUtf8(source), toUtf8(description), toUtf8(excluded), utf8, other);
    fuzz::Expect(other.size() == table.size(), "the UTF-8 page gives another number of words");
    for (std::size_t i = 0; i < table.size(); ++i) {
        fuzz::ExpectEqual(Cp1251ToUtf8(table.entries()[i].word), other.entries()[i].word,
                          "the UTF-8 page gives another word");
        fuzz::Expect(table.entries()[i].count == other.entries()[i].count, "the UTF-8 page counts otherwise");
    }
    return 0;
}
