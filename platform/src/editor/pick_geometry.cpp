// Pieces of entities, and distances and window tests on them.
#include "editor/pick_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "cad/arx.h"
#include "editor/ucs.h"

namespace tessera::editor {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Nested block references deeper than this are not looked into (a block cannot contain
// itself, but a broken drawing could say it does).
constexpr int kMaxBlockNesting = 16;
// Segments an arc becomes when a block's scale distorts it.
constexpr int kSegmentsPerCircle = 72;
// Estimated advance of a character, relative to the text height.
constexpr double kNarrowCharacterWidth = 0.6;
constexpr double kWideCharacterWidth = 1.0;
// A UCS whose XY plane stands this close to edge-on to the world's has no usable inverse map.
constexpr double kLeastPlaneDeterminant = 1e-12;
// Widening of a window mapped back to world coordinates, relative to its coordinates, and at
// least this many drawing units.
constexpr double kRelativeBoxMargin = 1e-9;
constexpr double kLeastBoxMargin = 1e-9;

// A plane affine map: (x, y) -> (a x + b y + tx, c x + d y + ty).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  AcGePoint2d apply(double x, double y) const { return {a * x + b * y + tx, c * x + d * y + ty}; }
  AcGePoint2d apply(const AcGePoint3d& p) const { return apply(p.x, p.y); }
  Affine after(const Affine& inner) const {
    return {a * inner.a + b * inner.c,        a * inner.b + b * inner.d,
            c * inner.a + d * inner.c,        c * inner.b + d * inner.d,
            a * inner.tx + b * inner.ty + tx, c * inner.tx + d * inner.ty + ty};
  }
  // A rotation with a positive uniform scale keeps arcs arcs.
  bool isSimilarity() const {
    return std::fabs(a - d) < 1e-12 && std::fabs(b + c) < 1e-12 && (a * d - b * c) > 0.0;
  }
  double scale() const { return std::hypot(a, c); }
  double rotation() const { return std::atan2(c, a); }
};

double NormalAngle(double angle) {
  angle = std::fmod(angle, kTwoPi);
  return angle < 0.0 ? angle + kTwoPi : angle;
}

// Whether the angle lies on the counter-clockwise sweep from start to end.
bool OnSweep(const ArcPiece& arc, double angle) {
  double sweep = NormalAngle(arc.end - arc.start);
  if (sweep == 0.0 && arc.end != arc.start) sweep = kTwoPi;
  return NormalAngle(angle - arc.start) <= sweep + 1e-12;
}

AcGePoint2d PointAt(const ArcPiece& arc, double angle) {
  return {arc.center.x + arc.radius * std::cos(angle), arc.center.y + arc.radius * std::sin(angle)};
}

double Distance(const AcGePoint2d& p, const AcGePoint2d& q) {
  return std::hypot(p.x - q.x, p.y - q.y);
}

double DistanceToSegment(const Segment& s, const AcGePoint2d& p) {
  double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
  double length2 = dx * dx + dy * dy;
  if (length2 == 0.0) return Distance(s.from, p);
  double t = std::clamp(((p.x - s.from.x) * dx + (p.y - s.from.y) * dy) / length2, 0.0, 1.0);
  return Distance({s.from.x + t * dx, s.from.y + t * dy}, p);
}

double DistanceToArc(const ArcPiece& arc, const AcGePoint2d& p) {
  double angle = std::atan2(p.y - arc.center.y, p.x - arc.center.x);
  if (OnSweep(arc, angle)) return std::fabs(Distance(arc.center, p) - arc.radius);
  return std::min(Distance(PointAt(arc, arc.start), p), Distance(PointAt(arc, arc.end), p));
}

double Cross(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// A box of no area (an empty text) has no inside: every point of its line would count.
bool InsideBox(const Box& box, const AcGePoint2d& p) {
  if (Cross(box.corners[0], box.corners[1], box.corners[2]) == 0.0) return false;
  bool positive = false, negative = false;
  for (int i = 0; i < 4; ++i) {
    double side = Cross(box.corners[i], box.corners[(i + 1) % 4], p);
    positive = positive || side > 0.0;
    negative = negative || side < 0.0;
  }
  return !(positive && negative);
}

bool SegmentsMeet(const Segment& s, const Segment& t) {
  double d1 = Cross(t.from, t.to, s.from), d2 = Cross(t.from, t.to, s.to);
  double d3 = Cross(s.from, s.to, t.from), d4 = Cross(s.from, s.to, t.to);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
    return true;
  return DistanceToSegment(t, s.from) == 0.0 || DistanceToSegment(t, s.to) == 0.0 ||
         DistanceToSegment(s, t.from) == 0.0 || DistanceToSegment(s, t.to) == 0.0;
}

bool ArcMeetsSegment(const ArcPiece& arc, const Segment& s) {
  double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
  double fx = s.from.x - arc.center.x, fy = s.from.y - arc.center.y;
  double a = dx * dx + dy * dy;
  if (a == 0.0) return false;
  double b = 2.0 * (fx * dx + fy * dy);
  double c = fx * fx + fy * fy - arc.radius * arc.radius;
  double discriminant = b * b - 4.0 * a * c;
  if (discriminant < 0.0) return false;
  for (double sign : {-1.0, 1.0}) {
    double t = (-b + sign * std::sqrt(discriminant)) / (2.0 * a);
    if (t < 0.0 || t > 1.0) continue;
    AcGePoint2d hit{s.from.x + t * dx, s.from.y + t * dy};
    if (OnSweep(arc, std::atan2(hit.y - arc.center.y, hit.x - arc.center.x))) return true;
  }
  return false;
}

std::vector<Segment> WindowEdges(const Window& w) {
  AcGePoint2d p0 = w.low, p1{w.high.x, w.low.y}, p2 = w.high, p3{w.low.x, w.high.y};
  return {{p0, p1}, {p1, p2}, {p2, p3}, {p3, p0}};
}

bool ArcInside(const ArcPiece& arc, const Window& window) {
  if (!window.contains(PointAt(arc, arc.start)) || !window.contains(PointAt(arc, arc.end)))
    return false;
  for (double quadrant : {0.0, 0.5 * std::numbers::pi, std::numbers::pi, 1.5 * std::numbers::pi})
    if (OnSweep(arc, quadrant) && !window.contains(PointAt(arc, quadrant))) return false;
  return true;
}

// Collects the pieces of entities under a map from their coordinates to the UCS plane.
class ShapeBuilder {
 public:
  explicit ShapeBuilder(Shape& shape, std::vector<AcDbObjectId>* blocks = nullptr)
      : m_shape(shape), m_blocks(blocks) {}

  void add(const AcDbEntity* entity, const Affine& map, int depth);

 private:
  void segment(const Affine& map, const AcGePoint3d& from, const AcGePoint3d& to) {
    m_shape.segments.push_back({map.apply(from), map.apply(to)});
  }
  void arc(const Affine& map, const AcGePoint3d& center, double radius, double start, double end);
  void bulgeSegment(const Affine& map, const AcGePoint3d& from, const AcGePoint3d& to,
                    double bulge);
  void polyline(const Affine& map, const std::vector<AcGePoint3d>& points,
                const std::vector<double>& bulges, bool closed);
  void text(const Affine& map, const AcDbText* text);
  void blockReference(const AcDbBlockReference* reference, const Affine& map, int depth);
  void points(const AcDbEntity* entity, const Affine& map);

  Shape& m_shape;
  std::vector<AcDbObjectId>* m_blocks;  // block definitions looked into, when asked for
};

void ShapeBuilder::arc(const Affine& map, const AcGePoint3d& center, double radius, double start,
                       double end) {
  if (map.isSimilarity()) {
    double turn = map.rotation();
    bool full = NormalAngle(end - start) == 0.0 && end != start;
    m_shape.arcs.push_back({map.apply(center), radius * map.scale(), NormalAngle(start + turn),
                            full ? NormalAngle(start + turn) + kTwoPi : NormalAngle(end + turn)});
    return;
  }
  double sweep = NormalAngle(end - start);
  if (sweep == 0.0) sweep = kTwoPi;
  int count = std::max(2, static_cast<int>(std::ceil(sweep / kTwoPi * kSegmentsPerCircle)));
  AcGePoint3d previous(center.x + radius * std::cos(start), center.y + radius * std::sin(start), 0);
  for (int i = 1; i <= count; ++i) {
    double angle = start + sweep * i / count;
    AcGePoint3d next(center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), 0);
    segment(map, previous, next);
    previous = next;
  }
}

void ShapeBuilder::bulgeSegment(const Affine& map, const AcGePoint3d& from, const AcGePoint3d& to,
                                double bulge) {
  if (bulge == 0.0) return segment(map, from, to);
  // The centre lies off the chord's middle, to the left for a counter-clockwise bulge.
  double half = from.distanceTo(to) / 2.0;
  if (half == 0.0) return;
  double ux = (to.x - from.x) / (2.0 * half), uy = (to.y - from.y) / (2.0 * half);
  double offset = half * (1.0 - bulge * bulge) / (2.0 * bulge);
  AcGePoint3d center((from.x + to.x) / 2.0 - uy * offset, (from.y + to.y) / 2.0 + ux * offset, 0);
  double radius = half * (1.0 + bulge * bulge) / (2.0 * std::fabs(bulge));
  double a1 = std::atan2(from.y - center.y, from.x - center.x);
  double a2 = std::atan2(to.y - center.y, to.x - center.x);
  if (bulge > 0.0) {
    arc(map, center, radius, a1, a2);
  } else {
    arc(map, center, radius, a2, a1);
  }
}

void ShapeBuilder::polyline(const Affine& map, const std::vector<AcGePoint3d>& points,
                            const std::vector<double>& bulges, bool closed) {
  if (points.size() == 1) return segment(map, points[0], points[0]);
  std::size_t count = closed ? points.size() : points.size() - 1;
  for (std::size_t i = 0; i < count && points.size() > 1; ++i) {
    double bulge = i < bulges.size() ? bulges[i] : 0.0;
    bulgeSegment(map, points[i], points[(i + 1) % points.size()], bulge);
  }
}

void ShapeBuilder::text(const Affine& map, const AcDbText* text) {
  double height = text->height() > 0.0 ? text->height() : 1.0;
  double width = 0.0;
  for (unsigned char c : text->textString()) {
    if (c < 0x80) width += kNarrowCharacterWidth * height * text->widthFactor();
    if (c >= 0xC0) width += kWideCharacterWidth * height * text->widthFactor();
  }
  if (width == 0.0) return;  // an empty text shows nothing to pick or select
  // The box's lower left corner, in the text's own direction, from its alignment.
  double left = 0.0, bottom = 0.0;
  AcGePoint3d anchor = text->position();
  if (!text->isDefaultAlignment()) {
    anchor = text->alignmentPoint();
    AcDb::TextHorzMode horizontal = text->horizontalMode();
    if (horizontal == AcDb::kTextCenter || horizontal == AcDb::kTextMid) left = -width / 2.0;
    if (horizontal == AcDb::kTextRight) left = -width;
    AcDb::TextVertMode vertical = text->verticalMode();
    if (vertical == AcDb::kTextVertMid || horizontal == AcDb::kTextMid) bottom = -height / 2.0;
    if (vertical == AcDb::kTextTop) bottom = -height;
  }
  double cosine = std::cos(text->rotation()), sine = std::sin(text->rotation());
  auto corner = [&](double u, double v) {
    return map.apply(anchor.x + u * cosine - v * sine, anchor.y + u * sine + v * cosine);
  };
  m_shape.boxes.push_back({{corner(left, bottom), corner(left + width, bottom),
                            corner(left + width, bottom + height), corner(left, bottom + height)}});
}

void ShapeBuilder::blockReference(const AcDbBlockReference* reference, const Affine& map,
                                  int depth) {
  AcDbBlockTableRecord* block = nullptr;
  if (m_blocks != nullptr) m_blocks->push_back(reference->blockTableRecord());
  if (depth < kMaxBlockNesting &&
      acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForRead) == Acad::eOk) {
    AcGePoint3d origin = block->origin();
    AcGeScale3d scale = reference->scaleFactors();
    double cosine = std::cos(reference->rotation()), sine = std::sin(reference->rotation());
    AcGePoint3d at = reference->position();
    Affine place{cosine * scale.sx, -sine * scale.sy, sine * scale.sx, cosine * scale.sy, 0, 0};
    AcGePoint2d shifted = place.apply(-origin.x, -origin.y);
    place.tx = at.x + shifted.x;
    place.ty = at.y + shifted.y;
    Affine inner = map.after(place);
    for (const AcDbObjectId& id : block->entityIds()) {
      AcDbEntity* member = nullptr;
      if (id.isErased() || acdbOpenAcDbEntity(member, id, AcDb::kForRead) != Acad::eOk) continue;
      if (AcDbAttributeDefinition::cast(member) == nullptr) add(member, inner, depth + 1);
      member->close();
    }
    block->close();
  }
  for (const AcDbObjectId& id : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (acdbOpenObject(attribute, id, AcDb::kForRead) != Acad::eOk) continue;
    if (!attribute->isInvisible()) text(map, attribute);
    attribute->close();
  }
  // The insertion point always counts, so an empty block can still be picked.
  segment(map, reference->position(), reference->position());
}

