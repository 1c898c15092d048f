// The picture being drawn: SVG elements in drawing order, from coordinates in drawing units with
// the Y axis up. The canvas turns the Y axis down, as SVG has it, keeps the extents of what it
// was given, and makes the finished document with a view box that fits them.
#pragma once

#include <optional>
#include <string>

#include "svg/plane.h"

namespace tessera::svg {

// An outline made of straight and circular pieces, in drawing coordinates.
class Path {
 public:
  void moveTo(Point2 p);
  void lineTo(Point2 p);
  // A circular piece to `to`, turning counter-clockwise (as seen with Y up) or clockwise.
  // `extentPoints` are points along it, for the picture's extents.
  void arcTo(Point2 to, double radius, bool largeArc, bool counterClockwise,
             const std::vector<Point2>& extentPoints);
  void close();
  bool empty() const { return m_data.empty(); }
  const std::string& data() const { return m_data; }
  const Box& extents() const { return m_extents; }

 private:
  std::string m_data;
  Box m_extents;
};

enum class TextAnchor { kStart, kMiddle, kEnd };
enum class TextBaseline { kAlphabetic, kBottom, kMiddle, kTop };

// One line of text, placed at its anchor point and turned about it.
struct TextItem {
  std::string text;  // UTF-8, as it is to be shown
  Point2 anchor;
  double angle = 0.0;  // radians, counter-clockwise from +X
  double height = 0.0;
  double widthFactor = 1.0;
  TextAnchor horizontal = TextAnchor::kStart;
  TextBaseline vertical = TextBaseline::kAlphabetic;
  // For texts fitted between two points: the length the text is stretched or squeezed to.
  std::optional<double> fittedLength;
};

class Canvas {
 public:
  void line(Point2 from, Point2 to, const std::string& color);
  void circle(Point2 center, double radius, const std::string& color);
  void path(const Path& path, const std::string& color);
  void text(const TextItem& item, const std::string& color);

  const Box& extents() const { return m_extents; }
  // The whole SVG document: the elements so far on a white sheet that fits their extents.
  std::string document() const;

 private:
  std::string m_body;
  Box m_extents;
};

}  // namespace tessera::svg
