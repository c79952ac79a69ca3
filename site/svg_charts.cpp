#include "site/svg_charts.h"

#include <algorithm>
#include <cstdio>

#include "messages/report_texts.h"

namespace veskaron::site::svg {
namespace {

constexpr int kWidth = 720;

void Num(std::string& out, double v) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%.1f", v);
    out.append(buf, static_cast<std::size_t>(n));
}

void Attr(std::string& out, std::string_view name, double v) {
    out += ' ';
    out += name;
    out += "=\"";
    Num(out, v);
    out += '"';
}

// Fills drawn as lines rather than SVG patterns, which simple renderers
// (and some printers' drivers) leave empty: the hatch and the stripes are
// what tells the levels apart on paper.
const char* Background(Fill fill) {
    switch (fill) {
        case Fill::Solid: return "#a8231b";
        case Fill::Hatch: return "#fde3b5";
        case Fill::Dots: return "#dbe7f5";
        case Fill::Plain: return "#cfe3cf";
    }
    return "#fff";
}

void Line(std::string& out, double x1, double y1, double x2, double y2, std::string_view stroke) {
    out += "<line";
    Attr(out, "x1", x1);
    Attr(out, "y1", y1);
    Attr(out, "x2", x2);
    Attr(out, "y2", y2);
    out += ' ';
    out += stroke;
    out += "/>";
}

void Rect(std::string& out, double x, double y, double w, double h, Fill fill) {
    out += "<rect";
    Attr(out, "x", x);
    Attr(out, "y", y);
    Attr(out, "width", w);
    Attr(out, "height", h);
    out += " fill=\"";
    out += Background(fill);
    out += "\"/>";
    if (fill == Fill::Hatch) {
        // Lines u + v = c across the box, u from its left, v from its bottom.
        for (double c = 3; c < w + h; c += 6) {
            const double u1 = std::max(0.0, c - h), u2 = std::min(w, c);
            Line(out, x + u1, y + h - (c - u1), x + u2, y + h - (c - u2), "stroke=\"#8a5200\" stroke-width=\"1.6\"");
        }
    } else if (fill == Fill::Dots) {
        for (double v = 2; v < h; v += 4)
            Line(out, x, y + v, x + w, y + v, "stroke=\"#1f4f8a\" stroke-width=\"1\" stroke-dasharray=\"1.5 2.5\"");
    }
    out += "<rect";
    Attr(out, "x", x);
    Attr(out, "y", y);
    Attr(out, "width", w);
    Attr(out, "height", h);
    out += " fill=\"none\" stroke=\"#222\" stroke-width=\"0.8\"/>";
}

void Text(std::string& out, double x, double y, std::string_view text, std::string_view extra = {}) {
    out += "<text";
    Attr(out, "x", x);
    Attr(out, "y", y);
    if (!extra.empty()) {
        out += ' ';
        out += extra;
    }
    out += '>';
    AppendEscaped(out, text);
    out += "</text>";
}

void Open(std::string& out, std::string_view caption, int height) {
    out += "<svg role=\"img\" viewBox=\"0 0 ";
    out += std::to_string(kWidth);
    out += ' ';
    out += std::to_string(height);
    out += "\" width=\"";
    out += std::to_string(kWidth);
    out += "\" height=\"";
    out += std::to_string(height);
    out += "\" font-family=\"sans-serif\" font-size=\"12\"><title>";
    AppendEscaped(out, caption);
    out += "</title>";
}

}  // namespace

void HorizontalBars(std::string& out, std::string_view caption, const std::vector<Bar>& bars,
                    const std::vector<LegendItem>& legend) {
    constexpr double kLabels = 330, kRow = 22, kBarRoom = kWidth - kLabels - 70;
    const double top = legend.empty() ? 6 : 30;
    const int height = static_cast<int>(top + kRow * static_cast<double>(std::max<std::size_t>(bars.size(), 1)) + 8);
    Open(out, caption, height);
    double x = kLabels;
    for (const LegendItem& item : legend) {
        Rect(out, x, 6, 14, 14, item.fill);
        Text(out, x + 19, 17, item.label);
        x += 19 + 8.0 * static_cast<double>(CountCharacters(item.label)) + 18;
    }
    std::size_t most = 1;
    for (const Bar& b : bars) most = std::max(most, b.value);
    double y = top;
    for (const Bar& b : bars) {
        Text(out, kLabels - 8, y + 15, b.label, "text-anchor=\"end\"");
        const double w = std::max(1.0, kBarRoom * static_cast<double>(b.value) / static_cast<double>(most));
        Rect(out, kLabels, y + 3, w, kRow - 6, b.fill);
        Text(out, kLabels + w + 6, y + 15, std::to_string(b.value));
        y += kRow;
    }
    out += "<line";
    Attr(out, "x1", kLabels);
    Attr(out, "y1", top);
    Attr(out, "x2", kLabels);
    Attr(out, "y2", y);
    out += " stroke=\"#000\"/></svg>";
}

void Histogram(std::string& out, std::string_view caption, const WidthHistogram& h) {
    constexpr double kLeft = 56, kRight = kWidth - 20, kTop = 34, kBottom = 210;
    constexpr int kHeight = 248;
    Open(out, caption, kHeight);
    const std::size_t n = h.bins.size();
    std::size_t most = 1;
    for (std::size_t v : h.bins) most = std::max(most, v);
    const double barW = (kRight - kLeft) / static_cast<double>(n);
    const double room = kBottom - kTop - 14;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = kLeft + barW * static_cast<double>(i);
        const std::size_t v = h.bins[i];
        if (v > 0) {
            const double bh = std::max(1.0, room * static_cast<double>(v) / static_cast<double>(most));
            // Bins wholly past the limit: texts the result cuts.
            Rect(out, x + 1, kBottom - bh, barW - 2, bh, i * h.binPx >= h.limitPx ? Fill::Hatch : Fill::Dots);
            Text(out, x + barW / 2, kBottom - bh - 3, std::to_string(v), "text-anchor=\"middle\" font-size=\"10\"");
        }
        if (i % 5 == 0 || i + 1 == n) {
            const std::string label = (i + 1 == n ? "≥" : "") + std::to_string(i * h.binPx);
            Text(out, x, kBottom + 16, label, "text-anchor=\"middle\" font-size=\"11\"");
        }
    }
    out += "<line";
    Attr(out, "x1", kLeft);
    Attr(out, "y1", kBottom);
    Attr(out, "x2", kRight);
    Attr(out, "y2", kBottom);
    out += " stroke=\"#000\"/>";
    Text(out, kLeft - 6, kTop + 10, std::to_string(most), "text-anchor=\"end\" font-size=\"10\"");
    Text(out, kLeft - 6, kBottom, "0", "text-anchor=\"end\" font-size=\"10\"");
    const double limitX = kLeft + barW * static_cast<double>(h.limitPx) / static_cast<double>(h.binPx);
    out += "<line";
    Attr(out, "x1", limitX);
    Attr(out, "y1", kTop - 14);
    Attr(out, "x2", limitX);
    Attr(out, "y2", kBottom);
    out += " stroke=\"#000\" stroke-width=\"2\" stroke-dasharray=\"6 3\"/>";
    Text(out, limitX + 5, kTop - 4,
         std::string(report_text::kLimit) + " " + std::to_string(h.limitPx) + " px", "font-weight=\"bold\"");
    Text(out, kRight, kBottom + 30, "px", "text-anchor=\"end\" font-size=\"11\"");
    out += "</svg>";
}

}  // namespace veskaron::site::svg