void ShapeBuilder::points(const AcDbEntity* entity, const Affine& map) {
  std::vector<AcGePoint3d> defining;
  entity->stretchPoints(defining);
  for (const AcGePoint3d& point : defining) segment(map, point, point);
}

std::vector<double> VertexBulges(const AcDb2dPolyline* polyline) {
  std::vector<double> bulges;
  for (const AcDbObjectId& id : polyline->vertexIds()) {
    AcDb2dVertex* vertex = nullptr;
    double bulge = 0.0;
    if (acdbOpenObject(vertex, id, AcDb::kForRead) == Acad::eOk) {
      bulge = vertex->bulge();
      vertex->close();
    }
    bulges.push_back(bulge);
  }
  return bulges;
}

void ShapeBuilder::add(const AcDbEntity* entity, const Affine& map, int depth) {
  if (auto* line = AcDbLine::cast(entity))
    return segment(map, line->startPoint(), line->endPoint());
  if (auto* circle = AcDbCircle::cast(entity))
    return arc(map, circle->center(), circle->radius(), 0.0, kTwoPi);
  if (auto* arcEntity = AcDbArc::cast(entity))
    return arc(map, arcEntity->center(), arcEntity->radius(), arcEntity->startAngle(),
               arcEntity->endAngle());
  if (auto* light = AcDbPolyline::cast(entity)) {
    std::vector<AcGePoint3d> vertices;
    std::vector<double> bulges;
    for (unsigned int i = 0; i < light->numVerts(); ++i) {
      AcGePoint3d point;
      double bulge = 0.0;
      light->getPointAt(i, point);
      light->getBulgeAt(i, bulge);
      vertices.push_back(point);
      bulges.push_back(bulge);
    }
    return polyline(map, vertices, bulges, light->isClosed());
  }
  if (auto* old = AcDb2dPolyline::cast(entity))
    return polyline(map, old->vertexPositions(), VertexBulges(old), old->isClosed());
  if (auto* spatial = AcDb3dPolyline::cast(entity))
    return polyline(map, spatial->vertexPositions(), {}, spatial->isClosed());
  if (auto* reference = AcDbBlockReference::cast(entity))
    return blockReference(reference, map, depth);
  if (auto* textEntity = AcDbText::cast(entity)) return text(map, textEntity);
  points(entity, map);
}

}  // namespace

