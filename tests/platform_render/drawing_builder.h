// Builds small drawings in code for the picture and template tests, and reads back the SVG
// elements a picture holds.
#pragma once

#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "cad/db_database.h"

namespace tessera::testing {

class DrawingBuilder {
 public:
  DrawingBuilder() : m_database(std::make_unique<AcDbDatabase>(true, true)) {}
  AcDbDatabase* database() const { return m_database.get(); }

  AcDbObjectId addLayer(const std::string& name, Adesk::UInt16 color, bool off = false) {
    AcDbLayerTable* table = nullptr;
    m_database->getLayerTable(table, AcDb::kForWrite);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(name.c_str());
    layer->setColorIndex(color);
    layer->setIsOff(off);
    AcDbObjectId id;
    table->add(id, layer);
    layer->close();
    table->close();
    return id;
  }

  // Appends to model space (or to the named block) on a layer, and returns the entity's id.
  AcDbObjectId add(AcDbEntity* entity, const std::string& layer = "",
                   const std::string& block = ACDB_MODEL_SPACE) {
    AcDbBlockTableRecord* record = openBlock(block);
    AcDbObjectId id;
    record->appendAcDbEntity(id, entity);
    if (!layer.empty()) entity->setLayer(layer.c_str());
    entity->close();
    record->close();
    return id;
  }

  AcDbObjectId addBlock(const std::string& name) {
    AcDbBlockTable* table = nullptr;
    m_database->getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord;
    block->setName(name.c_str());
    AcDbObjectId id;
    table->add(id, block);
    block->close();
    table->close();
    return id;
  }

  // Adds an attribute to a block reference already in the drawing.
  void addAttribute(AcDbObjectId reference, const std::string& tag, const std::string& text,
                    const AcGePoint3d& at, bool invisible) {
    AcDbBlockReference* owner = nullptr;
    acdbOpenObject(owner, reference, AcDb::kForWrite);
    auto* attribute = new AcDbAttribute;
    attribute->setTag(tag.c_str());
    attribute->setTextString(text.c_str());
    attribute->setPosition(at);
    attribute->setHeight(2.0);
    attribute->setFlags(invisible ? 1 : 0);
    owner->appendAttribute(attribute);
    attribute->close();
    owner->close();
  }

 private:
  AcDbBlockTableRecord* openBlock(const std::string& name) {
    AcDbBlockTable* table = nullptr;
    m_database->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* record = nullptr;
    table->getAt(name.c_str(), record, AcDb::kForWrite);
    table->close();
    return record;
  }

  std::unique_ptr<AcDbDatabase> m_database;
};

// One element of a picture: its attributes and, for texts, its content.
struct SvgElement {
  std::map<std::string, std::string> attributes;
  std::string content;
  std::string operator[](const std::string& name) const {
    const auto found = attributes.find(name);
    return found == attributes.end() ? std::string() : found->second;
  }
};

// Every element with this tag, in document order.
inline std::vector<SvgElement> ElementsOf(const std::string& svg, const std::string& tag) {
  const std::regex element("<" + tag + R"(\s([^>]*?)/?>(?:([^<]*)</)" + tag + ">)?");
  const std::regex attribute(R"(([\w:-]+)="([^"]*)\")");
  std::vector<SvgElement> found;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element);
       it != std::sregex_iterator(); ++it) {
    SvgElement item;
    const std::string attributes = (*it)[1];
    for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
         a != std::sregex_iterator(); ++a)
      item.attributes[(*a)[1]] = (*a)[2];
    item.content = (*it)[2];
    found.push_back(item);
  }
  return found;
}

}  // namespace tessera::testing
