// Entities: the drawable objects of a block (model space, or a block definition).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cad/db_object.h"
#include "cad/shared_name.h"

class AcDbBlockTableRecord;

// The properties every entity has: layer, colour, linetype.
class AcDbEntity : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbEntity)
  static constexpr Adesk::UInt16 kColorByBlock = 0;
  static constexpr Adesk::UInt16 kColorByLayer = 256;

  AcDbObjectId blockId() const { return ownerId(); }
  std::string layer() const { return m_layer; }
  AcDbObjectId layerId() const;
  // Sets the layer by name; the layer must exist in the entity's (or the working) drawing.
  Acad::ErrorStatus setLayer(const char* layerName, bool doSubents = true,
                             bool allowHiddenLayer = false);
  Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true,
                             bool allowHiddenLayer = false);
  Adesk::UInt16 colorIndex() const { return m_colorIndex; }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true);
  std::string linetype() const { return m_linetype; }
  Acad::ErrorStatus setLinetype(const char* linetypeName, bool doSubents = true);
  // Layer, colour and linetype of the drawing's current settings.
  void setDatabaseDefaults(AcDbDatabase* database = nullptr);

  // Moves the entity by a displacement; each kind moves its own points.
  virtual Acad::ErrorStatus moveBy(const AcGeVector3d& displacement);
  // The points a user can grab (grips), in a fixed order per kind.
  virtual void gripPoints(std::vector<AcGePoint3d>& points) const;
  // Drags grip `index` to `to`, as a grip edit in the editor does.
  virtual Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to);
  // Points that decide whether the entity lies in a window: its defining points.
  virtual void stretchPoints(std::vector<AcGePoint3d>& points) const;
  // Moves the defining points whose indices are given (a crossing-window stretch).
  virtual Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                                const AcGeVector3d& offset);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 protected:
  // Applies a property change to owned sub-entities too (vertices, attributes).
  virtual void forEachSubEntity(void (*apply)(AcDbEntity*, const void*), const void* arg) {}

 private:
  static const tessera::db::SharedName& defaultLayer();
  static const tessera::db::SharedName& defaultLinetype();

  // First, in the room the object's last small fields leave.
  Adesk::UInt16 m_colorIndex = kColorByLayer;
  tessera::db::SharedName m_layer = defaultLayer();
  tessera::db::SharedName m_linetype = defaultLinetype();
};

// A curve: has a start and an end.
class AcDbCurve : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbCurve)
  virtual bool isClosed() const { return false; }
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const = 0;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const = 0;
};

class AcDbLine : public AcDbCurve {
 public:
  CAD_DECLARE_MEMBERS(AcDbLine)
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}

  AcGePoint3d startPoint() const { return m_start; }
  AcGePoint3d endPoint() const { return m_end; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double thickness);
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcGePoint3d m_start;
  AcGePoint3d m_end;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
  double m_thickness = 0.0;
};

class AcDbCircle : public AcDbCurve {
 public:
  CAD_DECLARE_MEMBERS(AcDbCircle)
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
      : m_center(center), m_normal(normal), m_radius(radius) {}

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const { return m_radius; }
  Acad::ErrorStatus setRadius(double radius);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  bool isClosed() const override { return true; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  // Centre, then the quadrant points at 0, 90, 180 and 270 degrees.
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
  double m_radius = 0.0;
};

// An arc runs counter-clockwise from its start angle to its end angle (radians, from +X).
class AcDbArc : public AcDbCurve {
 public:
  CAD_DECLARE_MEMBERS(AcDbArc)
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
      : m_center(center), m_radius(radius), m_startAngle(startAngle), m_endAngle(endAngle) {}

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const { return m_radius; }
  Acad::ErrorStatus setRadius(double radius);
  double startAngle() const { return m_startAngle; }
  Acad::ErrorStatus setStartAngle(double angle);
  double endAngle() const { return m_endAngle; }
  Acad::ErrorStatus setEndAngle(double angle);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  // Centre, start point, end point, midpoint of the arc.
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
  double m_radius = 0.0;
  double m_startAngle = 0.0;
  double m_endAngle = 0.0;
};

// Ends the list of sub-entities of a complex entity.
class AcDbSequenceEnd : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbSequenceEnd)

 protected:
  bool isSubObject() const override { return true; }
};