Window::Window(const AcGePoint2d& a, const AcGePoint2d& b)
    : low(std::min(a.x, b.x), std::min(a.y, b.y)), high(std::max(a.x, b.x), std::max(a.y, b.y)) {}

bool Window::contains(const AcGePoint2d& p) const {
  return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y;
}

Shape ShapeOf(const AcDbEntity* entity, const AcDbDatabase* database) {
  // World to UCS, in the UCS plane.
  AcGePoint3d origin = WorldToUcs(AcGePoint3d::kOrigin, database);
  AcGeVector3d x = WorldToUcs(AcGeVector3d::kXAxis, database);
  AcGeVector3d y = WorldToUcs(AcGeVector3d::kYAxis, database);
  Affine toUcs{x.x, y.x, x.y, y.y, origin.x, origin.y};
  Shape shape;
  if (entity != nullptr) ShapeBuilder(shape).add(entity, toUcs, 0);
  return shape;
}

Shape WorldShapeOf(const AcDbEntity* entity, std::vector<AcDbObjectId>* blocks) {
  Shape shape;
  if (entity != nullptr) ShapeBuilder(shape, blocks).add(entity, Affine{}, 0);
  return shape;
}

std::optional<Window> ExtentsOf(const Shape& shape) {
  if (shape.empty()) return std::nullopt;
  std::vector<AcGePoint2d> points;
  for (const Segment& s : shape.segments) points.insert(points.end(), {s.from, s.to});
  for (const ArcPiece& arc : shape.arcs) {
    points.push_back({arc.center.x - arc.radius, arc.center.y - arc.radius});
    points.push_back({arc.center.x + arc.radius, arc.center.y + arc.radius});
  }
  for (const Box& box : shape.boxes) points.insert(points.end(), box.corners, box.corners + 4);
  AcGePoint2d low = points.front(), high = points.front();
  for (const AcGePoint2d& p : points) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  return Window(low, high);
}

