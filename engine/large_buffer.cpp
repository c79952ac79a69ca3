#include "engine/large_buffer.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace veskaron {

void ReserveLarge(std::string& text, std::size_t bytes) {
    text.reserve(bytes);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    if (bytes < 4 * kLargePage) return;  // not worth a system call
    // Only the whole large pages inside the room; the advice is a hint that
    // may be refused, and the memory works the same either way.
    const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t from = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (begin + bytes) & ~(kLargePage - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace veskaron