class AcDbVertex : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbVertex)

 protected:
  bool isSubObject() const override { return true; }
};

// A vertex of an old-style 2D polyline; its position is in the polyline's plane.
class AcDb2dVertex : public AcDbVertex {
 public:
  CAD_DECLARE_MEMBERS(AcDb2dVertex)
  AcDb2dVertex() = default;
  explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0)
      : m_position(position), m_bulge(bulge) {}

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  double bulge() const { return m_bulge; }
  Acad::ErrorStatus setBulge(double bulge);
  double startWidth() const { return m_startWidth; }
  double endWidth() const { return m_endWidth; }
  Acad::ErrorStatus setStartWidth(double width);
  Acad::ErrorStatus setEndWidth(double width);
  AcDb::Vertex2dType vertexType() const { return m_type; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcGePoint3d m_position;
  double m_bulge = 0.0;
  double m_startWidth = 0.0;
  double m_endWidth = 0.0;
  AcDb::Vertex2dType m_type = AcDb::k2dVertex;
};

class AcDb3dPolylineVertex : public AcDbVertex {
 public:
  CAD_DECLARE_MEMBERS(AcDb3dPolylineVertex)
  AcDb3dPolylineVertex() = default;
  explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcDb::Vertex3dType vertexType() const { return m_type; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcGePoint3d m_position;
  AcDb::Vertex3dType m_type = AcDb::k3dSimpleVertex;
};

// Shared by the two polylines whose vertices are objects of their own.
class AcDbComplexEntity : public AcDbCurve {
 public:
  // The 2d or 3d polyline an object is, or null; a file read or save asks this of every object,
  // and the class tree answers it for less than a dynamic_cast.
  static AcDbComplexEntity* cast(const AcRxObject* object);
  // Vertex ids in order; erased vertices are left out.
  std::vector<AcDbObjectId> vertexIds() const;
  AcDbObjectIterator* vertexIterator() const;
  AcDbObjectId sequenceEndId() const { return m_sequenceEnd; }
  Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode);
  // Copies the polyline with copies of its vertices.
  AcDbObject* cloneObject() const override;

 protected:
  // Appends a vertex that this entity then owns; the entity must be open for write.
  Acad::ErrorStatus appendOwnedVertex(AcDbObjectId& id, AcDbVertex* vertex);
  Acad::ErrorStatus filePolylineIds(AcDbDwgFiler* filer) const;
  Acad::ErrorStatus readPolylineIds(AcDbDwgFiler* filer);
  std::vector<AcDbObjectId>& rawVertices() { return m_vertices; }
  const std::vector<AcDbObjectId>& rawVertices() const { return m_vertices; }
  void forEachSubEntity(void (*apply)(AcDbEntity*, const void*), const void* arg) override;

 private:
  friend class tessera::db::ObjectAccess;
  std::vector<AcDbObjectId> m_vertices;
  AcDbObjectId m_sequenceEnd;
  // Vertices made before the polyline is in a drawing wait here until it is added.
  std::vector<AcDbVertex*> m_pendingVertices;
};

class AcDb2dPolyline : public AcDbComplexEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDb2dPolyline)
  AcDb2dPolyline() = default;
  AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                 bool closed = false, double defaultStartWidth = 0.0, double defaultEndWidth = 0.0,
                 const AcGeDoubleArray* bulges = nullptr);
  ~AcDb2dPolyline() override;

  AcDb::Poly2dType polyType() const { return m_type; }
  Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
  bool isClosed() const override { return m_closed; }
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  double elevation() const { return m_elevation; }
  Acad::ErrorStatus setElevation(double elevation);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double defaultStartWidth() const { return m_defaultStartWidth; }
  double defaultEndWidth() const { return m_defaultEndWidth; }
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
  Acad::ErrorStatus openVertex(AcDb2dVertex*& vertex, AcDbObjectId id, AcDb::OpenMode mode);
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  // Vertex positions in order (the polyline must be in a drawing).
  std::vector<AcGePoint3d> vertexPositions() const;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
  bool m_closed = false;
  double m_elevation = 0.0;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
  double m_defaultStartWidth = 0.0;
  double m_defaultEndWidth = 0.0;
};

