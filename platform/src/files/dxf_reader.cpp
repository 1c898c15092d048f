#include "files/dxf_reader.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <span>
#include <unordered_map>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/xdata.h"
#include "files/drawing_repair.h"
#include "files/dxf_filer.h"
#include "files/dxf_layout.h"
#include "files/dxf_structure.h"
#include "files/dxf_symbols.h"
#include "files/saved_objects.h"
#include "lisp/group_codes.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

// Polyline flags (group 70) of the kinds the platform keeps only as read: meshes.
constexpr Adesk::Int16 kPolyline3d = 8;
constexpr Adesk::Int16 kPolygonMesh = 16;
constexpr Adesk::Int16 kPolyfaceMesh = 64;
constexpr int kPaperSpaceCode = 67;
constexpr int kFirstXDataCode = 1000;
constexpr int kLastXDataCode = 1071;
// Names of the two layout blocks in files of releases before 2000.
constexpr const char* kOldModelSpace = "$MODEL_SPACE";
constexpr const char* kOldPaperSpace = "$PAPER_SPACE";

// Makes a new object of a DXF record name that the platform models as a simple entity.
AcDbEntity* NewSimpleEntity(std::string_view name) {
  if (name == "LINE") return new AcDbLine;
  if (name == "CIRCLE") return new AcDbCircle;
  if (name == "ARC") return new AcDbArc;
  if (name == "TEXT") return new AcDbText;
  if (name == "ATTDEF") return new AcDbAttributeDefinition;
  if (name == "LWPOLYLINE") return new AcDbPolyline;
  return nullptr;
}