std::optional<Window> WorldBoxUnder(const Window& ucsWindow, const AcDbDatabase* database) {
  // The inverse of the world-to-UCS map of ShapeOf.
  AcGePoint3d origin = WorldToUcs(AcGePoint3d::kOrigin, database);
  AcGeVector3d x = WorldToUcs(AcGeVector3d::kXAxis, database);
  AcGeVector3d y = WorldToUcs(AcGeVector3d::kYAxis, database);
  double determinant = x.x * y.y - y.x * x.y;
  if (!(std::fabs(determinant) > kLeastPlaneDeterminant)) return std::nullopt;
  auto toWorld = [&](double u, double v) {
    u -= origin.x;
    v -= origin.y;
    return AcGePoint2d{(y.y * u - y.x * v) / determinant, (x.x * v - x.y * u) / determinant};
  };
  const AcGePoint2d corners[] = {
      toWorld(ucsWindow.low.x, ucsWindow.low.y), toWorld(ucsWindow.high.x, ucsWindow.low.y),
      toWorld(ucsWindow.high.x, ucsWindow.high.y), toWorld(ucsWindow.low.x, ucsWindow.high.y)};
  AcGePoint2d low = corners[0], high = corners[0];
  for (const AcGePoint2d& p : corners) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  // Rounding of the map must never leave out an entity on the window's edge.
  double margin = kRelativeBoxMargin * (std::fabs(low.x) + std::fabs(low.y) + std::fabs(high.x) +
                                        std::fabs(high.y) + (high.x - low.x) + (high.y - low.y)) +
                  kLeastBoxMargin;
  return Window({low.x - margin, low.y - margin}, {high.x + margin, high.y + margin});
}

