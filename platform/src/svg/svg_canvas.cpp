// The picture being drawn.
#include "svg/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "svg/svg_text.h"

namespace tessera::svg {
namespace {

// The picture's longest side on screen, in pixels; the view box scales into it.
constexpr double kPictureSize = 1200.0;
// Lines are drawn this many pixels wide at the picture's own size, whatever the drawing's units.
constexpr double kStrokePixels = 1.5;
// Blank space around the drawing, as a share of its larger side.
constexpr double kMarginShare = 0.05;
// The smallest margin, and the size of a picture of an empty drawing, in drawing units.
constexpr double kMinimumMargin = 1.0;
constexpr double kEmptyDrawingSize = 100.0;
constexpr const char* kFontFamily = "'Noto Sans CJK JP', 'Noto Sans JP', sans-serif";
// How far a text's em box reaches below and above its base line, in text heights.
constexpr double kDescent = 0.12;
constexpr double kAscent = 0.88;

std::string X(Point2 p) {
  return FormatNumber(p.x);
}
// Drawings have Y up; SVG has it down.
std::string Y(Point2 p) {
  return FormatNumber(-p.y);
}

const char* AnchorName(TextAnchor anchor) {
  switch (anchor) {
    case TextAnchor::kMiddle:
      return "middle";
    case TextAnchor::kEnd:
      return "end";
    default:
      return "start";
  }
}

// How far below the text's point its base line lies, in text heights, so that the point sits
// where the drawing's vertical alignment puts it on the font's em box (a CJK font's glyphs fill
// the box from 0.12 below the base line to 0.88 above it). A shift rather than a CSS baseline,
// which not every SVG viewer honours.
double BaselineShift(TextBaseline baseline) {
  switch (baseline) {
    case TextBaseline::kBottom:
      return -kDescent;
    case TextBaseline::kMiddle:
      return (kAscent - kDescent) / 2;
    case TextBaseline::kTop:
      return kAscent;
    default:
      return 0.0;
  }
}

// The text's box along its own base line: [left, right] x [bottom, top] from the anchor.
void TextBox(const TextItem& item, double& left, double& right, double& bottom, double& top) {
  const double width =
      item.fittedLength.value_or(EstimateTextWidth(item.text, item.height) * item.widthFactor);
  left = item.horizontal == TextAnchor::kStart    ? 0.0
         : item.horizontal == TextAnchor::kMiddle ? -width / 2
                                                  : -width;
  right = left + width;
  bottom = -(BaselineShift(item.vertical) + kDescent) * item.height;
  top = bottom + (kAscent + kDescent) * item.height;
}

Box TextExtents(const TextItem& item) {
  double left = 0, right = 0, bottom = 0, top = 0;
  TextBox(item, left, right, bottom, top);
  const Affine2 place =
      Affine2::translation(item.anchor.x, item.anchor.y).after(Affine2::rotation(item.angle));
  Box box;
  for (Point2 corner :
       {Point2{left, bottom}, Point2{right, bottom}, Point2{right, top}, Point2{left, top}})
    box.add(place.apply(corner));
  return box;
}

// The transform attribute of a text: its turn about the anchor, and its width factor.
std::string TextTransform(const TextItem& item) {
  std::string transform;
  const double degrees = item.angle * 180.0 / std::numbers::pi;
  if (FormatNumber(degrees) != "0")
    transform =
        "rotate(" + FormatNumber(-degrees) + " " + X(item.anchor) + " " + Y(item.anchor) + ")";
  if (!item.fittedLength && item.widthFactor != 1.0) {
    // Scale along the base line about the anchor.
    const std::string x = X(item.anchor), y = Y(item.anchor);
    transform += (transform.empty() ? "" : " ") + std::string("translate(") + x + " " + y +
                 ") scale(" + FormatNumber(item.widthFactor) + " 1) translate(" +
                 FormatNumber(-item.anchor.x) + " " + FormatNumber(item.anchor.y) + ")";
  }
  return transform;
}

}  // namespace

void Path::moveTo(Point2 p) {
  m_data += (m_data.empty() ? "M " : " M ") + X(p) + " " + Y(p);
  m_extents.add(p);
}

void Path::lineTo(Point2 p) {
  m_data += " L " + X(p) + " " + Y(p);
  m_extents.add(p);
}

void Path::arcTo(Point2 to, double radius, bool largeArc, bool counterClockwise,
                 const std::vector<Point2>& extentPoints) {
  const std::string r = FormatNumber(radius);
  // Turned Y down, a counter-clockwise arc runs the way SVG calls negative.
  m_data += " A " + r + " " + r + " 0 " + (largeArc ? "1 " : "0 ") +
            (counterClockwise ? "0 " : "1 ") + X(to) + " " + Y(to);
  for (Point2 p : extentPoints) m_extents.add(p);
  m_extents.add(to);
}

void Path::close() {
  m_data += " Z";
}

void Canvas::line(Point2 from, Point2 to, const std::string& color) {
  m_body += "<line x1=\"" + X(from) + "\" y1=\"" + Y(from) + "\" x2=\"" + X(to) + "\" y2=\"" +
            Y(to) + "\" stroke=\"" + color + "\"/>\n";
  m_extents.add(from);
  m_extents.add(to);
}

void Canvas::circle(Point2 center, double radius, const std::string& color) {
  m_body += "<circle cx=\"" + X(center) + "\" cy=\"" + Y(center) + "\" r=\"" +
            FormatNumber(radius) + "\" stroke=\"" + color + "\"/>\n";
  m_extents.add(center - Point2{radius, radius});
  m_extents.add(center + Point2{radius, radius});
}

void Canvas::path(const Path& path, const std::string& color) {
  if (path.empty()) return;
  m_body += "<path d=\"" + path.data() + "\" stroke=\"" + color + "\"/>\n";
  m_extents.add(path.extents());
}

void Canvas::text(const TextItem& item, const std::string& color) {
  if (item.text.empty() || !(item.height > 0)) return;
  m_body += "<text x=\"" + X(item.anchor) + "\" y=\"" + Y(item.anchor) + "\" font-size=\"" +
            FormatNumber(item.height) + "\"";
  if (item.horizontal != TextAnchor::kStart)
    m_body += std::string(" text-anchor=\"") + AnchorName(item.horizontal) + "\"";
  if (const double shift = BaselineShift(item.vertical); shift != 0.0)
    m_body += " dy=\"" + FormatNumber(shift * item.height) + "\"";
  if (item.fittedLength)
    m_body += " textLength=\"" + FormatNumber(*item.fittedLength) +
              "\" lengthAdjust=\"spacingAndGlyphs\"";
  const std::string transform = TextTransform(item);
  if (!transform.empty()) m_body += " transform=\"" + transform + "\"";
  m_body += " fill=\"" + color + "\">" + EscapeXml(item.text) + "</text>\n";
  m_extents.add(TextExtents(item));
}

std::string Canvas::document() const {
  Point2 low{0, 0}, high{kEmptyDrawingSize, kEmptyDrawingSize};
  if (!m_extents.empty()) {
    low = m_extents.min();
    high = m_extents.max();
  }
  const double larger = std::max(high.x - low.x, high.y - low.y);
  const double margin = std::max(kMarginShare * larger, kMinimumMargin);
  const double width = high.x - low.x + 2 * margin;
  const double height = high.y - low.y + 2 * margin;
  const double pixels = kPictureSize / std::max(width, height);
  const std::string box = FormatNumber(low.x - margin) + " " + FormatNumber(-high.y - margin) +
                          " " + FormatNumber(width) + " " + FormatNumber(height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + FormatNumber(width * pixels) +
         "\" height=\"" + FormatNumber(height * pixels) + "\" viewBox=\"" + box + "\">\n";
  out += "<rect x=\"" + FormatNumber(low.x - margin) + "\" y=\"" + FormatNumber(-high.y - margin) +
         "\" width=\"" + FormatNumber(width) + "\" height=\"" + FormatNumber(height) +
         "\" fill=\"#ffffff\"/>\n";
  out += "<g fill=\"none\" stroke-width=\"" + FormatNumber(kStrokePixels / pixels) +
         "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" font-family=\"" + kFontFamily +
         "\" xml:space=\"preserve\">\n";
  out += m_body;
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace tessera::svg
