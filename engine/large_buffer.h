#pragma once
// Room for a large text. Filling tens of megabytes of fresh memory costs a
// page fault every four kilobytes; where the system offers large pages for
// memory that asks for them, the room asks, and a large page is faulted in
// at once.
#include <cstddef>
#include <string>

namespace veskaron {

// Reserves room for `bytes` characters in `text` (which keeps its contents).
void ReserveLarge(std::string& text, std::size_t bytes);

}  // namespace veskaron
