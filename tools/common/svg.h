// Hand-written SVG: escaped text and the few shapes the plot draws.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario::tool {

// Text made safe for XML character data and attribute values: the files'
// 8-bit text decoded as Latin-1, unprintable bytes shown as visible escapes
// (xml_text of common/shown_text.h).
std::string xml_escape(std::string_view text);

// A coordinate: at most two decimals, no trailing zeros.
std::string svg_number(double v);

using Point = std::pair<double, double>;

std::string svg_line(double x1, double y1, double x2, double y2, std::string_view style);
std::string svg_rect(double x, double y, double w, double h, std::string_view style);
std::string svg_circle(double cx, double cy, double r, std::string_view style);
std::string svg_polyline(const std::vector<Point>& points, std::string_view style);
std::string svg_polygon(const std::vector<Point>& points, std::string_view style);
// `style` holds attributes such as font-size or text-anchor; `rotate` turns
// the text about its anchor, in degrees.
std::string svg_text(double x, double y, std::string_view text, std::string_view style, double rotate = 0);

// One group of elements (a marker, its leader and its label) under a
// tooltip: `title` is shown when the pointer rests on any of them. An empty
// title gives a group without tooltip.
std::string svg_group(std::string_view title, const std::vector<std::string>& children);

// The whole document around the given elements.
std::string svg_document(double width, double height, const std::vector<std::string>& elements);

}  // namespace scenario::tool
