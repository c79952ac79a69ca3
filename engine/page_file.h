#pragma once
// Page files on disk and the document text the editor works on. A page stored
// with LF-only line ends is worked on with CR LF and written back with LF only;
// any other page keeps its bytes as they are.
#include <string>
#include <string_view>

namespace veskaron {

enum class LineEnds { CrLf, Lf };

struct PageText {
    std::string text;  // document text, CR LF line ends
    LineEnds ends = LineEnds::CrLf;
};

// LF-only means: at least one LF and no CR LF pair anywhere.
PageText ToDocumentText(std::string bytes);
std::string ToFileBytes(std::string_view text, LineEnds ends);

// Size as the editor counts it: every line followed by CR LF.
long long EditorTextSize(std::string_view text);

}  // namespace veskaron
