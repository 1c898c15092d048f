// Drawing commands: LINE, PLINE, 3DPOLY, CIRCLE, ARC, TEXT.
#include <cmath>
#include <numbers>
#include <vector>

#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

namespace line_prompts {
constexpr const char* kFirstPoint = "\nSpecify first point: ";
constexpr const char* kNextPoint = "\nSpecify next point or [Undo]: ";
constexpr const char* kNextPointOrClose = "\nSpecify next point or [Close/Undo]: ";
}  // namespace line_prompts

namespace pline_prompts {
constexpr const char* kStartPoint = "\nSpecify start point: ";
constexpr const char* kNextPoint = "\nSpecify next point or [Close/Undo]: ";
constexpr const char* kCannotClose = "\nA polyline needs two segments before it can be closed.";
}  // namespace pline_prompts

namespace poly3d_prompts {
constexpr const char* kStartPoint = "\nSpecify start point of polyline: ";
constexpr const char* kEndPoint = "\nSpecify endpoint of line or [Undo]: ";
constexpr const char* kEndPointOrClose = "\nSpecify endpoint of line or [Close/Undo]: ";
}  // namespace poly3d_prompts

namespace circle_prompts {
constexpr const char* kCenter = "\nSpecify center point for circle: ";
constexpr const char* kRadius = "\nSpecify radius of circle or [Diameter]: ";
constexpr const char* kDiameter = "\nSpecify diameter of circle: ";
}  // namespace circle_prompts

namespace arc_prompts {
constexpr const char* kStartPoint = "\nSpecify start point of arc: ";
constexpr const char* kSecondPoint = "\nSpecify second point of arc: ";
constexpr const char* kEndPoint = "\nSpecify end point of arc: ";
constexpr const char* kCollinear = "Points are collinear: no arc passes through them.";
}  // namespace arc_prompts

namespace text_prompts {
constexpr const char* kStartPoint = "\nSpecify start point of text: ";
constexpr const char* kHeight = "\nSpecify height <%.4f>: ";
constexpr const char* kRotation = "\nSpecify rotation angle of text <0>: ";
constexpr const char* kText = "\nEnter text: ";
}  // namespace text_prompts

const std::vector<std::string> kNoKeywords;
constexpr const char* kClose = "Close";
constexpr const char* kUndo = "Undo";
constexpr const char* kDiameterKeyword = "Diameter";
// Three arc points closer to a line than this (twice the triangle's area) make no arc.
constexpr double kCollinearArea = 1e-12;

std::vector<std::string> KeywordsFor(bool canClose) {
  if (canClose) return {kClose, kUndo};
  return {kUndo};
}

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

void Erase(AcDbObjectId id) {
  Opened<AcDbEntity> entity(id, AcDb::kForWrite);
  if (entity) entity->erase();
}

Task<void> LineCommand(CommandContext& command) {
  Answer first = co_await command.getPoint(line_prompts::kFirstPoint);
  if (first.kind != AnswerKind::kPoint) co_return;
  std::vector<AcGePoint3d> points = {first.point};
  std::vector<AcDbObjectId> lines;
  for (;;) {
    bool canClose = lines.size() >= 2;
    std::vector<std::string> keywords = KeywordsFor(canClose);
    Answer next = co_await command.getPoint(
        canClose ? line_prompts::kNextPointOrClose : line_prompts::kNextPoint, &points.back(),
        keywords);
    if (next.kind == AnswerKind::kReturn) co_return;
    if (next.kind == AnswerKind::kKeyword && next.text == kUndo) {
      if (lines.empty()) continue;
      Erase(lines.back());
      lines.pop_back();
      points.pop_back();
      continue;
    }
    AcGePoint3d to = next.kind == AnswerKind::kKeyword ? points.front() : next.point;
    auto* line = new AcDbLine(ToWorld(command, points.back()), ToWorld(command, to));
    lines.push_back(AppendToModelSpace(command.database(), line));
    points.push_back(to);
    if (next.kind == AnswerKind::kKeyword) co_return;
  }
}

