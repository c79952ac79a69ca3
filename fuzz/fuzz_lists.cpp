// List files: word lists and line lists (histories, snippets) read from any
// bytes are written and read back as the same entries; entries written are
// read back as written, or the list is refused.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "generator/word_list_file.h"
#include "platform/line_list.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        const std::string bytes = in.ConsumeRemainingBytesAsString();
        const std::vector<std::string> words = generator::ParseWordList(bytes);
        fuzz::Expect(generator::ParseWordList(generator::FormatWordList(words)) == words,
                     "a word list reads back otherwise");
        const std::vector<std::string> lines = SplitLineList(bytes);
        fuzz::Expect(SplitLineList(JoinLineList(lines)) == lines, "a line list reads back otherwise");
        for (const std::string& line : lines)
            fuzz::Expect(line.find_first_of("\r\n") == std::string::npos, "a line list item holds a line break");
        return 0;
    }
    std::vector<std::string> entries;
    while (in.remaining_bytes() > 0) entries.push_back(in.ConsumeRandomLengthString(24));
    bool breaks = false;
    for (const std::string& e : entries) breaks = breaks || e.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
    if (breaks) return 0;  // such lists are refused by the writers
    fuzz::Expect(generator::ParseWordList(generator::FormatWordList(entries)) == entries,
                 "written word list entries read back otherwise");
    fuzz::Expect(SplitLineList(JoinLineList(entries)) == entries, "written line list items read back otherwise");
    return 0;
}