class AcDb3dPolyline : public AcDbComplexEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDb3dPolyline)
  AcDb3dPolyline() = default;
  AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);
  ~AcDb3dPolyline() override;

  AcDb::Poly3dType polyType() const { return m_type; }
  Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
  bool isClosed() const override { return m_closed; }
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  std::vector<AcGePoint3d> vertexPositions() const;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  AcDb::Poly3dType m_type = AcDb::k3dSimplePoly;
  bool m_closed = false;
};

// The lightweight polyline: its vertices are 2D points kept inside the entity.
class AcDbPolyline : public AcDbCurve {
 public:
  CAD_DECLARE_MEMBERS(AcDbPolyline)
  AcDbPolyline() = default;
  explicit AcDbPolyline(unsigned int reservedVertices) { m_vertices.reserve(reservedVertices); }

  unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
  // The vertex in world coordinates (at the polyline's elevation).
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  bool isOnlyLines() const;
  bool isClosed() const override { return m_closed; }
  void setClosed(bool closed);
  double elevation() const { return m_elevation; }
  void setElevation(double elevation);
  AcGeVector3d normal() const { return m_normal; }
  void setNormal(const AcGeVector3d& normal);
  double constantWidth() const { return m_constantWidth; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  struct Vertex {
    AcGePoint2d point;
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
  };
  std::vector<Vertex> m_vertices;
  bool m_closed = false;
  double m_elevation = 0.0;
  double m_constantWidth = 0.0;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
};

// A single-line text. Its position is the start of the base line; unless it is left-aligned on
// the base line, its alignment point is the point that stays put.
class AcDbText : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbText)
  AcDbText() = default;
  AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0.0, double rotation = 0.0);

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGePoint3d alignmentPoint() const { return m_alignmentPoint; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
  bool isDefaultAlignment() const;
  double height() const { return m_height; }
  Acad::ErrorStatus setHeight(double height);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double rotation);
  double widthFactor() const { return m_widthFactor; }
  Acad::ErrorStatus setWidthFactor(double factor);
  double oblique() const { return m_oblique; }
  Acad::ErrorStatus setOblique(double angle);
  std::string textString() const { return m_text; }
  const char* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const char* text);
  AcDb::TextHorzMode horizontalMode() const { return m_horizontalMode; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const { return m_verticalMode; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const { return m_thickness; }
  std::string textStyleName() const { return m_styleName; }
  Acad::ErrorStatus setTextStyleName(const char* name);

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 protected:
  // The text's fields, shared by the attribute kinds, without the entity's base fields.
  Acad::ErrorStatus fileTextFields(AcDbDwgFiler* filer) const;
  Acad::ErrorStatus readTextFields(AcDbDwgFiler* filer);

 private:
  static const tessera::db::SharedName& defaultStyle();

  AcGePoint3d m_position;
  AcGePoint3d m_alignmentPoint;
  double m_height = 0.0;
  double m_rotation = 0.0;
  double m_widthFactor = 1.0;
  double m_oblique = 0.0;
  double m_thickness = 0.0;
  std::string m_text;
  tessera::db::SharedName m_styleName = defaultStyle();
  AcDb::TextHorzMode m_horizontalMode = AcDb::kTextLeft;
  AcDb::TextVertMode m_verticalMode = AcDb::kTextBase;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
};

// An attribute definition in a block: its tag, its prompt and its default text.
class AcDbAttributeDefinition : public AcDbText {
 public:
  CAD_DECLARE_MEMBERS(AcDbAttributeDefinition)
  AcDbAttributeDefinition() = default;
  AcDbAttributeDefinition(const AcGePoint3d& position, const char* defaultText, const char* tag,
                          const char* prompt, AcDbObjectId style = AcDbObjectId::kNull);

  std::string tag() const { return m_tag; }
  Acad::ErrorStatus setTag(const char* tag);
  std::string prompt() const { return m_prompt; }
  Acad::ErrorStatus setPrompt(const char* prompt);
  bool isInvisible() const { return (m_flags & 1) != 0; }
  bool isConstant() const { return (m_flags & 2) != 0; }
  bool isVerifiable() const { return (m_flags & 4) != 0; }
  bool isPreset() const { return (m_flags & 8) != 0; }
  Adesk::Int16 flags() const { return m_flags; }
  Acad::ErrorStatus setFlags(Adesk::Int16 flags);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 private:
  tessera::db::SharedName m_tag;
  std::string m_prompt;
  Adesk::Int16 m_flags = 0;
};

// The value of one attribute of a block reference.
class AcDbAttribute : public AcDbText {
 public:
  CAD_DECLARE_MEMBERS(AcDbAttribute)
  AcDbAttribute() = default;

  std::string tag() const { return m_tag; }
  const char* tagConst() const { return m_tag.c_str(); }
  Acad::ErrorStatus setTag(const char* tag);
  bool isInvisible() const { return (m_flags & 1) != 0; }
  bool isConstant() const { return (m_flags & 2) != 0; }
  Adesk::Int16 flags() const { return m_flags; }
  Acad::ErrorStatus setFlags(Adesk::Int16 flags);
  // Takes the definition's geometry and tag, placed by the reference's transformation.
  Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                          const AcGePoint3d& insertion, const AcGeScale3d& scale,
                                          double rotation, const AcGePoint3d& blockOrigin);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 protected:
  bool isSubObject() const override { return true; }

 private:
  tessera::db::SharedName m_tag;
  Adesk::Int16 m_flags = 0;
};

