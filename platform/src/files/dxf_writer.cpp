#include "files/dxf_writer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/per_class.h"
#include "files/dxf_filer.h"
#include "files/dxf_layout.h"
#include "files/dxf_symbols.h"
#include "files/saved_objects.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

constexpr const char* kAcadVersion = "AC1021";
constexpr const char* kDefaultCodePage = "ANSI_1252";
constexpr int kMillimetres = 4;
constexpr int kMetric = 1;
// Room the text of a file takes per object, about: an entity takes 150 to 300 bytes.
constexpr std::size_t kTextBytesPerObject = 256;
// Extents of a drawing with nothing in it, as the host writes them.
constexpr double kEmptyExtent = 1e20;
// Header variables the writer sets itself; read values of these are not written again.
const std::set<std::string> kOwnHeaderVariables = {
    "$ACADVER", "$DWGCODEPAGE", "$HANDSEED", "$INSUNITS", "$CLAYER",  "$TEXTSIZE",
    "$EXTMIN",  "$EXTMAX",      "$UCSORG",   "$UCSXDIR",  "$UCSYDIR", "$MEASUREMENT"};
// The tables in the order the format wants them.
constexpr const char* kTableOrder[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                       "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};
constexpr const char* kDefaultLinetypes[] = {"ByBlock", "ByLayer", "Continuous"};
constexpr const char* kStandardStyle = "Standard";

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string HandleOf(AcDbObjectId id) {
  return id.isNull() ? "0" : id.handle().text();
}

// Names (group 2) of the entries of a preserved table.
std::set<std::string> EntryNames(const std::vector<RawTags>& records) {
  std::set<std::string> names;
  for (std::size_t i = 1; i < records.size(); ++i)
    for (const auto& [code, value] : records[i])
      if (code == AcDb::kDxfBlockName) {
        names.insert(Upper(value));
        break;
      }
  return names;
}

// The drawing's handle seed, or the one it was read with while no handle was taken since.
std::uint64_t SeedToWrite(db::DatabaseImpl* impl) {
  auto kept = impl->preservedDxf.find(preserved::kHandseed);
  if (kept == impl->preservedDxf.end() || kept->second.size() != 1 ||
      kept->second.front().size() != 2)
    return impl->handseed().value();
  const RawTags& seeds = kept->second.front();
  bool untouched = AcDbHandle(seeds[1].second.c_str()) == impl->handseed();
  return untouched ? AcDbHandle(seeds[0].second.c_str()).value() : impl->handseed().value();
}

// The tags an object of an unknown class was read with, or null when it has none (it came
// from the binary format, whose data DXF cannot carry).
const RawTags* KeptTags(const AcDbObject* object, std::string& name) {
  if (auto* unknown = AcDbUnknownObject::cast(object)) {
    name = unknown->originalDxfName;
    return &unknown->dxfTags;
  }
  if (auto* unknown = AcDbUnknownEntity::cast(object)) {
    name = unknown->originalDxfName;
    return &unknown->dxfTags;
  }
  return nullptr;
}

// The class of an object that cannot be written as DXF, or nothing when it can be.
std::optional<std::string> ClassDxfCannotCarry(const AcDbObject* object) {
  std::string dxfName;
  if (const RawTags* kept = KeptTags(object, dxfName)) {
    if (!kept->empty()) return std::nullopt;
    auto* unknown = AcDbUnknownObject::cast(object);
    std::string name =
        unknown ? unknown->originalClassName : AcDbUnknownEntity::cast(object)->originalClassName;
    return name.empty() ? "(unnamed)" : name;
  }
  const AcRxClass* aClass = object->isA();
  if (aClass->isCustom() && *aClass->dxfName() == '\0') return std::string(aClass->name());
  return std::nullopt;
}

using Names = std::set<std::string, std::less<>>;

void AddName(Names& names, std::string_view name) {
  if (names.find(name) == names.end()) names.emplace(name);
}

// What the class list and the tables need from the saved objects, gathered in one pass over the
// drawing (each pass touches every object, which costs more than the work done on it).
struct Census {
  // Application classes with saved objects, by DXF name (so the same drawing always writes the
  // same text), and how many objects each has.
  std::map<std::string, std::pair<const AcRxClass*, int>> classes;
  Names linetypes;   // of saved entities
  Names textStyles;  // of saved texts
  // Saved objects DXF cannot carry, and the class of the first.
  std::size_t uncarried = 0;
  std::string firstUncarried;
  // The OBJECTS section, as SavedObjects::nonGraphical gives it.
  std::vector<AcDbObjectId> nonGraphical;

  Census(db::DatabaseImpl* impl, const SavedObjects& saved) {
    std::unordered_map<const AcRxClass*, int> counts;
    db::PerClass<ClassFacts> facts;
    if (saved.isSaved(impl->namedObjects)) nonGraphical.push_back(impl->namedObjects);
    impl->forEachObject([&](AcDbObjectId id) {
      AcDbObject* object = Peek(id);
      const AcRxClass* aClass = object->isA();
      const ClassFacts fact = facts.of(aClass, [&] { return FactsOf(aClass); });
      if (!saved.isSaved(id)) return;
      if (fact.mayBeUncarried) {
        if (std::optional<std::string> lost = ClassDxfCannotCarry(object))
          if (uncarried++ == 0) firstUncarried = *lost;
      }
      if (fact.application) ++counts[aClass];
      if (!fact.entity) {
        if (saved.isNonGraphical(id)) nonGraphical.push_back(id);
        return;
      }
      auto* entity = static_cast<AcDbEntity*>(object);
      AddName(linetypes, entity->linetype());
      if (fact.text) AddName(textStyles, static_cast<AcDbText*>(entity)->textStyleName());
    });
    for (const auto& [aClass, count] : counts) classes[aClass->dxfName()] = {aClass, count};
  }

 private:
  // What the census asks of an object's class.
  struct ClassFacts {
    bool application = false;     // an application's class that DXF carries
    bool mayBeUncarried = false;  // kept as it came, or an application's without a DXF name
    bool entity = false;
    bool text = false;
  };
  static ClassFacts FactsOf(const AcRxClass* aClass) {
    const bool custom = aClass->isCustom();
    const bool named = *aClass->dxfName() != '\0';
    return {custom && named,
            (custom && !named) || aClass->isDerivedFrom(AcDbUnknownObject::desc()) ||
                aClass->isDerivedFrom(AcDbUnknownEntity::desc()),
            aClass->isDerivedFrom(AcDbEntity::desc()), aClass->isDerivedFrom(AcDbText::desc())};
  }
};

std::optional<std::string> Refusal(const Census& census) {
  if (census.uncarried == 0) return std::nullopt;
  return std::to_string(census.uncarried) + " object(s) of class " + census.firstUncarried +
         " have no DXF form here (binary data of an application that is not loaded, or a class"
         " without a DXF name); load the application, or save as .tdb";
}

class DxfWriter {
 public:
  explicit DxfWriter(AcDbDatabase* database)
      : m_impl(db::Impl(database)),
        m_saved(database),
        m_census(m_impl, m_saved),
        m_modelSpace(m_saved.entities(m_impl->modelSpace)),
        m_filer(&m_text, database),
        m_nextHandle(SeedToWrite(m_impl)) {
    extents(m_low, m_high);
  }

  std::string text();
  // The text in two parts, which follow each other in the file: the HEADER section, written
  // last, and the rest, which is not copied behind it.
  void text(std::string& head, std::string& rest);
  const Census& census() const { return m_census; }

 private:
  std::string newHandle() { return AcDbHandle(m_nextHandle++).text(); }
  void tag(int code, const std::string& value) { AppendDxfTag(m_text, code, value); }
  void tags(const RawTags& kept) {
    for (const auto& [code, value] : kept) AppendDxfTag(m_text, code, value);
  }
  // A kept object's tags, its owner (the first 330 before a subclass marker, as a reader takes
  // it) named as the drawing has it now: reading may have given the object another owner, or
  // its owner another handle. A reference to an object of the drawing that the file does not
  // have (one no container keeps) is cleared, as reading the file would clear it.
  void keptTags(const RawTags& kept, AcDbObjectId owner) {
    bool ownerTag = !owner.isNull();
    for (const auto& [code, value] : kept) {
      ownerTag = ownerTag && code != AcDb::kDxfSubclass;
      const bool isOwner = ownerTag && code == AcDb::kDxfSoftPointerId;
      if (isOwner)
        AppendDxfTag(m_text, code, HandleOf(owner));
      else if (IsDxfPointerCode(code) && namesUnsavedObject(value))
        AppendDxfTag(m_text, code, "0");
      else
        AppendDxfTag(m_text, code, value);
      ownerTag = ownerTag && !isOwner;
    }
  }
  bool namesUnsavedObject(const std::string& handle) const {
    const AcDbObjectId id = m_impl->idForHandle(AcDbHandle(handle.c_str()));
    return id.isValid() && !m_saved.isSaved(id);
  }
  void tagReal(int code, double value) { m_filer.writeDouble(code, value); }
  void tagPoint(int code, const AcGePoint3d& point) { m_filer.writePoint3d(code, point); }
  const std::vector<RawTags>* preserved(const std::string& key) const;

  void header(std::string& out);
  // The value of a header variable as the drawing's file had it, else `fallback`.
  std::string readValue(const char* variable, const std::string& fallback) const;
  void extents(AcGePoint3d& low, AcGePoint3d& high) const;
  void classes();
  void tables();
  std::string tableStart(const char* name, AcDbObjectId table, std::size_t count);
  void writeRaw(const std::vector<RawTags>& records);
  void defaultViewports();
  void linetypes();
  void textStyles();
  void emptyTable(const char* name);
  void dimensionStyles();
  void symbolTable(const char* name, AcDbObjectId table);
  void blocks();
  void blockEnd(AcDbObjectId block, const char* kind, const std::string& handle);
  void entities();
  void entity(AcDbObjectId id);
  void objects();
  void sections();
  void object(AcDbObjectId id);
  void fields(AcDbObjectId id, AcDbObject* object);
  void xdata(const AcDbObject* object);

  db::DatabaseImpl* m_impl;
  SavedObjects m_saved;
  Census m_census;
  std::vector<AcDbObjectId> m_modelSpace;  // its saved entities
  AcGePoint3d m_low, m_high;               // the extents of model space
  std::string m_text;                      // the file as it is written, without its header
  DxfFiler m_filer;
  std::uint64_t m_nextHandle;  // for objects a session-made drawing does not have (tables, ...)
};

const std::vector<RawTags>* DxfWriter::preserved(const std::string& key) const {
  auto found = m_impl->preservedDxf.find(key);
  return found == m_impl->preservedDxf.end() || found->second.empty() ? nullptr : &found->second;
}

std::string DxfWriter::text() {
  std::string out;
  std::string rest;
  text(out, rest);
  out += rest;
  return out;
}

void DxfWriter::text(std::string& head, std::string& rest) {
  m_text.reserve(m_impl->objectCount() * kTextBytesPerObject);
  classes();
  tables();
  blocks();
  entities();
  objects();
  sections();
  AppendDxfTag(m_text, 0, "EOF");
  header(head);
  rest = std::move(m_text);
  m_text.clear();
}

// HEADER: written last, when the handles the other sections used are known.
void DxfWriter::header(std::string& out) {
  std::string body = std::move(m_text);
  m_text.clear();
  tag(0, "SECTION");
  tag(2, "HEADER");
  auto variable = [&](const char* name) { tag(9, name); };
  variable("$ACADVER");
  tag(1, kAcadVersion);
  variable("$DWGCODEPAGE");
  tag(3, readValue("$DWGCODEPAGE", kDefaultCodePage));
  variable("$EXTMIN");
  tagPoint(10, m_low);
  variable("$EXTMAX");
  tagPoint(10, m_high);
  variable("$TEXTSIZE");
  tagReal(40, m_impl->textSize);
  variable("$CLAYER");
  auto* layer = AcDbLayerTableRecord::cast(Peek(m_impl->currentLayer));
  tag(8, layer ? layer->getNameConst() : "0");
  variable("$HANDSEED");
  tag(5, AcDbHandle(m_nextHandle).text());
  variable("$INSUNITS");
  tag(70, readValue("$INSUNITS", std::to_string(kMillimetres)));
  variable("$MEASUREMENT");
  tag(70, readValue("$MEASUREMENT", std::to_string(kMetric)));
  variable("$UCSORG");
  tagPoint(10, m_impl->ucsOrigin);
  variable("$UCSXDIR");
  m_filer.writeVector3d(10, m_impl->ucsXAxis);
  variable("$UCSYDIR");
  m_filer.writeVector3d(10, m_impl->ucsYAxis);
  for (const auto& [name, tags] : m_impl->extraHeader) {
    if (kOwnHeaderVariables.count(name)) continue;
    variable(name.c_str());
    this->tags(tags);
  }
  tag(0, "ENDSEC");
  out = std::move(m_text);
  m_text = std::move(body);
}

std::string DxfWriter::readValue(const char* variable, const std::string& fallback) const {
  for (const auto& [name, tags] : m_impl->extraHeader)
    if (name == variable && !tags.empty()) return tags.front().second;
  return fallback;
}

void DxfWriter::extents(AcGePoint3d& low, AcGePoint3d& high) const {
  low.set(kEmptyExtent, kEmptyExtent, kEmptyExtent);
  high.set(-kEmptyExtent, -kEmptyExtent, -kEmptyExtent);
  std::vector<AcGePoint3d> points;  // one buffer for all: an entity has a few
  for (AcDbObjectId id : m_modelSpace) {
    auto* entity = AcDbEntity::cast(Peek(id));
    if (entity == nullptr || AcDbUnknownEntity::cast(entity)) continue;
    points.clear();
    entity->gripPoints(points);
    for (const AcGePoint3d& p : points) {
      for (int axis = 0; axis < 3; ++axis) {
        low[axis] = std::min(low[axis], p[axis]);
        high[axis] = std::max(high[axis], p[axis]);
      }
    }
  }
}

// CLASSES: the application classes that have objects here, then entries kept from the file
// for classes nobody registered in this session.
void DxfWriter::classes() {
  tag(0, "SECTION");
  tag(2, "CLASSES");
  std::set<std::string> written;
  for (const auto& [name, entry] : m_census.classes) {
    const auto& [aClass, count] = entry;
    tag(0, "CLASS");
    tag(1, aClass->dxfName());
    tag(2, aClass->name());
    tag(3, aClass->appName());
    tag(90, std::to_string(aClass->proxyFlags()));
    tag(91, std::to_string(count));
    tag(280, "0");
    tag(281, aClass->isDerivedFrom(AcDbEntity::desc()) ? "1" : "0");
    written.insert(Upper(aClass->dxfName()));
  }
  if (const auto* kept = preserved(preserved::kClasses)) {
    for (const RawTags& record : *kept) {
      auto name =
          std::find_if(record.begin(), record.end(), [](const auto& t) { return t.first == 1; });
      if (name != record.end() && written.count(Upper(name->second))) continue;
      tags(record);
    }
  }
  tag(0, "ENDSEC");
}

void DxfWriter::tables() {
  tag(0, "SECTION");
  tag(2, "TABLES");
  for (const char* name : kTableOrder) {
    std::string key = std::string(preserved::kTablePrefix) + name;
    if (std::strcmp(name, "LAYER") == 0) {
      symbolTable(name, m_impl->layerTable);
    } else if (std::strcmp(name, "APPID") == 0) {
      symbolTable(name, m_impl->regAppTable);
    } else if (std::strcmp(name, "BLOCK_RECORD") == 0) {
      symbolTable(name, m_impl->blockTable);
    } else if (std::strcmp(name, "LTYPE") == 0) {
      linetypes();
    } else if (std::strcmp(name, "STYLE") == 0) {
      textStyles();
    } else if (const auto* kept = preserved(key)) {
      writeRaw(*kept);
      tag(0, "ENDTAB");
    } else if (std::strcmp(name, "VPORT") == 0) {
      defaultViewports();
    } else if (std::strcmp(name, "DIMSTYLE") == 0) {
      dimensionStyles();
    } else {
      emptyTable(name);
    }
  }
  // Tables of kinds this writer does not know, kept from the file.
  for (const auto& [key, records] : m_impl->preservedDxf) {
    if (key.rfind(preserved::kTablePrefix, 0) != 0) continue;
    std::string name = key.substr(std::strlen(preserved::kTablePrefix));
    if (std::none_of(std::begin(kTableOrder), std::end(kTableOrder),
                     [&](const char* known) { return name == known; })) {
      writeRaw(records);
      tag(0, "ENDTAB");
    }
  }
  tag(0, "ENDSEC");
}

std::string DxfWriter::tableStart(const char* name, AcDbObjectId table, std::size_t count) {
  std::string handle = table.isNull() ? newHandle() : HandleOf(table);
  tag(0, "TABLE");
  tag(2, name);
  tag(5, handle);
  tag(330, "0");
  tag(100, "AcDbSymbolTable");
  tag(70, std::to_string(count));
  return handle;
}

void DxfWriter::writeRaw(const std::vector<RawTags>& records) {
  for (const RawTags& record : records) tags(record);
}

void DxfWriter::defaultViewports() {
  std::string table = tableStart("VPORT", AcDbObjectId(), 1);
  tag(0, "VPORT");
  tag(5, newHandle());
  tag(330, table);
  tag(100, "AcDbSymbolTableRecord");
  tag(100, "AcDbViewportTableRecord");
  tag(2, "*Active");
  tag(70, "0");
  const AcGePoint3d& low = m_low;
  const AcGePoint3d& high = m_high;
  bool empty = low.x > high.x;
  tagReal(12, empty ? 0.0 : (low.x + high.x) / 2);
  tagReal(22, empty ? 0.0 : (low.y + high.y) / 2);
  tagReal(40, empty || high.y <= low.y ? 100.0 : (high.y - low.y) * 1.1);
  tagReal(41, 1.5);
  tag(0, "ENDTAB");
}

void DxfWriter::emptyTable(const char* name) {
  tableStart(name, AcDbObjectId(), 0);
  tag(0, "ENDTAB");
}

void DxfWriter::dimensionStyles() {
  std::string table = tableStart("DIMSTYLE", AcDbObjectId(), 1);
  tag(100, "AcDbDimStyleTable");
  tag(71, "0");
  tag(0, "DIMSTYLE");
  tag(105, newHandle());
  tag(330, table);
  tag(100, "AcDbSymbolTableRecord");
  tag(100, "AcDbDimStyleTableRecord");
  tag(2, kStandardStyle);
  tag(70, "0");
  tag(0, "ENDTAB");
}

// Linetypes: the file's table (or the three every drawing has), plus any name a layer or an
// entity uses that the table lacks, as a continuous line.
void DxfWriter::linetypes() {
  Names used = m_census.linetypes;
  for (const char* name : kDefaultLinetypes) AddName(used, name);
  for (AcDbObjectId id : m_saved.records(m_impl->layerTable))
    AddName(used, AcDbLayerTableRecord::cast(Peek(id))->linetypeName());
  const auto* kept = preserved(std::string(preserved::kTablePrefix) + "LTYPE");
  std::set<std::string> present = kept ? EntryNames(*kept) : std::set<std::string>{};
  std::string table;
  if (kept) {
    writeRaw(*kept);
    auto handle = std::find_if(kept->front().begin(), kept->front().end(),
                               [](const auto& t) { return t.first == 5; });
    table = handle != kept->front().end() ? handle->second : "0";
  } else {
    table = tableStart("LTYPE", AcDbObjectId(), used.size());
  }
  std::set<std::string> added;
  for (const std::string& name : used) {
    if (name.empty() || present.count(Upper(name)) || !added.insert(Upper(name)).second) continue;
    tag(0, "LTYPE");
    tag(5, newHandle());
    tag(330, table);
    tag(100, "AcDbSymbolTableRecord");
    tag(100, "AcDbLinetypeTableRecord");
    tag(2, name);
    tag(70, "0");
    tag(3, Upper(name) == "CONTINUOUS" ? "Solid line" : "");
    tag(72, "65");
    tag(73, "0");
    tagReal(40, 0.0);
  }
  tag(0, "ENDTAB");
}

// Text styles: the file's table (or "Standard"), plus any style a text uses that it lacks.
void DxfWriter::textStyles() {
  Names used = m_census.textStyles;
  AddName(used, kStandardStyle);
  const auto* kept = preserved(std::string(preserved::kTablePrefix) + "STYLE");
  std::set<std::string> present = kept ? EntryNames(*kept) : std::set<std::string>{};
  std::string table;
  if (kept) {
    writeRaw(*kept);
    auto handle = std::find_if(kept->front().begin(), kept->front().end(),
                               [](const auto& t) { return t.first == 5; });
    table = handle != kept->front().end() ? handle->second : "0";
  } else {
    table = tableStart("STYLE", AcDbObjectId(), used.size());
  }
  std::set<std::string> added;
  for (const std::string& name : used) {
    if (name.empty() || present.count(Upper(name)) || !added.insert(Upper(name)).second) continue;
    tag(0, "STYLE");
    tag(5, newHandle());
    tag(330, table);
    tag(100, "AcDbSymbolTableRecord");
    tag(100, "AcDbTextStyleTableRecord");
    tag(2, name);
    tag(70, "0");
    tagReal(40, 0.0);
    tagReal(41, 1.0);
    tagReal(50, 0.0);
    tag(71, "0");
    tagReal(42, m_impl->textSize);
    tag(3, "txt");
    tag(4, "");
  }
  tag(0, "ENDTAB");
}

void DxfWriter::symbolTable(const char* name, AcDbObjectId table) {
  std::vector<AcDbObjectId> records = m_saved.records(table);
  tableStart(name, table, records.size());
  std::map<std::string, std::string> layouts;
  if (const auto* kept = preserved(preserved::kBlockLayouts))
    for (const RawTags& entry : *kept)
      if (entry.size() == 2) layouts[entry[0].second] = entry[1].second;
  for (AcDbObjectId id : records) {
    AcDbObject* record = Peek(id);
    tag(0, record->isA()->dxfName());
    if (auto* layer = AcDbLayerTableRecord::cast(record)) {
      WriteLayerRecord(&m_filer, layer);
    } else if (auto* block = AcDbBlockTableRecord::cast(record)) {
      WriteBlockRecord(&m_filer, block, layouts[HandleOf(id)]);
    } else if (auto* application = AcDbRegAppTableRecord::cast(record)) {
      WriteRegAppRecord(&m_filer, application);
    }
    xdata(record);
  }
  tag(0, "ENDTAB");
}

// BLOCKS: every block between its BLOCK and ENDBLK; the entities of model space and of paper
// space go to ENTITIES.
void DxfWriter::blocks() {
  tag(0, "SECTION");
  tag(2, "BLOCKS");
  std::map<std::string, std::pair<std::string, std::string>> ends;
  if (const auto* kept = preserved(preserved::kBlockEnds))
    for (const RawTags& entry : *kept)
      if (entry.size() == 3) ends[entry[0].second] = {entry[1].second, entry[2].second};
  for (AcDbObjectId id : m_saved.records(m_impl->blockTable)) {
    auto* block = AcDbBlockTableRecord::cast(Peek(id));
    auto kept = ends.find(HandleOf(id));
    std::string begin = kept != ends.end() ? kept->second.first : newHandle();
    std::string end = kept != ends.end() ? kept->second.second : newHandle();
    blockEnd(id, "BLOCK", begin);
    tag(100, "AcDbBlockBegin");
    tag(2, block->getNameConst());
    int flags = (block->isAnonymous() ? 1 : 0) | (block->hasAttributeDefinitions() ? 2 : 0);
    tag(70, std::to_string(flags));
    tagPoint(10, block->origin());
    tag(3, block->getNameConst());
    tag(1, "");
    if (id != m_impl->modelSpace && id != m_impl->paperSpace)
      for (AcDbObjectId entityId : m_saved.entities(id)) entity(entityId);
    blockEnd(id, "ENDBLK", end);
    tag(100, "AcDbBlockEnd");
  }
  tag(0, "ENDSEC");
}

void DxfWriter::blockEnd(AcDbObjectId block, const char* kind, const std::string& handle) {
  tag(0, kind);
  tag(5, handle);
  tag(330, HandleOf(block));
  tag(100, "AcDbEntity");
  if (block == m_impl->paperSpace) tag(67, "1");
  tag(8, "0");
}

void DxfWriter::entities() {
  tag(0, "SECTION");
  tag(2, "ENTITIES");
  for (AcDbObjectId id : m_modelSpace) entity(id);
  for (AcDbObjectId id : m_saved.entities(m_impl->paperSpace)) entity(id);
  tag(0, "ENDSEC");
}

// An entity, then the vertices or attributes it owns and their sequence end.
void DxfWriter::entity(AcDbObjectId id) {
  object(id);
  AcDbObject* owner = Peek(id);
  bool complex = AcDbComplexEntity::cast(owner) != nullptr;
  std::vector<AcDbObjectId> parts;
  const bool ended = m_saved.appendParts(id, parts);
  // A reference without attributes stands alone, whatever sequence end it keeps.
  if (!complex && parts.size() == (ended ? 1U : 0U)) return;
  for (AcDbObjectId part : parts) object(part);
  if (ended) return;
  // A sequence end the drawing lacks: the format needs one.
  tag(0, "SEQEND");
  tag(5, newHandle());
  tag(330, HandleOf(id));
  tag(100, "AcDbEntity");
  tag(8, AcDbEntity::cast(owner)->layer());
}

void DxfWriter::objects() {
  tag(0, "SECTION");
  tag(2, "OBJECTS");
  for (AcDbObjectId id : m_census.nonGraphical) object(id);
  tag(0, "ENDSEC");
}

// Sections the platform does not know, kept from the file.
void DxfWriter::sections() {
  for (const auto& [key, records] : m_impl->preservedDxf) {
    if (key.rfind(preserved::kSectionPrefix, 0) != 0) continue;
    tag(0, "SECTION");
    tag(2, key.substr(std::strlen(preserved::kSectionPrefix)));
    writeRaw(records);
    tag(0, "ENDSEC");
  }
}

void DxfWriter::object(AcDbObjectId id) {
  AcDbObject* target = Peek(id);
  std::string name;
  if (const RawTags* kept = KeptTags(target, name)) {
    if (kept->empty() || name.empty()) return;
    tag(0, name);
    tag(5, HandleOf(id));
    keptTags(*kept, target->ownerId());
    return;
  }
  name = target->isA()->dxfName();
  if (name.empty()) return;
  tag(0, name);
  fields(id, target);
  xdata(target);
}

// The object's groups; an application's object is opened for read while it writes them.
void DxfWriter::fields(AcDbObjectId id, AcDbObject* target) {
  if (auto* dictionary = AcDbDictionary::cast(target)) {
    WriteDictionary(&m_filer, dictionary, m_saved);
    return;
  }
  if (auto* group = AcDbGroup::cast(target)) {
    WriteGroup(&m_filer, group, m_saved);
    return;
  }
  AcDbObject* opened = nullptr;
  if (acdbOpenAcDbObject(opened, id, AcDb::kForRead) == Acad::eOk) {
    opened->dxfOutFields(&m_filer);
    opened->close();
  } else {
    target->dxfOutFields(&m_filer);
  }
}

void DxfWriter::xdata(const AcDbObject* object) {
  resbuf item{};
  for (auto reader = ObjectAccess::xdata(const_cast<AcDbObject*>(object)).reader();
       reader.next(item);)
    m_filer.writeItem(item);
}

}  // namespace

std::string WriteDxfText(AcDbDatabase* database) {
  return DxfWriter(database).text();
}

std::optional<std::string> DataDxfCannotCarry(AcDbDatabase* database) {
  db::DatabaseImpl* impl = db::Impl(database);
  return Refusal(Census(impl, SavedObjects(database)));
}

std::optional<std::string> WriteCarriedDxfText(AcDbDatabase* database, std::string& head,
                                               std::string& rest) {
  DxfWriter writer(database);
  if (auto refusal = Refusal(writer.census())) return refusal;
  writer.text(head, rest);
  return std::nullopt;
}

}  // namespace tessera::files