// The class an application registered for a DXF record name, or null.
AcRxClass* ApplicationClass(std::string_view name) {
  for (const auto& [key, entry] : acrxClassDictionary()->entries()) {
    auto* aClass = static_cast<AcRxClass*>(entry);
    if (aClass->isCustom() && name == aClass->dxfName() &&
        aClass->isDerivedFrom(AcDbObject::desc()))
      return aClass;
  }
  return nullptr;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

int IntegerOf(const DxfTag* tag) {
  std::int64_t value = 0;
  return tag && ParseDxfInteger(tag->value, value) ? static_cast<int>(value) : 0;
}

std::string BlockName(const DxfRecord& begin);

class DxfBuilder {
 public:
  DxfBuilder(AcDbDatabase* database, DxfRepairs& repairs)
      : m_database(database), m_impl(db::Impl(database)), m_repairs(repairs) {}
  std::optional<DxfProblem> build(const std::vector<DxfSection>& sections,
                                  const DxfHandles& handles);

 private:
  bool fail(int line, std::string message);
  void registerHandles(const DxfHandles& handles);
  void header(const DxfSection& section);
  void keepRecords(const DxfSection& section, const std::string& key);
  bool tables(const DxfSection& section);
  bool symbolTable(const std::string& name, const std::vector<DxfRecord>& records);
  AcDbObjectId tableObject(const std::string& name, const DxfRecord& header);
  bool tableRecord(const std::string& name, AcDbObjectId table, const DxfRecord& record);
  void ensureBasics();
  AcDbObjectId ensureRecord(AcDbObjectId table, AcDbSymbolTableRecord* record, const char* name);
  bool blocks(const DxfSection& section);
  bool entities(const std::vector<DxfRecord>& records, std::size_t& i, std::size_t end,
                AcDbObjectId block);
  AcDbObjectId blockOf(const DxfRecord& record) const;
  bool entity(const std::vector<DxfRecord>& records, std::size_t& i, AcDbObjectId block);
  bool complexEntity(const std::vector<DxfRecord>& records, std::size_t& i, AcDbObjectId block);
  void unknownEntity(const std::vector<DxfRecord>& records, std::size_t first, std::size_t last,
                     AcDbObjectId block);
  bool objects(const DxfSection& section);
  bool object(const DxfRecord& record, bool first);
  AcDbObject* unknownObject(const DxfRecord& record);
  // Reads the record into the new object: its fields, then its extended data.
  bool read(AcDbObject* object, const DxfRecord& record, Acad::ErrorStatus& status);
  bool readXData(AcDbObject* object, const DxfRecord& record);
  AcDbObjectId admit(AcDbObject* object, const DxfRecord* record, AcDbObjectId owner);
  void appendToBlock(AcDbObjectId block, AcDbObjectId entity);
  void repair();
  void keepHandseed(std::uint64_t fileSeed);
  void ensureLayers();
  void ensureApplications();

  AcDbDatabase* m_database;
  db::DatabaseImpl* m_impl;
  DxfRepairs& m_repairs;
  std::optional<DxfProblem> m_problem;
  // The own handle of the record that starts at a tag, or null.
  AcDbHandle handleOf(const DxfTag* record) const;

  const DxfHandles* m_handles = nullptr;  // in file order, so by record start
  std::string m_currentLayer;
  bool m_layerTableRead = false;
  std::uint64_t m_largestAdmitted = 0;   // the largest handle of an object the reader made
  std::set<std::string> m_applications;  // named in extended data
};

bool DxfBuilder::fail(int line, std::string message) {
  if (!m_problem) m_problem = DxfProblem{line, std::move(message)};
  return false;
}

std::optional<DxfProblem> DxfBuilder::build(const std::vector<DxfSection>& sections,
                                            const DxfHandles& handles) {
  m_impl->loading = true;
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  AcDbDatabase* working = services->workingDatabase();
  // Application objects read themselves against the working drawing (rows they re-create go there).
  services->setWorkingDatabase(m_database);
  registerHandles(handles);
  bool ok = true;
  for (const DxfSection& section : sections)
    if (ok && section.name == "HEADER") header(section);
  const std::uint64_t fileSeed = m_impl->handseed().value();
  for (const DxfSection& section : sections)
    if (ok && section.name == "TABLES") ok = tables(section);
  if (ok) ensureBasics();
  for (const DxfSection& section : sections) {
    if (!ok) break;
    if (section.name == "CLASSES") {
      keepRecords(section, preserved::kClasses);
    } else if (section.name == "BLOCKS") {
      ok = blocks(section);
    } else if (section.name == "ENTITIES") {
      std::size_t i = 0;
      ok = entities(section.records, i, section.records.size(), AcDbObjectId());
    } else if (section.name != "HEADER" && section.name != "TABLES" && section.name != "OBJECTS") {
      keepRecords(section, preserved::kSectionPrefix + section.name);
    }
  }
  for (const DxfSection& section : sections)
    if (ok && section.name == "OBJECTS") ok = objects(section);
  if (ok) repair();
  if (std::string cycle = ok ? BlockCycle(m_database) : ""; !cycle.empty())
    ok = fail(0, cycle + ": a block cannot contain itself");
  if (ok) keepHandseed(fileSeed);
  services->setWorkingDatabase(working);
  m_impl->loading = false;
  return m_problem;
}

// The handle seed goes above every handle of the file before any object is made, so that
// objects made while reading never take a handle of the file.
void DxfBuilder::registerHandles(const DxfHandles& handles) {
  m_handles = &handles;
  std::vector<std::uint64_t> inFileOrder;
  inFileOrder.reserve(handles.size());
  for (const auto& [record, handle] : handles) inFileOrder.push_back(handle.value());
  // Stubs in file order: the drawing then lists its objects in the order the file had them.
  m_impl->makeStubs(inFileOrder);
}

// HEADER: the variables the platform keeps; the others are written back as read.
void DxfBuilder::header(const DxfSection& section) {
  std::string name;
  RawTags tags;
  auto finish = [&] {
    if (name.empty()) return;
    auto value = [&](int code) -> const std::string* {
      for (const auto& [c, v] : tags)
        if (c == code) return &v;
      return nullptr;
    };
    auto point = [&](AcGePoint3d& p) {
      for (int axis = 0; axis < 3; ++axis)
        if (const std::string* v = value(10 + 10 * axis)) ParseDxfReal(*v, p[axis]);
    };
    double number = 0;
    if (name == "$HANDSEED") {
      if (const std::string* v = value(5)) {
        AcDbHandle seed(v->c_str());
        if (seed.value() < (std::uint64_t{1} << 62)) m_impl->raiseHandseed(seed);
      }
    } else if (name == "$TEXTSIZE") {
      if (const std::string* v = value(40); v && ParseDxfReal(*v, number) && number > 0)
        m_impl->textSize = number;
    } else if (name == "$CLAYER") {
      if (const std::string* v = value(8)) m_currentLayer = *v;
    } else if (name == "$UCSORG") {
      point(m_impl->ucsOrigin);
    } else if (name == "$UCSXDIR" || name == "$UCSYDIR") {
      AcGePoint3d p;
      point(p);
      AcGeVector3d axis = p.asVector();
      if (!axis.isZeroLength()) (name == "$UCSXDIR" ? m_impl->ucsXAxis : m_impl->ucsYAxis) = axis;
    } else if (name != "$ACADVER") {
      m_impl->extraHeader.emplace_back(name, tags);
    }
    tags.clear();
  };
  for (const DxfTag* tag = section.begin; tag != section.end; ++tag) {
    if (tag->code == 9) {
      finish();
      name = tag->value;
    } else {
      tags.emplace_back(tag->code, tag->value);
    }
  }
  finish();
}

void DxfBuilder::keepRecords(const DxfSection& section, const std::string& key) {
  auto& kept = m_impl->preservedDxf[key];
  for (const DxfRecord& record : section.records) {
    RawTags tags = {{0, std::string(record.name())}};
    RawTags data = record.raw();
    tags.insert(tags.end(), data.begin(), data.end());
    kept.push_back(std::move(tags));
  }
}

// TABLES: layers, blocks and registered applications become the drawing's tables; the other
// tables are kept as read.
bool DxfBuilder::tables(const DxfSection& section) {
  const auto& records = section.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].name() != "TABLE") continue;
    const DxfTag* nameTag = records[i].find(AcDb::kDxfBlockName);
    std::string name = nameTag ? Upper(std::string(nameTag->value)) : "";
    std::size_t end = i + 1;
    while (end < records.size() && records[end].name() != "ENDTAB" &&
           records[end].name() != "TABLE")
      ++end;
    std::vector<DxfRecord> table(records.begin() + static_cast<std::ptrdiff_t>(i),
                                 records.begin() + static_cast<std::ptrdiff_t>(end));
    m_layerTableRead = m_layerTableRead || name == "LAYER";
    if (name == "LAYER" || name == "BLOCK_RECORD" || name == "APPID") {
      if (!symbolTable(name, table)) return false;
    } else if (!name.empty()) {
      auto& kept = m_impl->preservedDxf[preserved::kTablePrefix + name];
      // A second table of the same kind adds its entries to the first, as for the tables above.
      for (const DxfRecord& record : kept.empty() ? table : std::span(table).subspan(1)) {
        RawTags tags = {{0, std::string(record.name())}};
        RawTags data = record.raw();
        tags.insert(tags.end(), data.begin(), data.end());
        kept.push_back(std::move(tags));
      }
    }
    i = end < records.size() && records[end].name() == "ENDTAB" ? end : end - 1;
  }
  return true;
}