// Adds a vertex to the polyline, making it with its first segment.
void ExtendPolyline(CommandContext& command, AcDbObjectId& id, const AcGePoint3d& from,
                    const AcGePoint3d& to) {
  AcGePoint3d start = ToWorld(command, from), end = ToWorld(command, to);
  if (id.isNull()) {
    auto* polyline = new AcDbPolyline(2);
    polyline->setElevation(start.z);
    polyline->addVertexAt(0, AcGePoint2d(start.x, start.y));
    polyline->addVertexAt(1, AcGePoint2d(end.x, end.y));
    id = AppendToModelSpace(command.database(), polyline);
    return;
  }
  Opened<AcDbPolyline> polyline(id, AcDb::kForWrite);
  if (polyline) polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(end.x, end.y));
}

Task<void> PlineCommand(CommandContext& command) {
  Answer first = co_await command.getPoint(pline_prompts::kStartPoint);
  if (first.kind != AnswerKind::kPoint) co_return;
  std::vector<AcGePoint3d> points = {first.point};
  AcDbObjectId id;
  std::vector<std::string> keywords = KeywordsFor(true);
  for (;;) {
    Answer next = co_await command.getPoint(pline_prompts::kNextPoint, &points.back(), keywords);
    if (next.kind == AnswerKind::kReturn) co_return;
    if (next.kind == AnswerKind::kKeyword && next.text == kClose) {
      if (points.size() < 3) {
        Transcript::instance().write(pline_prompts::kCannotClose);
        continue;
      }
      Opened<AcDbPolyline> polyline(id, AcDb::kForWrite);
      if (polyline) polyline->setClosed(true);
      co_return;
    }
    if (next.kind == AnswerKind::kKeyword) {  // Undo
      if (points.size() < 2) continue;
      points.pop_back();
      Opened<AcDbPolyline> polyline(id, AcDb::kForWrite);
      if (polyline && polyline->numVerts() > 2)
        polyline->removeVertexAt(polyline->numVerts() - 1);
      else if (polyline)
        polyline->erase();
      if (points.size() < 2) id.setNull();
      continue;
    }
    ExtendPolyline(command, id, points.back(), next.point);
    points.push_back(next.point);
  }
}

void Extend3dPolyline(CommandContext& command, AcDbObjectId& id, const AcGePoint3d& from,
                      const AcGePoint3d& to) {
  if (id.isNull()) {
    AcGePoint3dArray vertices;
    vertices.append(ToWorld(command, from));
    vertices.append(ToWorld(command, to));
    id = AppendToModelSpace(command.database(), new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices));
    return;
  }
  Opened<AcDb3dPolyline> polyline(id, AcDb::kForWrite);
  if (!polyline) return;
  auto* vertex = new AcDb3dPolylineVertex(ToWorld(command, to));
  // A vertex appended to a polyline in a drawing comes back open for write.
  if (polyline->appendVertex(vertex) == Acad::eOk) {
    vertex->close();
  } else {
    delete vertex;
  }
}

Task<void> Poly3dCommand(CommandContext& command) {
  Answer first = co_await command.getPoint(poly3d_prompts::kStartPoint);
  if (first.kind != AnswerKind::kPoint) co_return;
  std::vector<AcGePoint3d> points = {first.point};
  AcDbObjectId id;
  for (;;) {
    bool canClose = points.size() >= 3;
    std::vector<std::string> keywords = KeywordsFor(canClose);
    Answer next = co_await command.getPoint(
        canClose ? poly3d_prompts::kEndPointOrClose : poly3d_prompts::kEndPoint, &points.back(),
        keywords);
    if (next.kind == AnswerKind::kReturn) co_return;
    if (next.kind == AnswerKind::kKeyword && next.text == kClose) {
      Opened<AcDb3dPolyline> polyline(id, AcDb::kForWrite);
      if (polyline) polyline->makeClosed();
      co_return;
    }
    if (next.kind == AnswerKind::kKeyword) {  // Undo: the last vertex goes
      if (points.size() < 2) continue;
      points.pop_back();
      Erase(id);
      id.setNull();
      for (std::size_t i = 1; i < points.size(); ++i)
        Extend3dPolyline(command, id, points[i - 1], points[i]);
      continue;
    }
    Extend3dPolyline(command, id, points.back(), next.point);
    points.push_back(next.point);
  }
}

