#pragma once
// Charts as inline SVG for the HTML report. They must read on a black and
// white printout: every bar carries its number, and the fills differ by
// hatching, not by colour alone.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "site/report.h"

namespace veskaron::site::svg {

enum class Fill { Solid, Hatch, Dots, Plain };

struct Bar {
    std::string label;  // plain text; escaped here
    std::size_t value = 0;
    Fill fill = Fill::Plain;
};
struct LegendItem {
    std::string_view label;
    Fill fill;
};

// One bar per row, labelled on its left, its number at its end.
void HorizontalBars(std::string& out, std::string_view caption, const std::vector<Bar>& bars,
                    const std::vector<LegendItem>& legend = {});

// Bins as upright bars, those past the limit hatched, the limit a dashed line.
void Histogram(std::string& out, std::string_view caption, const WidthHistogram& h);

}  // namespace veskaron::site::svg
