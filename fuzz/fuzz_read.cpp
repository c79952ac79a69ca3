// Read: any bytes load into the fields, and a page saved without edits from
// the source editor keeps every byte.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_common.h"

using namespace veskaron;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Document doc = fuzz::LoadBytes(bytes);
    const SaveBytes saved = BytesForSave(doc, fuzz::AsEdited());
    fuzz::Expect(saved.refusal.empty(), "an untouched page is refused");
    fuzz::ExpectEqual(bytes, saved.bytes, "load + save without edits changed the bytes");
    fuzz::Expect(saved.references == 0, "an untouched page needed references");
    // Loading the saved bytes again finds the same fields and charset.
    const Document again = fuzz::LoadBytes(saved.bytes);
    fuzz::Expect(again.fields == doc.fields, "a second load reads other fields");
    fuzz::Expect(again.encoding == doc.encoding, "a second load finds another charset");
    return 0;
}
