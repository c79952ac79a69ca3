#pragma once
// The pixel size an image file states in its header: PNG, JPEG, GIF, WebP.
#include <string>
#include <string_view>

namespace veskaron::indexing {

struct ImageSize {
    bool known = false;
    int width = 0, height = 0;
};

// From the file's first bytes (a JPEG's frame header may stand after its
// metadata, so give it the first 256 KB or so).
ImageSize ImageSizeOf(std::string_view bytes);
// Reads what ImageSizeOf needs of the file.
ImageSize ReadImageSize(const std::string& path);

}  // namespace veskaron::indexing