AcDbObjectId DxfBuilder::tableObject(const std::string& name, const DxfRecord& header) {
  AcDbObjectId& table = name == "LAYER"          ? m_impl->layerTable
                        : name == "BLOCK_RECORD" ? m_impl->blockTable
                                                 : m_impl->regAppTable;
  if (table.isValid()) return table;  // a second table of the same kind adds to the first
  AcDbObject* object = name == "LAYER"          ? static_cast<AcDbObject*>(new AcDbLayerTable)
                       : name == "BLOCK_RECORD" ? static_cast<AcDbObject*>(new AcDbBlockTable)
                                                : static_cast<AcDbObject*>(new AcDbRegAppTable);
  readXData(object, header);
  table = admit(object, &header, AcDbObjectId());
  return table;
}

bool DxfBuilder::symbolTable(const std::string& name, const std::vector<DxfRecord>& records) {
  AcDbObjectId table = tableObject(name, records.front());
  if (table.isNull()) return false;
  for (std::size_t i = 1; i < records.size(); ++i)
    if (!tableRecord(name, table, records[i])) return false;
  return true;
}

bool DxfBuilder::tableRecord(const std::string& name, AcDbObjectId table, const DxfRecord& record) {
  if (Upper(std::string(record.name())) != name)
    return true;  // an entry of another kind: not this table's
  DxfFiler filer(record.data(), record.end, m_database);
  AcDbSymbolTableRecord* entry = nullptr;
  std::string layout;
  if (name == "LAYER") {
    auto* layer = new AcDbLayerTableRecord;
    ReadLayerRecord(&filer, layer);
    entry = layer;
  } else if (name == "BLOCK_RECORD") {
    auto* block = new AcDbBlockTableRecord;
    ReadBlockRecord(&filer, block, layout);
    entry = block;
  } else {
    auto* application = new AcDbRegAppTableRecord;
    ReadRegAppRecord(&filer, application);
    entry = application;
  }
  if (filer.filerStatus() != Acad::eOk) {
    delete entry;
    return fail(filer.lastLine(), filer.problem());
  }
  std::string entryName = entry->getNameConst();
  if (name == "BLOCK_RECORD" && Upper(entryName) == Upper(kOldModelSpace))
    entryName = ACDB_MODEL_SPACE;
  ObjectAccess::setRecordName(entry, entryName);
  auto* symbols = AcDbSymbolTable::cast(Peek(table));
  // A record without a name, or with the name of one read before, cannot be looked up: dropped.
  if (entryName.empty() || symbols->has(entryName.c_str())) {
    delete entry;
    return true;
  }
  if (!readXData(entry, record)) {
    delete entry;
    return false;
  }
  AcDbObjectId id = admit(entry, &record, table);
  ObjectAccess::addTableRecord(symbols, id, entryName);
  if (!layout.empty())
    m_impl->preservedDxf[preserved::kBlockLayouts].push_back(
        {{5, id.handle().text()}, {340, layout}});
  return true;
}

