#pragma once
// How the writer lays out what it writes: where the META block goes, which
// attribute of a tag comes first, and whether the block is one line.

namespace veskaron {

enum class Placement { AfterHeadOpen = 0, BeforeHeadClose = 1 };
enum class AttributeOrder { KeyFirst = 0, ContentFirst = 1 };
enum class LineMode { TagPerLine = 0, OneLine = 1 };

}  // namespace veskaron
