// Texts, attribute definitions and attributes.
#include <cmath>

#include "cad/arx.h"
#include "db/entity_support.h"
#include "db/rx_define.h"
#include "db/text_check.h"

CAD_DEFINE_MEMBERS(AcDbText, AcDbEntity, "TEXT")
CAD_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, "ATTDEF")
CAD_DEFINE_MEMBERS(AcDbAttribute, AcDbText, "ATTRIB")

using namespace tessera::db;

const SharedName& AcDbText::defaultStyle() {
  static const SharedName name("Standard");
  return name;
}

AcDbText::AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId, double height,
                   double rotation)
    : m_position(position),
      m_alignmentPoint(position),
      m_height(height),
      m_rotation(rotation),
      m_text(ValidText(text ? text : "")) {}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
  WRITE_GUARD();
  m_position = position;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
  WRITE_GUARD();
  m_alignmentPoint = point;
  return Acad::eOk;
}
bool AcDbText::isDefaultAlignment() const {
  return m_horizontalMode == AcDb::kTextLeft && m_verticalMode == AcDb::kTextBase;
}
Acad::ErrorStatus AcDbText::setHeight(double height) {
  if (height < 0.0 || !std::isfinite(height)) return Acad::eInvalidInput;
  WRITE_GUARD();
  m_height = height;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setRotation(double rotation) {
  WRITE_GUARD();
  m_rotation = rotation;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
  if (!(factor > 0.0)) return Acad::eInvalidInput;
  WRITE_GUARD();
  m_widthFactor = factor;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setOblique(double angle) {
  WRITE_GUARD();
  m_oblique = angle;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextString(const char* text) {
  WRITE_GUARD();
  m_text = ValidText(text ? text : "");
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  WRITE_GUARD();
  m_horizontalMode = mode;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  WRITE_GUARD();
  m_verticalMode = mode;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
  WRITE_GUARD();
  m_normal = normal;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextStyleName(const char* name) {
  if (name == nullptr || *name == '\0') return Acad::eInvalidInput;
  WRITE_GUARD();
  m_styleName = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::moveBy(const AcGeVector3d& displacement) {
  WRITE_GUARD();
  m_position += displacement;
  m_alignmentPoint += displacement;
  return Acad::eOk;
}

// The grip is the point that stays put: the position for left-aligned base-line texts, else
// the alignment point.
void AcDbText::gripPoints(std::vector<AcGePoint3d>& points) const {
  points = {isDefaultAlignment() ? m_position : m_alignmentPoint};
}

Acad::ErrorStatus AcDbText::moveGripPointAt(int index, const AcGePoint3d& to) {
  if (index != 0) return Acad::eInvalidIndex;
  std::vector<AcGePoint3d> grips;
  gripPoints(grips);
  return moveBy(to - grips[0]);
}

void AcDbText::stretchPoints(std::vector<AcGePoint3d>& points) const {
  gripPoints(points);
}

Acad::ErrorStatus AcDbText::moveStretchPointsAt(const std::vector<int>& indices,
                                                const AcGeVector3d& offset) {
  return Contains(indices, 0) ? moveBy(offset) : Acad::eOk;
}

Acad::ErrorStatus AcDbText::fileTextFields(AcDbDwgFiler* filer) const {
  filer->writePoint3d(m_position);
  filer->writePoint3d(m_alignmentPoint);
  filer->writeDouble(m_height);
  filer->writeDouble(m_rotation);
  filer->writeDouble(m_widthFactor);
  filer->writeDouble(m_oblique);
  filer->writeDouble(m_thickness);
  filer->writeString(m_text);
  filer->writeName(m_styleName);
  filer->writeInt16(static_cast<Adesk::Int16>(m_horizontalMode));
  filer->writeInt16(static_cast<Adesk::Int16>(m_verticalMode));
  filer->writeVector3d(m_normal);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbText::readTextFields(AcDbDwgFiler* filer) {
  Adesk::Int16 horizontal = 0, vertical = 0;
  filer->readPoint3d(&m_position);
  filer->readPoint3d(&m_alignmentPoint);
  filer->readDouble(&m_height);
  filer->readDouble(&m_rotation);
  filer->readDouble(&m_widthFactor);
  filer->readDouble(&m_oblique);
  filer->readDouble(&m_thickness);
  filer->readString(&m_text);
  filer->readName(&m_styleName);
  filer->readInt16(&horizontal);
  filer->readInt16(&vertical);
  filer->readVector3d(&m_normal);
  m_horizontalMode = static_cast<AcDb::TextHorzMode>(std::clamp<int>(horizontal, 0, 5));
  m_verticalMode = static_cast<AcDb::TextVertMode>(std::clamp<int>(vertical, 0, 3));
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbText::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbEntity::dwgOutFields(filer);
  return fileTextFields(filer);
}

Acad::ErrorStatus AcDbText::dwgInFields(AcDbDwgFiler* filer) {
  AcDbEntity::dwgInFields(filer);
  return readTextFields(filer);
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position,
                                                 const char* defaultText, const char* tag,
                                                 const char* prompt, AcDbObjectId style)
    : AcDbText(position, defaultText, style),
      m_tag(ValidText(tag ? tag : "")),
      m_prompt(ValidText(prompt ? prompt : "")) {}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const char* tag) {
  if (tag == nullptr || *tag == '\0') return Acad::eInvalidInput;
  WRITE_GUARD();
  m_tag = ValidText(tag);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const char* prompt) {
  WRITE_GUARD();
  m_prompt = ValidText(prompt ? prompt : "");
  return Acad::eOk;
}
Acad::ErrorStatus AcDbAttributeDefinition::setFlags(Adesk::Int16 flags) {
  WRITE_GUARD();
  m_flags = flags;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbText::dwgOutFields(filer);
  filer->writeName(m_tag);
  filer->writeString(m_prompt);
  filer->writeInt16(m_flags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttributeDefinition::dwgInFields(AcDbDwgFiler* filer) {
  AcDbText::dwgInFields(filer);
  filer->readName(&m_tag);
  filer->readString(&m_prompt);
  filer->readInt16(&m_flags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::setTag(const char* tag) {
  if (tag == nullptr || *tag == '\0') return Acad::eInvalidInput;
  WRITE_GUARD();
  m_tag = ValidText(tag);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbAttribute::setFlags(Adesk::Int16 flags) {
  WRITE_GUARD();
  m_flags = flags;
  return Acad::eOk;
}

namespace {

// Where a point of the block definition lands in the drawing.
AcGePoint3d PlaceInReference(const AcGePoint3d& point, const AcGePoint3d& insertion,
                             const AcGeScale3d& scale, double rotation, const AcGePoint3d& origin) {
  double x = (point.x - origin.x) * scale.sx;
  double y = (point.y - origin.y) * scale.sy;
  double c = std::cos(rotation), s = std::sin(rotation);
  return {insertion.x + x * c - y * s, insertion.y + x * s + y * c,
          insertion.z + (point.z - origin.z) * scale.sz};
}

}  // namespace

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* definition,
                                                       const AcGePoint3d& insertion,
                                                       const AcGeScale3d& scale, double rotation,
                                                       const AcGePoint3d& blockOrigin) {
  if (definition == nullptr) return Acad::eNullObjectId;
  WRITE_GUARD();
  setPosition(PlaceInReference(definition->position(), insertion, scale, rotation, blockOrigin));
  setAlignmentPoint(
      PlaceInReference(definition->alignmentPoint(), insertion, scale, rotation, blockOrigin));
  setHeight(definition->height() * std::abs(scale.sy));
  setRotation(definition->rotation() + rotation);
  setWidthFactor(definition->widthFactor());
  setHorizontalMode(definition->horizontalMode());
  setVerticalMode(definition->verticalMode());
  setTextString(definition->textStringConst());
  setTextStyleName(definition->textStyleName().c_str());
  setLayer(definition->layer().c_str(), false);
  setColorIndex(definition->colorIndex(), false);
  m_tag = definition->tag();
  m_flags = definition->flags();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::dwgOutFields(AcDbDwgFiler* filer) const {
  AcDbText::dwgOutFields(filer);
  filer->writeName(m_tag);
  filer->writeInt16(m_flags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbAttribute::dwgInFields(AcDbDwgFiler* filer) {
  AcDbText::dwgInFields(filer);
  filer->readName(&m_tag);
  filer->readInt16(&m_flags);
  return filer->filerStatus();
}
