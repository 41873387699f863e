// SVG element writers and XML escaping.
#include "common/svg.h"

#include <cmath>
#include <cstdio>

#include "common/shown_text.h"

namespace scenario::tool {

std::string xml_escape(std::string_view text) { return xml_text(text); }

std::string svg_number(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string svg_line(double x1, double y1, double x2, double y2, std::string_view style) {
  return "<line x1=\"" + svg_number(x1) + "\" y1=\"" + svg_number(y1) + "\" x2=\"" + svg_number(x2) +
         "\" y2=\"" + svg_number(y2) + "\" " + std::string(style) + "/>";
}

std::string svg_rect(double x, double y, double w, double h, std::string_view style) {
  return "<rect x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" width=\"" + svg_number(w) +
         "\" height=\"" + svg_number(h) + "\" " + std::string(style) + "/>";
}

std::string svg_circle(double cx, double cy, double r, std::string_view style) {
  return "<circle cx=\"" + svg_number(cx) + "\" cy=\"" + svg_number(cy) + "\" r=\"" + svg_number(r) + "\" " +
         std::string(style) + "/>";
}

namespace {
std::string points_attribute(const std::vector<Point>& points) {
  std::string out;
  for (const auto& [x, y] : points) {
    if (!out.empty()) out += ' ';
    out += svg_number(x) + "," + svg_number(y);
  }
  return out;
}
}  // namespace

std::string svg_polyline(const std::vector<Point>& points, std::string_view style) {
  return "<polyline points=\"" + points_attribute(points) + "\" fill=\"none\" " + std::string(style) + "/>";
}

std::string svg_polygon(const std::vector<Point>& points, std::string_view style) {
  return "<polygon points=\"" + points_attribute(points) + "\" " + std::string(style) + "/>";
}

std::string svg_text(double x, double y, std::string_view text, std::string_view style, double rotate) {
  std::string out = "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" " + std::string(style);
  if (rotate != 0) {
    out += " transform=\"rotate(" + svg_number(rotate) + " " + svg_number(x) + " " + svg_number(y) + ")\"";
  }
  return out + ">" + xml_text(text) + "</text>";
}

std::string svg_group(std::string_view title, const std::vector<std::string>& children) {
  std::string out = "<g>";
  if (!title.empty()) out += "<title>" + xml_text(title) + "</title>";
  for (const std::string& c : children) out += "\n" + c;
  return out + "\n</g>";
}

std::string svg_document(double width, double height, const std::vector<std::string>& elements) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + svg_number(width) + "\" height=\"" +
         svg_number(height) + "\" viewBox=\"0 0 " + svg_number(width) + " " + svg_number(height) +
         "\" font-family=\"sans-serif\">\n";
  out += svg_rect(0, 0, width, height, "class=\"ground\" fill=\"white\"") + "\n";
  for (const std::string& e : elements) out += e + "\n";
  return out + "</svg>\n";
}

}  // namespace scenario::tool
