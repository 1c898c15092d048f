// Model space drawn as SVG: every entity kind a land drawing holds, block references with their
// contents and visible attributes, each in the colour its layer (or itself) gives it.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <unordered_map>

#include "cad/db_database.h"
#include "platform/replaced_file.h"
#include "platform/svg.h"
#include "svg/svg_canvas.h"
#include "svg/svg_colors.h"
#include "svg/svg_text.h"

namespace tessera {
namespace svg {
namespace {

// Block references nest no deeper than this; a file whose blocks refer to themselves ends here.
constexpr int kMaxBlockNesting = 16;
// Curves that a block's scaling makes elliptic are drawn as chords of at most 5 degrees.
constexpr double kCurveStep = std::numbers::pi / 36;
// A bulge below this is a straight segment (the arc would bulge a millionth of its chord).
constexpr double kStraightBulge = 1e-6;
// A sweep this close to a full turn is drawn as a whole circle.
constexpr double kFullTurnTolerance = 1e-9;
constexpr Adesk::UInt16 kColorByBlock = 0;
constexpr Adesk::UInt16 kColorByLayer = 256;
constexpr const char* kLayerZero = "0";

struct LayerLook {
  int color = kForegroundColorIndex;
  bool visible = true;
};

// What the entities of a block take from the reference that shows them.
struct Context {
  Affine2 toWorld;  // the block's coordinates to the world's XY plane
  int byBlockColor = kForegroundColorIndex;
  AcDbObjectId layerForZero;  // the layer entities on layer "0" take; null at the top level
  int depth = 0;
};

// How an entity looks: its colour, or that it is not shown.
struct Look {
  bool visible = false;
  int colorIndex = kForegroundColorIndex;
  AcDbObjectId layer;
};

struct Vertex2 {
  Point2 point;
  double bulge = 0.0;
};

Point2 Xy(const AcGePoint3d& p) {
  return {p.x, p.y};
}

// Adds an arc given in a local system to a path, drawn through `map` into the world.
void AppendArc(Path& path, const Arc& arc, const Affine2& map, bool startsPath) {
  std::vector<Point2> samples = SampleArc(arc, kCurveStep);
  for (Point2& p : samples) p = map.apply(p);
  if (startsPath) path.moveTo(samples.front());
  if (!map.isConformal()) {
    for (std::size_t i = 1; i < samples.size(); ++i) path.lineTo(samples[i]);
    return;
  }
  const double radius = arc.radius * map.scale();
  const bool counterClockwise = map.determinant() > 0;
  const bool fullTurn = arc.sweep >= 2 * std::numbers::pi - kFullTurnTolerance;
  if (fullTurn) {
    // One SVG arc cannot end where it starts: two halves.
    const Point2 half = map.apply(arc.pointAt(arc.start + arc.sweep / 2));
    path.arcTo(half, radius, false, counterClockwise, samples);
  }
  path.arcTo(samples.back(), radius, !fullTurn && arc.sweep > std::numbers::pi, counterClockwise,
             samples);
}

// A polyline segment from p0 to p1 with the bulge of p0.
void AppendSegment(Path& path, Point2 p0, Point2 p1, double bulge, const Affine2& map) {
  if (std::abs(bulge) < kStraightBulge || Length(p1 - p0) == 0.0) {
    path.lineTo(map.apply(p1));
    return;
  }
  const Arc arc = BulgeArc(p0, p1, bulge);
  if (bulge > 0) {
    AppendArc(path, arc, map, false);
    return;
  }
  // A clockwise segment: the arc runs from p1 to p0, so draw it the other way round.
  if (map.isConformal()) {
    std::vector<Point2> samples = SampleArc(arc, kCurveStep);
    for (Point2& p : samples) p = map.apply(p);
    path.arcTo(map.apply(p1), arc.radius * map.scale(), std::abs(bulge) > 1, map.determinant() < 0,
               samples);
    return;
  }
  std::vector<Point2> samples = SampleArc(arc, kCurveStep);
  for (auto it = samples.rbegin() + 1; it != samples.rend(); ++it) path.lineTo(map.apply(*it));
}

Path PolylinePath(const std::vector<Vertex2>& vertices, bool closed, const Affine2& map) {
  Path path;
  if (vertices.empty()) return path;
  path.moveTo(map.apply(vertices.front().point));
  for (std::size_t i = 0; i + 1 < vertices.size(); ++i)
    AppendSegment(path, vertices[i].point, vertices[i + 1].point, vertices[i].bulge, map);
  if (closed && vertices.size() > 1) {
    AppendSegment(path, vertices.back().point, vertices.front().point, vertices.back().bulge, map);
    path.close();
  }
  return path;
}

TextAnchor AnchorOf(AcDb::TextHorzMode mode) {
  switch (mode) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
      return TextAnchor::kMiddle;
    case AcDb::kTextRight:
      return TextAnchor::kEnd;
    default:
      return TextAnchor::kStart;
  }
}

TextBaseline BaselineOf(AcDb::TextHorzMode horizontal, AcDb::TextVertMode vertical) {
  if (horizontal == AcDb::kTextMid) return TextBaseline::kMiddle;
  switch (vertical) {
    case AcDb::kTextBottom:
      return TextBaseline::kBottom;
    case AcDb::kTextVertMid:
      return TextBaseline::kMiddle;
    case AcDb::kTextTop:
      return TextBaseline::kTop;
    default:
      return TextBaseline::kAlphabetic;
  }
}

bool IsFitted(AcDb::TextHorzMode mode) {
  return mode == AcDb::kTextAlign || mode == AcDb::kTextFit;
}

class Painter {
 public:
  Painter(AcDbDatabase* database, Canvas& canvas) : m_database(database), m_canvas(canvas) {}