Task<void> CircleCommand(CommandContext& command) {
  Answer center =
      co_await command.getPoint(circle_prompts::kCenter, nullptr, kNoKeywords, RSG_NONULL);
  Question radiusQuestion = Question::Of(Want::kDistance, circle_prompts::kRadius,
                                         RSG_NONULL | RSG_NOZERO | RSG_NONEG, {kDiameterKeyword});
  radiusQuestion.basePoint = center.point;
  Answer radius = co_await command.ask(radiusQuestion);
  double factor = 1.0;
  if (radius.kind == AnswerKind::kKeyword) {
    Question diameter = Question::Of(Want::kDistance, circle_prompts::kDiameter,
                                     RSG_NONULL | RSG_NOZERO | RSG_NONEG);
    diameter.basePoint = center.point;
    radius = co_await command.ask(diameter);
    factor = 0.5;
  }
  double length =
      radius.kind == AnswerKind::kPoint ? center.point.distanceTo(radius.point) : radius.real;
  auto* circle = new AcDbCircle(ToWorld(command, center.point),
                                ToWorld(command, AcGeVector3d::kZAxis), length * factor);
  AppendToModelSpace(command.database(), circle);
}

Task<void> ArcCommand(CommandContext& command) {
  Answer start =
      co_await command.getPoint(arc_prompts::kStartPoint, nullptr, kNoKeywords, RSG_NONULL);
  Answer second =
      co_await command.getPoint(arc_prompts::kSecondPoint, &start.point, kNoKeywords, RSG_NONULL);
  Answer end =
      co_await command.getPoint(arc_prompts::kEndPoint, &second.point, kNoKeywords, RSG_NONULL);
  AcGePoint3d a = ToWorld(command, start.point), b = ToWorld(command, second.point),
              c = ToWorld(command, end.point);
  double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  if (std::fabs(d) <= kCollinearArea) throw CommandError(arc_prompts::kCollinear);
  double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
  AcGePoint3d center((a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                     (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z);
  double startAngle = std::atan2(a.y - center.y, a.x - center.x);
  double endAngle = std::atan2(c.y - center.y, c.x - center.x);
  // A clockwise run through the three points is the counter-clockwise arc from end to start.
  if (d < 0.0) std::swap(startAngle, endAngle);
  auto normal = [](double angle) { return angle < 0.0 ? angle + 2.0 * std::numbers::pi : angle; };
  auto* arc = new AcDbArc(center, center.distanceTo(a), normal(startAngle), normal(endAngle));
  AppendToModelSpace(command.database(), arc);
}

Task<void> TextCommand(CommandContext& command) {
  Answer start =
      co_await command.getPoint(text_prompts::kStartPoint, nullptr, kNoKeywords, RSG_NONULL);
  double current = RealVariable("TEXTSIZE", 2.5);
  Question heightQuestion =
      Question::Of(Want::kDistance, FormattedNumber(text_prompts::kHeight, current).c_str(),
                   RSG_NOZERO | RSG_NONEG);
  heightQuestion.basePoint = start.point;
  Answer height = co_await command.ask(heightQuestion);
  double size = height.kind == AnswerKind::kReal    ? height.real
                : height.kind == AnswerKind::kPoint ? start.point.distanceTo(height.point)
                                                    : current;
  Answer rotation = co_await command.getReal(text_prompts::kRotation);
  double degrees = rotation.kind == AnswerKind::kReal ? rotation.real : 0.0;
  Answer content = co_await command.getString(text_prompts::kText, true);
  if (content.text.empty()) co_return;
  SetSystemVariable("TEXTSIZE", size);
  // The rotation is answered in the current UCS, as the start point is.
  auto* text =
      new AcDbText(ToWorld(command, start.point), content.text.c_str(), AcDbObjectId::kNull, size,
                   UcsAngleToWorld(Radians(degrees), command.database()));
  AppendToModelSpace(command.database(), text);
}

}  // namespace

void AddDrawingCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"LINE", LineCommand});
  commands.push_back({"PLINE", PlineCommand});
  commands.push_back({"3DPOLY", Poly3dCommand});
  commands.push_back({"CIRCLE", CircleCommand});
  commands.push_back({"ARC", ArcCommand});
  commands.push_back({"TEXT", TextCommand});
}

}  // namespace tessera::editor
