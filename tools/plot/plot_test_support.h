// For the plot tests: the drawn page read back from its SVG, its elements, groups, tooltips and geometry.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace scenario::tool::testing_plot {

// One element of the page: its tag, attributes, the text of a <text>, and
// the group it stands in (0: none) with that group's tooltip.
struct Element {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string text;  // decoded, UTF-8
  int group = 0;
  std::string title;  // the group's <title>, decoded

  std::string at(const std::string& name) const {
    auto it = attributes.find(name);
    return it == attributes.end() ? "" : it->second;
  }
  double number(const std::string& name) const { return std::stod(at(name)); }
};

inline std::string xml_decoded(std::string t) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (std::size_t at = t.find(from); at != std::string::npos; at = t.find(from, at + 1)) {
      t.replace(at, std::string(from).size(), to);
    }
  }
  return t;
}

inline std::map<std::string, std::string> attributes_of(const std::string& tag_text) {
  std::map<std::string, std::string> out;
  std::size_t at = tag_text.find(' ');
  while (at != std::string::npos) {
    const std::size_t eq = tag_text.find("=\"", at);
    if (eq == std::string::npos) break;
    const std::size_t end = tag_text.find('"', eq + 2);
    std::string name = tag_text.substr(at + 1, eq - at - 1);
    name.erase(0, name.find_first_not_of(' '));
    out[name] = xml_decoded(tag_text.substr(eq + 2, end - eq - 2));
    at = tag_text.find(' ', end);
  }
  return out;
}

// Every drawn element of the page, in order, with its group.
inline std::vector<Element> elements_of(const std::string& page) {
  std::vector<Element> out;
  int group = 0, groups = 0;
  std::string title;
  for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
    const std::size_t close = page.find('>', at);
    const std::string tag_text = page.substr(at + 1, close - at - 1);
    const bool closing = !tag_text.empty() && tag_text.front() == '/';
    const std::string name = tag_text.substr(closing ? 1 : 0, tag_text.find_first_of(" />", 1) - (closing ? 1 : 0));
    const std::string tag = (closing ? "/" : "") + name;
    if (tag == "g") {
      group = ++groups;
      title.clear();
    } else if (tag == "/g") {
      group = 0;
      title.clear();
    } else if (tag == "title") {
      const std::size_t end = page.find("</title>", close);
      title = xml_decoded(page.substr(close + 1, end - close - 1));
    } else if (tag == "text" || tag == "rect" || tag == "circle" || tag == "line" || tag == "polyline" ||
               tag == "polygon") {
      Element e{tag, attributes_of(tag_text), "", group, title};
      if (tag == "text") e.text = xml_decoded(page.substr(close + 1, page.find("</text>", close) - close - 1));
      out.push_back(e);
    }
  }
  return out;
}

struct TextArea {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

inline std::size_t characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// A text's box estimated from the font size and the text's length: 0.7 em a
// character, from 0.8 font sizes above the baseline to 0.25 below.
inline TextArea box_of_text(const Element& t) {
  const double size = t.number("font-size");
  const double w = 0.7 * size * static_cast<double>(characters(t.text));
  const std::string anchor = t.at("text-anchor");
  const double x = t.number("x"), y = t.number("y");
  const double left = anchor == "middle" ? x - w / 2 : anchor == "end" ? x - w : x;
  return {left, y - 0.8 * size, left + w, y + 0.25 * size};
}

inline bool overlap(const TextArea& a, const TextArea& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

using Pt = std::pair<double, double>;

inline std::vector<Pt> points_of(const Element& e) {
  std::vector<Pt> out;
  const std::string list = e.at("points");
  std::size_t at = 0;
  while (at < list.size()) {
    const std::size_t comma = list.find(',', at);
    std::size_t end = list.find(' ', comma);
    if (end == std::string::npos) end = list.size();
    out.push_back({std::stod(list.substr(at, comma - at)), std::stod(list.substr(comma + 1, end - comma - 1))});
    at = end + 1;
  }
  return out;
}

// Whether the segment a-b passes through the inside of the box (clipped
// against each side in turn).
inline bool segment_crosses(Pt a, Pt b, const TextArea& r) {
  double t0 = 0, t1 = 1;
  const double dx = b.first - a.first, dy = b.second - a.second;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {a.first - r.x0, r.x1 - a.first, a.second - r.y0, r.y1 - a.second};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] <= 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  return t0 < t1;
}

// The ground (backgrounds, grid lines, bands) that labels may stand on.
inline bool is_ground(const Element& e) { return e.at("class") == "ground"; }

// Whether a shape covers any part of the box: a filled shape by its area (a
// polygon's or circle's bounding box), a line, a polyline or an unfilled
// rectangle by its strokes.
inline bool shape_covers(const Element& e, const TextArea& box) {
  if (e.tag == "line") {
    return segment_crosses({e.number("x1"), e.number("y1")}, {e.number("x2"), e.number("y2")}, box);
  }
  if (e.tag == "polyline") {
    const std::vector<Pt> p = points_of(e);
    for (std::size_t i = 1; i < p.size(); ++i) {
      if (segment_crosses(p[i - 1], p[i], box)) return true;
    }
    return false;
  }
  if (e.tag == "rect") {
    const double x = e.number("x"), y = e.number("y"), w = e.number("width"), h = e.number("height");
    if (e.at("fill") == "none") {
      return segment_crosses({x, y}, {x + w, y}, box) || segment_crosses({x, y + h}, {x + w, y + h}, box) ||
             segment_crosses({x, y}, {x, y + h}, box) || segment_crosses({x + w, y}, {x + w, y + h}, box);
    }
    return overlap({x, y, x + w, y + h}, box);
  }
  if (e.tag == "circle") {
    const double cx = e.number("cx"), cy = e.number("cy"), r = e.number("r");
    return overlap({cx - r, cy - r, cx + r, cy + r}, box);
  }
  if (e.tag == "polygon") {
    const std::vector<Pt> p = points_of(e);
    TextArea b{1e18, 1e18, -1e18, -1e18};
    for (const auto& [x, y] : p) b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
    return overlap(b, box);
  }
  return false;
}

}  // namespace scenario::tool::testing_plot