  void paintModelSpace() {
    const std::vector<AcDbObjectId> ids = modelSpaceIds();
    const Context top;
    for (AcDbObjectId id : ids) paintEntity(id, top);
  }

 private:
  std::vector<AcDbObjectId> modelSpaceIds() const {
    AcDbBlockTable* table = nullptr;
    if (m_database->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return {};
    AcDbObjectId modelSpace;
    const Acad::ErrorStatus status = table->getAt(ACDB_MODEL_SPACE, modelSpace);
    table->close();
    return status == Acad::eOk ? blockEntityIds(modelSpace) : std::vector<AcDbObjectId>{};
  }

  static std::vector<AcDbObjectId> blockEntityIds(AcDbObjectId blockId) {
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) return {};
    std::vector<AcDbObjectId> ids = block->entityIds();
    block->close();
    return ids;
  }

  void paintEntity(AcDbObjectId id, const Context& context) {
    if (id.isNull() || id.isErased()) return;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return;
    const Look look = lookOf(entity, context);
    if (look.visible) paint(entity, look, context);
    entity->close();
  }

  void paint(const AcDbEntity* entity, const Look& look, const Context& context) {
    const std::string color = ColorForIndex(look.colorIndex);
    if (auto* line = AcDbLine::cast(entity)) {
      m_canvas.line(context.toWorld.apply(Xy(line->startPoint())),
                    context.toWorld.apply(Xy(line->endPoint())), color);
    } else if (auto* circle = AcDbCircle::cast(entity)) {
      paintCircle(circle, context, color);
    } else if (auto* arc = AcDbArc::cast(entity)) {
      paintArc(arc, context, color);
    } else if (auto* polyline = AcDbPolyline::cast(entity)) {
      paintPolyline(polyline, context, color);
    } else if (auto* polyline2d = AcDb2dPolyline::cast(entity)) {
      paintPolyline2d(polyline2d, context, color);
    } else if (auto* polyline3d = AcDb3dPolyline::cast(entity)) {
      paintPolyline3d(polyline3d, context, color);
    } else if (auto* definition = AcDbAttributeDefinition::cast(entity)) {
      // A definition shows its tag where it stands in model space; in a reference the
      // reference's attributes show instead.
      if (context.depth == 0) paintText(definition, definition->tag(), context, color);
    } else if (auto* text = AcDbText::cast(entity)) {
      paintText(text, text->textString(), context, color);
    } else if (auto* reference = AcDbBlockReference::cast(entity)) {
      paintReference(reference, look, context);
    }
  }

  Look lookOf(const AcDbEntity* entity, const Context& context) {
    Look look;
    look.layer = entity->layer() == kLayerZero && !context.layerForZero.isNull()
                     ? context.layerForZero
                     : entity->layerId();
    const LayerLook layer = layerLook(look.layer);
    look.visible = layer.visible;
    const Adesk::UInt16 color = entity->colorIndex();
    look.colorIndex = color == kColorByLayer   ? layer.color
                      : color == kColorByBlock ? context.byBlockColor
                                               : color;
    return look;
  }