double DistanceTo(const Shape& shape, const AcGePoint2d& point) {
  double best = std::numeric_limits<double>::infinity();
  for (const Segment& segment : shape.segments)
    best = std::min(best, DistanceToSegment(segment, point));
  for (const ArcPiece& arc : shape.arcs) best = std::min(best, DistanceToArc(arc, point));
  for (const Box& box : shape.boxes) {
    if (InsideBox(box, point)) return 0.0;
    for (int i = 0; i < 4; ++i)
      best = std::min(best, DistanceToSegment({box.corners[i], box.corners[(i + 1) % 4]}, point));
  }
  return best;
}

bool InsideWindow(const Shape& shape, const Window& window) {
  if (shape.empty()) return false;
  for (const Segment& s : shape.segments)
    if (!window.contains(s.from) || !window.contains(s.to)) return false;
  for (const ArcPiece& arc : shape.arcs)
    if (!ArcInside(arc, window)) return false;
  for (const Box& box : shape.boxes)
    for (const AcGePoint2d& corner : box.corners)
      if (!window.contains(corner)) return false;
  return true;
}

bool CrossesWindow(const Shape& shape, const Window& window) {
  std::vector<Segment> edges = WindowEdges(window);
  for (const Segment& s : shape.segments) {
    if (window.contains(s.from) || window.contains(s.to)) return true;
    for (const Segment& edge : edges)
      if (SegmentsMeet(s, edge)) return true;
  }
  for (const ArcPiece& arc : shape.arcs) {
    if (window.contains(PointAt(arc, arc.start)) || window.contains(PointAt(arc, arc.end)))
      return true;
    for (const Segment& edge : edges)
      if (ArcMeetsSegment(arc, edge)) return true;
  }
  for (const Box& box : shape.boxes) {
    for (const AcGePoint2d& corner : box.corners)
      if (window.contains(corner)) return true;
    if (InsideBox(box, window.low)) return true;
    for (int i = 0; i < 4; ++i)
      for (const Segment& edge : edges)
        if (SegmentsMeet({box.corners[i], box.corners[(i + 1) % 4]}, edge)) return true;
  }
  return false;
}

}  // namespace tessera::editor