// An insertion of a block definition, with the attributes it owns.
class AcDbBlockReference : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbBlockReference)
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
  ~AcDbBlockReference() override;

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGeScale3d scaleFactors() const { return m_scale; }
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double rotation);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  AcDbObjectId blockTableRecord() const { return m_block; }
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId block);
  std::string blockName() const;

  Acad::ErrorStatus appendAttribute(AcDbObjectId& id, AcDbAttribute* attribute);
  Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
  // Attribute ids in order; erased attributes are left out.
  std::vector<AcDbObjectId> attributeIds() const;
  AcDbObjectIterator* attributeIterator() const;
  Acad::ErrorStatus openAttribute(AcDbAttribute*& attribute, AcDbObjectId id, AcDb::OpenMode mode,
                                  bool openErased = false);
  AcDbObjectId sequenceEndId() const { return m_sequenceEnd; }
  Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& end, AcDb::OpenMode mode);
  // Copies the reference with copies of its attributes.
  AcDbObject* cloneObject() const override;

  Acad::ErrorStatus moveBy(const AcGeVector3d& displacement) override;
  void gripPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveGripPointAt(int index, const AcGePoint3d& to) override;
  void stretchPoints(std::vector<AcGePoint3d>& points) const override;
  Acad::ErrorStatus moveStretchPointsAt(const std::vector<int>& indices,
                                        const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

 protected:
  void forEachSubEntity(void (*apply)(AcDbEntity*, const void*), const void* arg) override;

 private:
  friend class tessera::db::ObjectAccess;
  AcGePoint3d m_position;
  AcGeScale3d m_scale;
  double m_rotation = 0.0;
  AcGeVector3d m_normal = AcGeVector3d(0, 0, 1);
  AcDbObjectId m_block;
  std::vector<AcDbObjectId> m_attributes;
  AcDbObjectId m_sequenceEnd;
  std::vector<AcDbAttribute*> m_pendingAttributes;
};

// An object of a class the drawing's applications do not know, kept as it was read so that it
// is written back unchanged. Entities of unknown kinds are kept the same way.
class AcDbUnknownObject : public AcDbObject {
 public:
  CAD_DECLARE_MEMBERS(AcDbUnknownObject)
  // The class or DXF record name, and the raw data in the form it was read in.
  std::string originalClassName;
  std::string originalDxfName;
  std::vector<unsigned char> binaryData;             // from the binary drawing format
  std::vector<std::pair<int, std::string>> dxfTags;  // from DXF: every tag after the handle

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};

class AcDbUnknownEntity : public AcDbEntity {
 public:
  CAD_DECLARE_MEMBERS(AcDbUnknownEntity)
  std::string originalClassName;
  std::string originalDxfName;
  std::vector<unsigned char> binaryData;
  std::vector<std::pair<int, std::string>> dxfTags;

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
};