  LayerLook layerLook(AcDbObjectId layerId) {
    const auto found = m_layers.find(layerId.stub());
    if (found != m_layers.end()) return found->second;
    LayerLook look;
    AcDbLayerTableRecord* layer = nullptr;
    if (!layerId.isNull() && acdbOpenObject(layer, layerId, AcDb::kForRead) == Acad::eOk) {
      const int color = layer->colorIndex();
      look.color = color >= 1 && color <= 255 ? color : kForegroundColorIndex;
      look.visible = !layer->isOff() && !layer->isFrozen();
      layer->close();
    }
    m_layers.emplace(layerId.stub(), look);
    return look;
  }

  void paintCircle(const AcDbCircle* circle, const Context& context, const std::string& color) {
    const Affine2 map = context.toWorld.after(Affine2::objectSystem(circle->normal()));
    if (map.isConformal()) {
      m_canvas.circle(context.toWorld.apply(Xy(circle->center())), circle->radius() * map.scale(),
                      color);
      return;
    }
    Arc whole{Xy(circle->center()), circle->radius(), 0.0, 2 * std::numbers::pi};
    paintArcShape(whole, circle->normal(), context, color);
  }

  void paintArc(const AcDbArc* arc, const Context& context, const std::string& color) {
    const double sweep = CounterClockwiseSweep(arc->startAngle(), arc->endAngle());
    paintArcShape({Xy(arc->center()), arc->radius(), arc->startAngle(), sweep}, arc->normal(),
                  context, color);
  }

  // The centre is in world coordinates; the angles count in the plane of the normal.
  void paintArcShape(const Arc& arc, const AcGeVector3d& normal, const Context& context,
                     const std::string& color) {
    const Affine2 map = context.toWorld.after(Affine2::translation(arc.center.x, arc.center.y))
                            .after(Affine2::objectSystem(normal));
    Path path;
    AppendArc(path, {{0, 0}, arc.radius, arc.start, arc.sweep}, map, true);
    m_canvas.path(path, color);
  }

  void paintPolyline(const AcDbPolyline* polyline, const Context& context,
                     const std::string& color) {
    std::vector<Vertex2> vertices(polyline->numVerts());
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
      AcGePoint2d point;
      polyline->getPointAt(i, point);
      polyline->getBulgeAt(i, vertices[i].bulge);
      vertices[i].point = {point.x, point.y};
    }
    const Affine2 map = context.toWorld.after(Affine2::objectSystem(polyline->normal()));
    m_canvas.path(PolylinePath(vertices, polyline->isClosed(), map), color);
  }

  void paintPolyline2d(const AcDb2dPolyline* polyline, const Context& context,
                       const std::string& color) {
    std::vector<Vertex2> vertices;
    for (AcDbObjectId id : polyline->vertexIds()) {
      AcDb2dVertex* vertex = nullptr;
      if (acdbOpenObject(vertex, id, AcDb::kForRead) != Acad::eOk) continue;
      // Spline frames are not drawn; their fitted vertices are.
      if (vertex->vertexType() != AcDb::k2dSplineCtlVertex)
        vertices.push_back({Xy(vertex->position()), vertex->bulge()});
      vertex->close();
    }
    const Affine2 map = context.toWorld.after(Affine2::objectSystem(polyline->normal()));
    m_canvas.path(PolylinePath(vertices, polyline->isClosed(), map), color);
  }

  void paintPolyline3d(const AcDb3dPolyline* polyline, const Context& context,
                       const std::string& color) {
    std::vector<Vertex2> vertices;
    for (const AcGePoint3d& p : polyline->vertexPositions()) vertices.push_back({Xy(p), 0.0});
    m_canvas.path(PolylinePath(vertices, polyline->isClosed(), context.toWorld), color);
  }