// Tables, layer "0" and the two layout blocks that every drawing has, made when the file lacks
// them.
void DxfBuilder::ensureBasics() {
  auto ensureTable = [&](AcDbObjectId& table, AcDbObject* made) {
    if (table.isValid()) {
      delete made;
      return;
    }
    table = admit(made, nullptr, AcDbObjectId());
  };
  ensureTable(m_impl->blockTable, new AcDbBlockTable);
  ensureTable(m_impl->layerTable, new AcDbLayerTable);
  ensureTable(m_impl->regAppTable, new AcDbRegAppTable);
  m_impl->layerZero = ensureRecord(m_impl->layerTable, new AcDbLayerTableRecord, "0");
  m_impl->modelSpace = ensureRecord(m_impl->blockTable, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
  m_impl->paperSpace = ensureRecord(m_impl->blockTable, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
  ensureRecord(m_impl->regAppTable, new AcDbRegAppTableRecord, "ACAD");
}

AcDbObjectId DxfBuilder::ensureRecord(AcDbObjectId table, AcDbSymbolTableRecord* record,
                                      const char* name) {
  auto* symbols = AcDbSymbolTable::cast(Peek(table));
  AcDbObjectId id;
  if (symbols->getAt(name, id) == Acad::eOk) {
    delete record;
    return id;
  }
  ObjectAccess::setRecordName(record, name);
  id = admit(record, nullptr, table);
  ObjectAccess::addTableRecord(symbols, id, name);
  return id;
}

// BLOCKS: each BLOCK ... ENDBLK fills its block record (made here when the file has no record
// for it); the handles of BLOCK and ENDBLK are kept for writing back.
// The name of a BLOCK record, with the layout blocks of old releases under today's names.
std::string BlockName(const DxfRecord& begin) {
  const DxfTag* nameTag = begin.find(AcDb::kDxfBlockName);
  std::string name(nameTag ? nameTag->value : "");
  if (Upper(name) == kOldModelSpace) name = ACDB_MODEL_SPACE;
  if (Upper(name) == kOldPaperSpace) name = ACDB_PAPER_SPACE;
  return name;
}

bool DxfBuilder::blocks(const DxfSection& section) {
  const auto& records = section.records;
  // Every block first (files without a block record table define them here only), so that a
  // block inserted before its definition is found.
  for (const DxfRecord& record : records)
    if (record.name() == "BLOCK" && !BlockName(record).empty())
      ensureRecord(m_impl->blockTable, new AcDbBlockTableRecord, BlockName(record).c_str());
  auto* table = AcDbBlockTable::cast(Peek(m_impl->blockTable));
  std::size_t i = 0;
  while (i < records.size()) {
    const DxfRecord& begin = records[i++];
    if (begin.name() != "BLOCK") continue;  // stray records between blocks are dropped
    std::string name = BlockName(begin);
    if (name.empty()) return fail(begin.line(), "the BLOCK has no name (group 2)");
    AcDbObjectId block;
    table->getAt(name.c_str(), block);
    if (const DxfTag* origin = begin.find(10)) {
      DxfFiler filer(origin, begin.end, m_database);
      resbuf item{};
      if (filer.readItem(&item) != Acad::eOk) return fail(filer.lastLine(), filer.problem());
      AcDbBlockTableRecord* record = nullptr;
      if (acdbOpenObject(record, block, AcDb::kForWrite) == Acad::eOk) {
        record->setOrigin(
            AcGePoint3d(item.resval.rpoint[0], item.resval.rpoint[1], item.resval.rpoint[2]));
        record->close();
      }
    }
    std::size_t end = i;
    while (end < records.size() && records[end].name() != "ENDBLK" &&
           records[end].name() != "BLOCK")
      ++end;
    if (!entities(records, i, end, block)) return false;
    AcDbHandle beginHandle = handleOf(begin.begin);
    AcDbHandle endHandle = end < records.size() && records[end].name() == "ENDBLK"
                               ? handleOf(records[end].begin)
                               : AcDbHandle();
    if (!beginHandle.isNull() && !endHandle.isNull())
      m_impl->preservedDxf[preserved::kBlockEnds].push_back(
          {{330, block.handle().text()}, {5, beginHandle.text()}, {5, endHandle.text()}});
    i = end < records.size() && records[end].name() == "ENDBLK" ? end + 1 : end;
  }
  return true;
}

// The block an entity of the ENTITIES section belongs to: the block record its owner names,
// else paper space when it says so, else model space.
AcDbObjectId DxfBuilder::blockOf(const DxfRecord& record) const {
  if (const DxfTag* owner = record.leading(AcDb::kDxfSoftPointerId)) {
    AcDbObjectId id = m_impl->idForHandle(AcDbHandle(std::string(owner->value).c_str()));
    if (AcDbBlockTableRecord::cast(Peek(id))) return id;
  }
  if (IntegerOf(record.find(kPaperSpaceCode)) == 1) return m_impl->paperSpace;
  return m_impl->modelSpace;
}

bool DxfBuilder::entities(const std::vector<DxfRecord>& records, std::size_t& i, std::size_t end,
                          AcDbObjectId block) {
  while (i < end) {
    AcDbObjectId target = block.isNull() ? blockOf(records[i]) : block;
    if (!entity(records, i, target)) return false;
  }
  return true;
}

void DxfBuilder::appendToBlock(AcDbObjectId block, AcDbObjectId entity) {
  if (auto* record = AcDbBlockTableRecord::cast(Peek(block)))
    ObjectAccess::blockEntities(record).push_back(entity);
}

bool DxfBuilder::entity(const std::vector<DxfRecord>& records, std::size_t& i, AcDbObjectId block) {
  const DxfRecord& record = records[i];
  const std::string_view name = record.name();
  if (name == "POLYLINE" || name == "INSERT") return complexEntity(records, i, block);
  if (name == "VERTEX" || name == "ATTRIB" || name == "SEQEND") {
    ++i;  // a part without the entity it belongs to: dropped
    return true;
  }
  AcDbEntity* made = NewSimpleEntity(name);
  AcRxClass* aClass = made == nullptr ? ApplicationClass(name) : nullptr;
  if (aClass != nullptr && aClass->isDerivedFrom(AcDbEntity::desc())) {
    AcRxObject* created = aClass->create();
    made = AcDbEntity::cast(created);
    if (made == nullptr) delete created;
  }
  Acad::ErrorStatus status = Acad::eOk;
  if (made != nullptr && !read(made, record, status)) {
    delete made;
    return false;
  }
  if (made == nullptr || status != Acad::eOk) {
    delete made;
    unknownEntity(records, i, i + 1, block);
  } else {
    appendToBlock(block, admit(made, &record, block));
  }
  ++i;
  return true;
}

// A polyline with its vertices, or a block reference with its attributes, and the sequence end.
bool DxfBuilder::complexEntity(const std::vector<DxfRecord>& records, std::size_t& i,
                               AcDbObjectId block) {
  const DxfRecord& head = records[i];
  bool polyline = head.name() == "POLYLINE";
  const char* partName = polyline ? "VERTEX" : "ATTRIB";
  std::size_t last = i + 1;
  while (last < records.size() && records[last].name() == partName) ++last;
  bool hasEnd = last < records.size() && records[last].name() == "SEQEND";
  std::size_t end = hasEnd ? last + 1 : last;
  int flags = polyline ? IntegerOf(head.find(70)) : 0;
  bool threeD = (flags & kPolyline3d) != 0;
  AcDbEntity* made = nullptr;
  if (polyline && !(flags & (kPolygonMesh | kPolyfaceMesh)))
    made = threeD ? static_cast<AcDbEntity*>(new AcDb3dPolyline) : new AcDb2dPolyline;
  if (!polyline) made = new AcDbBlockReference;
  Acad::ErrorStatus status = Acad::eOk;
  if (made != nullptr && !read(made, head, status)) {
    delete made;
    return false;
  }
  auto* reference = AcDbBlockReference::cast(made);
  if (reference && reference->blockTableRecord().isNull()) {
    // As the host's audit does: an insertion of a block the drawing does not have goes.
    const DxfTag* nameTag = head.find(AcDb::kDxfBlockName);
    m_repairs.push_back({head.line(), "the INSERT of block \"" +
                                          std::string(nameTag ? nameTag->value : "") +
                                          "\", which the drawing does not have, is removed"});
    delete made;
    i = end;
    return true;
  }
  // Meshes stay as read.
  if (made == nullptr || status != Acad::eOk) {
    delete made;
    unknownEntity(records, i, end, block);
    i = end;
    return true;
  }
  AcDbObjectId owner = admit(made, &head, block);
  appendToBlock(block, owner);
  auto* complex = AcDbComplexEntity::cast(made);
  for (std::size_t k = i + 1; k < last; ++k) {
    AcDbEntity* part = !polyline ? static_cast<AcDbEntity*>(new AcDbAttribute)
                       : threeD  ? static_cast<AcDbEntity*>(new AcDb3dPolylineVertex)
                                 : static_cast<AcDbEntity*>(new AcDb2dVertex);
    if (!read(part, records[k], status)) {
      delete part;
      return false;
    }
    AcDbObjectId id = admit(part, &records[k], owner);
    if (complex)
      ObjectAccess::vertices(complex).push_back(id);
    else
      ObjectAccess::attributes(reference).push_back(id);
  }
  if (hasEnd || last > i + 1 || complex) {
    auto* end = new AcDbSequenceEnd;
    if (hasEnd && !read(end, records[last], status)) {
      delete end;
      return false;
    }
    AcDbObjectId id = admit(end, hasEnd ? &records[last] : nullptr, owner);
    if (complex)
      ObjectAccess::sequenceEnd(complex) = id;
    else
      ObjectAccess::sequenceEnd(reference) = id;
  }
  i = end;
  return true;
}

// An entity kept as read; the records of its parts (a mesh's vertices) go with it.
void DxfBuilder::unknownEntity(const std::vector<DxfRecord>& records, std::size_t first,
                               std::size_t last, AcDbObjectId block) {
  const DxfRecord& head = records[first];
  auto* kept = new AcDbUnknownEntity;
  kept->originalDxfName = head.name();
  kept->dxfTags = head.raw(head.leading(AcDb::kDxfHandle));
  for (std::size_t k = first + 1; k < last; ++k) {
    kept->dxfTags.emplace_back(0, records[k].name());
    RawTags part = records[k].raw();
    kept->dxfTags.insert(kept->dxfTags.end(), part.begin(), part.end());
  }
  // Its layer and owner, for the platform's own use; its tags stay as they were.
  DxfFiler filer(head.data(), head.end, m_database);
  kept->AcDbEntity::dxfInFields(&filer);
  appendToBlock(block, admit(kept, &head, block));
}

// OBJECTS: the first dictionary is the named-object dictionary; dictionaries and groups are
// the platform's; objects of registered application classes read themselves; the rest is kept.
bool DxfBuilder::objects(const DxfSection& section) {
  bool first = true;
  for (const DxfRecord& record : section.records) {
    if (!object(record, first)) return false;
    first = false;
  }
  return true;
}

bool DxfBuilder::object(const DxfRecord& record, bool first) {
  const std::string_view name = record.name();
  AcDbObject* made = nullptr;
  DxfFiler filer(record.data(), record.end, m_database);
  Acad::ErrorStatus status = Acad::eOk;
  if (name == "DICTIONARY") {
    auto* dictionary = new AcDbDictionary;
    status = ReadDictionary(&filer, dictionary);
    made = dictionary;
  } else if (name == "GROUP") {
    auto* group = new AcDbGroup;
    status = ReadGroup(&filer, group);
    made = group;
  } else if (AcRxClass* aClass = ApplicationClass(name);
             aClass && !aClass->isDerivedFrom(AcDbEntity::desc())) {
    AcRxObject* created = aClass->create();
    made = AcDbObject::cast(created);
    if (made == nullptr) delete created;
    if (made != nullptr) status = made->dxfInFields(&filer);
  }
  if (filer.filerStatus() == Acad::eBadDxfSequence) {
    delete made;
    return fail(filer.lastLine(), filer.problem());
  }
  if (made == nullptr || status != Acad::eOk) {
    delete made;  // an application object that refused its data stays as read
    made = unknownObject(record);
  } else if (!readXData(made, record)) {
    delete made;
    return false;
  }
  AcDbObjectId id = admit(made, &record, made->ownerId());
  if (first && AcDbDictionary::cast(made) && !m_impl->namedObjects.isValid())
    m_impl->namedObjects = id;
  return true;
}

AcDbObject* DxfBuilder::unknownObject(const DxfRecord& record) {
  auto* kept = new AcDbUnknownObject;
  kept->originalDxfName = record.name();
  kept->dxfTags = record.raw(record.leading(AcDb::kDxfHandle));
  DxfFiler filer(record.data(), record.end, m_database);
  kept->AcDbObject::dxfInFields(&filer);
  return kept;
}

bool DxfBuilder::read(AcDbObject* object, const DxfRecord& record, Acad::ErrorStatus& status) {
  DxfFiler filer(record.data(), record.end, m_database);
  status = object->dxfInFields(&filer);
  if (filer.filerStatus() == Acad::eBadDxfSequence) return fail(filer.lastLine(), filer.problem());
  return readXData(object, record);
}

// Extended data: from the first 1001 to the end of the record, one chain of items.
bool DxfBuilder::readXData(AcDbObject* object, const DxfRecord& record) {
  const DxfTag* tag = record.find(kDxfXDataApplication);
  if (tag == nullptr) return true;
  // Kept between records: reading a drawing reads the data of every object in turn. The
  // platform's objects are used from one thread only.
  static std::string packed;
  packed.clear();
  std::uint32_t count = 0;
  for (; tag != record.end; ++tag) {
    // Only extended-data groups belong here; anything else is dropped.
    if (tag->code < kFirstXDataCode || tag->code > kLastXDataCode ||
        lisp::GroupCodeValueKind(tag->code) == lisp::GroupValueKind::kInvalid)
      continue;
    bool point = lisp::GroupCodeValueKind(tag->code) == lisp::GroupValueKind::kPoint;
    resbuf item{};
    item.restype = static_cast<short>(tag->code);
    std::int64_t integer = 0;
    double real = 0;
    bool valid = true;
    bool text = false;
    switch (lisp::GroupCodeValueKind(tag->code)) {
      case lisp::GroupValueKind::kInt16:
        valid = ParseDxfInteger(tag->value, integer);
        item.resval.rint = static_cast<short>(integer);
        break;
      case lisp::GroupValueKind::kInt32:
        valid = ParseDxfInteger(tag->value, integer);
        item.resval.rlong = static_cast<std::int32_t>(integer);
        break;
      case lisp::GroupValueKind::kReal:
        valid = ParseDxfReal(tag->value, real);
        item.resval.rreal = real;
        break;
      case lisp::GroupValueKind::kPoint:
        valid = ParseDxfReal(tag->value, item.resval.rpoint[0]);
        break;
      default:
        text = true;
        if (tag->code == kDxfXDataApplication) m_applications.emplace(tag->value);
        break;
    }
    if (!valid)
      return fail(tag->line, "group " + std::to_string(tag->code) + " wants a number, not \"" +
                                 std::string(tag->value) + "\"");
    // A point's Y and Z follow it with codes 10 and 20 higher.
    const int xCode = tag->code;
    for (int axis = 1;
         point && axis <= 2 && tag + 1 != record.end && tag[1].code == xCode + 10 * axis; ++axis) {
      ++tag;
      if (!ParseDxfReal(tag->value, item.resval.rpoint[axis]))
        return fail(tag->line, "group " + std::to_string(tag->code) + " wants a number, not \"" +
                                   std::string(tag->value) + "\"");
    }
    if (text)
      db::AppendXDataText(packed, item.restype, tag->value);
    else
      db::AppendXDataItem(packed, item);
    ++count;
  }
  ObjectAccess::xdata(object).assign(packed, count);
  return true;
}

AcDbHandle DxfBuilder::handleOf(const DxfTag* record) const {
  auto found =
      std::lower_bound(m_handles->begin(), m_handles->end(), record,
                       [](const auto& entry, const DxfTag* at) { return entry.first < at; });
  return found != m_handles->end() && found->first == record ? found->second : AcDbHandle();
}

// Makes the new object resident under the record's handle (a new one when it has none) and closes
// it.
AcDbObjectId DxfBuilder::admit(AcDbObject* object, const DxfRecord* record, AcDbObjectId owner) {
  AcDbObjectId id;
  AcDbHandle handle = record ? handleOf(record->begin) : AcDbHandle();
  if (handle.isNull() || m_impl->addObjectWithHandle(object, handle, owner, id) != Acad::eOk)
    id = m_impl->addObject(object, owner);
  m_largestAdmitted = std::max(m_largestAdmitted, id.handle().value());
  object->close();
  return id;
}

// What the drawing needs and the file may lack or get wrong: the named-object and group
// dictionaries, references to objects the file does not have, groups' back references, the
// layers entities name, the applications extended data names, the current layer.
void DxfBuilder::repair() {
  if (!m_impl->namedObjects.isValid())
    m_impl->namedObjects = admit(new AcDbDictionary, nullptr, AcDbObjectId());
  auto* named = AcDbDictionary::cast(Peek(m_impl->namedObjects));
  AcDbObjectId groups;
  if (named->getAt("ACAD_GROUP", groups) != Acad::eOk || !AcDbDictionary::cast(Peek(groups))) {
    groups = admit(new AcDbDictionary, nullptr, m_impl->namedObjects);
    ObjectAccess::addDictionaryEntry(named, "ACAD_GROUP", groups);
  }
  m_impl->groupDictionary = groups;
  std::vector<std::string> mended;
  RepairReferences(m_database, &mended);
  for (std::string& repair : mended) m_repairs.push_back({0, std::move(repair)});
  ensureLayers();
  ensureApplications();
  auto* layers = AcDbLayerTable::cast(Peek(m_impl->layerTable));
  AcDbObjectId current;
  bool found =
      !m_currentLayer.empty() && layers->getAt(m_currentLayer.c_str(), current) == Acad::eOk;
  m_impl->currentLayer = found ? current : m_impl->layerZero;
}

// Above the file's handles and those of the objects the reader made; not above the handles of
// objects applications made while reading (they are made again on every open).
void DxfBuilder::keepHandseed(std::uint64_t fileSeed) {
  const std::uint64_t seed = std::max(fileSeed, m_largestAdmitted + 1);
  m_impl->preservedDxf[preserved::kHandseed] = {
      {{AcDb::kDxfHandle, AcDbHandle(seed).text()}, {AcDb::kDxfHandle, m_impl->handseed().text()}}};
}

void DxfBuilder::ensureLayers() {
  auto* layers = AcDbLayerTable::cast(Peek(m_impl->layerTable));
  std::vector<std::string> missing;
  std::set<std::string> checked;  // most entities share a few layers
  m_impl->forEachObject([&](AcDbObjectId id) {
    auto* entity = AcDbEntity::cast(Peek(id));
    if (entity == nullptr) return;
    std::string name = entity->layer();
    if (!checked.insert(name).second) return;
    bool listed = std::any_of(missing.begin(), missing.end(),
                              [&](const std::string& m) { return Upper(m) == Upper(name); });
    if (!name.empty() && !layers->has(name.c_str()) && !listed) missing.push_back(name);
  });
  for (const std::string& name : missing) {
    ensureRecord(m_impl->layerTable, new AcDbLayerTableRecord, name.c_str());
    // Files without a layer table leave layers to the reader; one with a table should list them.
    if (m_layerTableRead)
      m_repairs.push_back({0, "layer \"" + name + "\" is not in the LAYER table: added"});
  }
}

void DxfBuilder::ensureApplications() {
  for (const std::string& name : m_applications)
    if (!name.empty()) ensureRecord(m_impl->regAppTable, new AcDbRegAppTableRecord, name.c_str());
}

}  // namespace

std::optional<DxfProblem> BuildDxfDrawing(const std::vector<DxfSection>& sections,
                                          const DxfHandles& handles, AcDbDatabase* database,
                                          DxfRepairs& repairs) {
  return DxfBuilder(database, repairs).build(sections, handles);
}

std::optional<DxfProblem> ReadDxfText(std::string_view text, AcDbDatabase* database) {
  std::vector<DxfTag> tags;
  if (auto problem = ReadDxfTags(text, tags)) return problem;
  std::vector<DxfSection> sections;
  if (auto problem = SplitDxfSections(tags, sections)) return problem;
  DxfHandles handles;
  if (auto problem = CollectDxfHandles(sections, handles)) return problem;
  DxfRepairs repairs;
  return BuildDxfDrawing(sections, handles, database, repairs);
}

}  // namespace tessera::files