  void paintText(const AcDbText* text, const std::string& content, const Context& context,
                 const std::string& color) {
    const AcDb::TextHorzMode horizontal = text->horizontalMode();
    const AcDb::TextVertMode vertical = text->verticalMode();
    const bool atPosition = text->isDefaultAlignment() || IsFitted(horizontal);
    const Affine2 plane = context.toWorld.after(Affine2::objectSystem(text->normal()));
    const double rotation = text->rotation();
    const Point2 along = plane.applyVector({std::cos(rotation), std::sin(rotation)});
    const Point2 up = plane.applyVector({-std::sin(rotation), std::cos(rotation)});
    const double height = text->height() > 0 ? text->height() : m_database->textsize();

    TextItem item;
    item.text = ExpandSpecialCodes(content);
    item.anchor = context.toWorld.apply(Xy(atPosition ? text->position() : text->alignmentPoint()));
    item.angle = std::atan2(along.y, along.x);
    item.height = height * Length(up);
    item.widthFactor = Length(up) > 0 ? text->widthFactor() * Length(along) / Length(up) : 1.0;
    item.horizontal = AnchorOf(horizontal);
    item.vertical = BaselineOf(horizontal, vertical);
    if (IsFitted(horizontal)) fitBetween(item, context.toWorld.apply(Xy(text->alignmentPoint())));
    m_canvas.text(item, color);
  }

  // An aligned or fitted text runs from its position to its alignment point.
  static void fitBetween(TextItem& item, Point2 end) {
    const Point2 run = end - item.anchor;
    if (Length(run) == 0.0) return;
    item.angle = std::atan2(run.y, run.x);
    item.fittedLength = Length(run);
  }

  void paintReference(const AcDbBlockReference* reference, const Look& look,
                      const Context& context) {
    Context inner;
    inner.byBlockColor = look.colorIndex;
    inner.layerForZero = look.layer;
    inner.depth = context.depth + 1;
    inner.toWorld = context.toWorld.after(blockToReference(reference));
    if (enterBlock(reference->blockTableRecord(), inner.depth)) {
      for (AcDbObjectId id : blockEntityIds(reference->blockTableRecord())) paintEntity(id, inner);
      m_blockStack.pop_back();
    }
    // Attributes stand in the world already: only what they inherit comes from the reference.
    Context attributes = inner;
    attributes.toWorld = context.toWorld;
    for (AcDbObjectId id : reference->attributeIds()) paintAttribute(id, attributes);
  }

  bool enterBlock(AcDbObjectId block, int depth) {
    if (depth > kMaxBlockNesting) return false;
    for (AcDbObjectId open : m_blockStack)
      if (open == block) return false;
    m_blockStack.push_back(block);
    return true;
  }

  // Block coordinates to the reference's: less the block's origin, scaled, turned in the plane of
  // the reference's normal, and moved to its position.
  static Affine2 blockToReference(const AcDbBlockReference* reference) {
    AcGePoint3d origin;
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForRead) == Acad::eOk) {
      origin = block->origin();
      block->close();
    }
    const AcGeScale3d scale = reference->scaleFactors();
    const AcGePoint3d position = reference->position();
    return Affine2::translation(position.x, position.y)
        .after(Affine2::objectSystem(reference->normal()))
        .after(Affine2::rotation(reference->rotation()))
        .after(Affine2::scaling(scale.sx, scale.sy))
        .after(Affine2::translation(-origin.x, -origin.y));
  }

  void paintAttribute(AcDbObjectId id, const Context& context) {
    if (id.isErased()) return;
    AcDbAttribute* attribute = nullptr;
    if (acdbOpenObject(attribute, id, AcDb::kForRead) != Acad::eOk) return;
    const Look look = lookOf(attribute, context);
    if (look.visible && !attribute->isInvisible())
      paintText(attribute, attribute->textString(), context, ColorForIndex(look.colorIndex));
    attribute->close();
  }

  AcDbDatabase* m_database;
  Canvas& m_canvas;
  std::unordered_map<AcDbStub*, LayerLook> m_layers;
  std::vector<AcDbObjectId> m_blockStack;  // the blocks being drawn, outermost first
};

}  // namespace
}  // namespace svg

std::string RenderSvgText(AcDbDatabase* database) {
  svg::Canvas canvas;
  if (database != nullptr) svg::Painter(database, canvas).paintModelSpace();
  return canvas.document();
}

bool RenderSvg(AcDbDatabase* database, const std::string& path, std::string& error) {
  if (database == nullptr) {
    error = "no drawing to draw into '" + path + "'";
    return false;
  }
  return WriteReplacing(path, RenderSvgText(database), error);
}

}  // namespace tessera
