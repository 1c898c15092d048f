#include "files/tdb_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "db/database_impl.h"
#include "db/object_access.h"
#include "db/per_class.h"
#include "db/sorted_handles.h"
#include "db/text_check.h"
#include "files/drawing_repair.h"
#include "files/dxf_filer.h"
#include "files/dxf_structure.h"
#include "files/dxf_tags.h"
#include "files/little_endian.h"
#include "files/memory_filer.h"
#include "files/saved_objects.h"

namespace tessera::files {
namespace {

using db::ObjectAccess;

// Eight bytes that a text-mode transfer or a truncated copy would change.
constexpr unsigned char kMagic[8] = {'T', 'S', 'R', 'A', 'D', 'B', '\r', '\n'};
// Versions 2 on end with a checksum of all bytes before it, taken a byte at a time in version
// 2 and eight bytes at a time from version 3 (eight times fewer steps over a large drawing);
// version 1 files, which have none, are still read. Up to version 3 every value had a fixed
// width and every text was written where it was used; version 4 files values in the bytes they
// need and each text once, after the objects, in less than half the bytes. Version 5 takes the
// checksum's words in four lanes, in a third of the time. Version 6 keeps what follows an
// object and its extension dictionary, which earlier versions lost (a group's followers came
// back with the reference repair, any other did not). Version 7 files a double that is exactly a
// float in four bytes, a point or vector that repeats the one before it in none, an object's data
// of fewer than 256 bytes with a length of one byte, and an entry's handle as its step from the
// entry before and its owner's as the step from its own: a quarter fewer bytes for a drawing of
// figures.
constexpr Adesk::Int32 kVersion = 7;
constexpr Adesk::Int32 kVersionWithoutHandleSteps = 6;
constexpr Adesk::Int32 kVersionWithoutObjectLinks = 5;
constexpr Adesk::Int32 kVersionOneLaneChecksum = 4;
constexpr Adesk::Int32 kVersionFixedWidths = 3;
constexpr Adesk::Int32 kVersionByteChecksum = 2;
// Entities of version 1 files, and of version 2 files saved before entities kept the properties
// the platform does not use, have no count of them after their linetype.
constexpr Adesk::Int32 kVersionEntitiesWithoutKeptProperties = 2;
constexpr Adesk::Int32 kVersionWithoutChecksum = 1;
// Bytes of the checksum at the end of the file.
constexpr std::size_t kChecksumSize = 8;
// FNV-1a (64 bits) over bytes, or over words with a rotation: each step is a bijection of the
// sum, so any change of a single byte or word changes it.
constexpr std::uint64_t kChecksumBasis = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kChecksumPrime = 0x100000001b3ULL;
constexpr int kChecksumRotation = 29;  // bits; spreads high bits back down between words
// Handles at or above this are no handles of a drawing (the DXF reader refuses them too).
constexpr std::uint64_t kHandleLimit = std::uint64_t{1} << 62;
constexpr const char* kEndMark = "END";
// Objects kept from DXF are filed under these class names with their tags.
constexpr const char* kKeptObjectClass = "AcDbUnknownObject";
constexpr const char* kKeptEntityClass = "AcDbUnknownEntity";
// More than this in a count is a damaged file, not a drawing.
constexpr Adesk::Int32 kMaxCount = 1 << 26;

std::uint64_t ByteChecksum(const unsigned char* bytes, std::size_t size) {
  std::uint64_t sum = kChecksumBasis;
  for (std::size_t i = 0; i < size; ++i) sum = (sum ^ bytes[i]) * kChecksumPrime;
  return sum;
}

// One step of the word checksum: a bijection of the sum for each word.
constexpr std::uint64_t ChecksumStep(std::uint64_t sum, std::uint64_t word) {
  return std::rotl(sum ^ word, kChecksumRotation) * kChecksumPrime;
}

// The word checksum carried on from `sum` over the bytes: a word at a time, the last few bytes
// one at a time.
std::uint64_t WordSteps(std::uint64_t sum, const unsigned char* bytes, std::size_t size) {
  std::size_t i = 0;
  // Two words a turn: the same sum with half the loop's own steps.
  for (; i + 16 <= size; i += 16)
    sum = ChecksumStep(ChecksumStep(sum, LoadLittleEndian<8>(bytes + i)),
                       LoadLittleEndian<8>(bytes + i + 8));
  for (; i + 8 <= size; i += 8) sum = ChecksumStep(sum, LoadLittleEndian<8>(bytes + i));
  for (; i < size; ++i) sum = ChecksumStep(sum, bytes[i]);
  return sum;
}

std::uint64_t WordChecksum(const unsigned char* bytes, std::size_t size) {
  return WordSteps(kChecksumBasis, bytes, size);
}

// Four sums, each over every fourth word as above, folded into one in lane order, then the
// words and bytes that fill no turn of all four: the lanes' steps do not wait on one another, so
// the sum keeps up with memory instead of waiting on one multiplication after another. A changed
// word changes its lane's sum, and so the fold.
std::uint64_t LaneChecksum(const unsigned char* bytes, std::size_t size) {
  constexpr std::size_t kLanes = 4;
  constexpr std::size_t kWord = 8;
  std::uint64_t lanes[kLanes] = {kChecksumBasis, kChecksumBasis, kChecksumBasis, kChecksumBasis};
  std::size_t i = 0;
  for (; i + kLanes * kWord <= size; i += kLanes * kWord) {
    lanes[0] = ChecksumStep(lanes[0], LoadLittleEndian<kWord>(bytes + i));
    lanes[1] = ChecksumStep(lanes[1], LoadLittleEndian<kWord>(bytes + i + kWord));
    lanes[2] = ChecksumStep(lanes[2], LoadLittleEndian<kWord>(bytes + i + 2 * kWord));
    lanes[3] = ChecksumStep(lanes[3], LoadLittleEndian<kWord>(bytes + i + 3 * kWord));
  }
  std::uint64_t sum = kChecksumBasis;
  for (std::uint64_t lane : lanes) sum = ChecksumStep(sum, lane);
  return WordSteps(sum, bytes + i, size - i);
}

std::uint64_t Checksum(Adesk::Int32 version, const unsigned char* bytes, std::size_t size) {
  if (version == kVersionByteChecksum) return ByteChecksum(bytes, size);
  if (version <= kVersionOneLaneChecksum) return WordChecksum(bytes, size);
  return LaneChecksum(bytes, size);
}

// The checksum of the version in place of the file's last eight bytes.
void WriteChecksum(Adesk::Int32 version, std::vector<unsigned char>& bytes) {
  const std::size_t body = bytes.size() - kChecksumSize;
  std::uint64_t sum = Checksum(version, bytes.data(), body);
  for (std::size_t i = 0; i < kChecksumSize; ++i, sum >>= 8)
    bytes[body + i] = static_cast<unsigned char>(sum & 0xFF);
}

bool ChecksumMatches(Adesk::Int32 version, std::span<const unsigned char> bytes) {
  if (bytes.size() < kChecksumSize) return false;
  const std::size_t body = bytes.size() - kChecksumSize;
  std::uint64_t stored = 0;
  for (std::size_t i = kChecksumSize; i > 0; --i) stored = (stored << 8) | bytes[body + i - 1];
  return stored == Checksum(version, bytes.data(), body);
}

// How the values of a file's version are laid out, and the texts its objects share.
struct FileLayout {
  bool fixedWidths = false;
  SharedTexts* texts = nullptr;
};

// A filer over a file's bytes that refuses what no drawing holds: text that is not valid
// (db/text_check.h) and handles beyond kHandleLimit.
class CheckedFiler : public MemoryDwgFiler {
 public:
  CheckedFiler(const unsigned char* data, std::size_t size, AcDbDatabase* database,
               const FileLayout& layout)
      : MemoryDwgFiler(data, size, AcDb::kFileFiler, database) {
    refuseInvalid(kHandleLimit);
    if (layout.fixedWidths) readFixedWidths();
    shareTexts(layout.texts);
  }
};

// The version item after the magic text, at fixed width in every version so that any reader
// finds it: its kind byte, then four bytes.
constexpr std::size_t kVersionItemSize = 1 + sizeof(Adesk::Int32);

void AppendVersionItem(Adesk::Int32 version, std::vector<unsigned char>& bytes) {
  bytes.push_back(static_cast<unsigned char>(MemoryDwgFiler::Kind::kInt32));
  const std::size_t at = bytes.size();
  bytes.resize(at + sizeof version);
  StoreLittleEndian<sizeof version>(static_cast<std::uint32_t>(version), bytes.data() + at);
}

void WriteTags(MemoryDwgFiler& out, const RawTags& tags) {
  out.writeInt32(static_cast<Adesk::Int32>(tags.size()));
  for (const auto& [code, value] : tags) {
    out.writeInt16(static_cast<Adesk::Int16>(code));
    out.writeString(value);
  }
}

bool ReadCount(CheckedFiler& in, Adesk::Int32& count) {
  in.readInt32(&count);
  if (in.filerStatus() == Acad::eOk && (count < 0 || count > kMaxCount))
    in.setFilerStatus(Acad::eFilerError);
  return in.filerStatus() == Acad::eOk;
}

bool ReadTags(CheckedFiler& in, RawTags& tags) {
  Adesk::Int32 count = 0;
  if (!ReadCount(in, count)) return false;
  for (Adesk::Int32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
    Adesk::Int16 code = 0;
    std::string value;
    in.readInt16(&code);
    in.readString(&value);
    // Kept tags are written to DXF as they are: a number that is no group code is damage.
    if (!IsDxfGroupCode(code)) in.setFilerStatus(Acad::eFilerError);
    tags.emplace_back(code, std::move(value));
  }
  return in.filerStatus() == Acad::eOk;
}

// The well-known objects, in the order the header files them.
std::vector<AcDbObjectId*> WellKnown(db::DatabaseImpl* impl) {
  return {&impl->blockTable,   &impl->layerTable,      &impl->regAppTable,
          &impl->namedObjects, &impl->groupDictionary, &impl->modelSpace,
          &impl->paperSpace,   &impl->layerZero,       &impl->currentLayer};
}

// Writing.

void WriteHeader(MemoryDwgFiler& out, db::DatabaseImpl* impl) {
  out.writeAcDbHandle(impl->handseed());
  out.writePoint3d(impl->ucsOrigin);
  out.writeVector3d(impl->ucsXAxis);
  out.writeVector3d(impl->ucsYAxis);
  out.writeDouble(impl->textSize);
  for (AcDbObjectId* id : WellKnown(impl)) out.writeAcDbHandle(id->handle());
  out.writeInt32(static_cast<Adesk::Int32>(impl->extraHeader.size()));
  for (const auto& [name, tags] : impl->extraHeader) {
    out.writeString(name);
    WriteTags(out, tags);
  }
  out.writeInt32(static_cast<Adesk::Int32>(impl->preservedDxf.size()));
  for (const auto& [key, records] : impl->preservedDxf) {
    out.writeString(key);
    out.writeInt32(static_cast<Adesk::Int32>(records.size()));
    for (const RawTags& record : records) WriteTags(out, record);
  }
}

// The saved objects in reading order.
std::vector<AcDbObjectId> ObjectsInOrder(AcDbDatabase* database, const SavedObjects& saved) {
  db::DatabaseImpl* impl = db::Impl(database);
  std::vector<AcDbObjectId> order;
  order.reserve(impl->objectCount());  // nearly all are saved: no growing copies of the list
  for (AcDbObjectId table : {impl->blockTable, impl->layerTable, impl->regAppTable}) {
    if (!saved.isSaved(table)) continue;
    order.push_back(table);
    for (AcDbObjectId record : saved.records(table)) order.push_back(record);
  }
  for (AcDbObjectId block : saved.records(impl->blockTable)) {
    for (AcDbObjectId entity : saved.entities(block)) {
      order.push_back(entity);
      saved.appendParts(entity, order);
    }
  }
  for (AcDbObjectId id : saved.nonGraphical()) order.push_back(id);
  return order;
}

// The class an object is filed under: its own, or for an object kept from a binary file (or
// from an application that went away) the class it came with.
std::string_view FiledClassName(AcDbObject* object) {
  const std::string* original = nullptr;
  if (auto* kept = AcDbUnknownObject::cast(object)) original = &kept->originalClassName;
  if (auto* kept = AcDbUnknownEntity::cast(object)) original = &kept->originalClassName;
  if (original != nullptr && !original->empty()) return *original;
  return object->isA()->name();
}

// Whether objects of the class are kept as they came (from a binary file, from DXF, or from an
// application that went away), filed under the class they came with.
bool KeepsData(const AcRxClass* aClass) {
  return aClass->isDerivedFrom(AcDbUnknownObject::desc()) ||
         aClass->isDerivedFrom(AcDbUnknownEntity::desc());
}

// Each class filed, numbered in the order of first use, and whether it is an entity's.
struct ClassTable {
  std::unordered_map<std::string_view, Adesk::Int32> index;
  std::vector<std::pair<std::string_view, bool>> names;
  // The number of each class whose objects are all filed under its own name, or kKeptClass for
  // a class whose objects are filed under the name each came with.
  static constexpr Adesk::Int32 kKeptClass = -1;
  db::PerClass<Adesk::Int32> ownNumbers;

  Adesk::Int32 indexOf(AcDbObject* object) {
    const AcRxClass* own = object->isA();
    const Adesk::Int32 number =
        ownNumbers.of(own, [&] { return KeepsData(own) ? kKeptClass : numberOf(object); });
    return number != kKeptClass ? number : numberOf(object);
  }
  // Of an object whose class indexOf has met.
  bool keepsData(const AcDbObject* object) {
    return ownNumbers.of(object->isA(), [] { return kKeptClass; }) == kKeptClass;
  }

 private:
  Adesk::Int32 numberOf(AcDbObject* object) {
    const std::string_view name = FiledClassName(object);
    auto [place, added] = index.emplace(name, static_cast<Adesk::Int32>(names.size()));
    if (added) names.emplace_back(name, AcDbEntity::cast(object) != nullptr);
    return place->second;
  }
};

// The object's data, written straight into `out`; `kept` for an object kept as it came.
void FileObject(AcDbObject* object, bool kept, MemoryDwgFiler& out) {
  if (!kept) {
    object->dwgOutFields(&out);
    return;
  }
  auto* keptObject = AcDbUnknownObject::cast(object);
  auto* keptEntity = AcDbUnknownEntity::cast(object);
  const std::vector<unsigned char>& bytes =
      keptObject ? keptObject->binaryData : keptEntity->binaryData;
  if (!(keptObject ? keptObject->originalClassName : keptEntity->originalClassName).empty()) {
    // Kept from a binary file: written back item by item, its texts shared as the file shares
    // them, so that it files as the object of its class would.
    MemoryDwgFiler kept(bytes.data(), bytes.size(), AcDb::kFileFiler, object->database());
    while (!kept.atEnd() && kept.copyItemTo(out)) {
    }
    return;
  }
  // Kept from DXF: its record name and tags, then its base data.
  out.writeString(keptObject ? keptObject->originalDxfName : keptEntity->originalDxfName);
  WriteTags(out, keptObject ? keptObject->dxfTags : keptEntity->dxfTags);
  if (keptEntity)
    keptEntity->AcDbEntity::dwgOutFields(&out);
  else
    keptObject->AcDbObject::dwgOutFields(&out);
}

// Room reserved up front for each saved object, above the 60 bytes an object of a drawing of
// figures takes on average, spares the file's buffer its growths (each a copy of all of it).
constexpr std::size_t kTypicalObjectBytes = 90;

// The texts the objects share, each once, in the order of their numbers.
void WriteSharedTexts(MemoryDwgFiler& out, const SharedTexts& texts) {
  out.writeInt32(static_cast<Adesk::Int32>(texts.texts().size()));
  for (std::string_view text : texts.texts()) out.writeString(std::string(text));
}

// From version 6 an entry's class item is the class's number times four, plus one when a count
// of the objects that follow the object and their handles come after the entry's owner, plus two
// when its extension dictionary's handle comes next: the few objects that have either say so,
// the rest pay nothing.
constexpr Adesk::Int32 kClassItemScale = 4;
constexpr Adesk::Int32 kFollowersFlag = 1;
constexpr Adesk::Int32 kDictionaryFlag = 2;

// From version 7 an entry's handle is filed as its step from the one before (objects are mostly
// listed in the order of their handles, a step of one), its owner's as the step from its own.
Adesk::Int64 HandleStep(AcDbHandle from, AcDbHandle to) {
  return static_cast<Adesk::Int64>(to.value() - from.value());
}
AcDbHandle Stepped(AcDbHandle from, Adesk::Int64 step) {
  return AcDbHandle(from.value() + static_cast<std::uint64_t>(step));
}

bool Kept(AcDbObjectId id) {
  return id.isValid() && !id.isErased();
}

// Which of the object's links its entry carries.
Adesk::Int32 LinkFlags(const AcDbObject* object) {
  const auto& followers = object->persistentReactors();
  return (std::any_of(followers.begin(), followers.end(), Kept) ? kFollowersFlag : 0) |
         (Kept(object->extensionDictionary()) ? kDictionaryFlag : 0);
}

// The objects that follow the object (its persistent reactors), its extension dictionary.
void WriteLinks(MemoryDwgFiler& out, const AcDbObject* object, Adesk::Int32 flags) {
  if (flags & kFollowersFlag) {
    const auto& followers = object->persistentReactors();
    out.writeInt32(
        static_cast<Adesk::Int32>(std::count_if(followers.begin(), followers.end(), Kept)));
    for (AcDbObjectId id : followers)
      if (Kept(id)) out.writeAcDbHandle(id.handle());
  }
  if (flags & kDictionaryFlag) out.writeAcDbHandle(object->extensionDictionary().handle());
}

}  // namespace

std::vector<unsigned char> WriteTdbBytes(AcDbDatabase* database) {
  db::DatabaseImpl* impl = db::Impl(database);
  SavedObjects saved(database);
  const std::vector<AcDbObjectId> order = ObjectsInOrder(database, saved);
  ClassTable classes;
  std::vector<Adesk::Int32> classOf;
  classOf.reserve(order.size());
  for (AcDbObjectId id : order) classOf.push_back(classes.indexOf(Peek(id)));

  std::vector<unsigned char> room(std::begin(kMagic), std::end(kMagic));
  room.reserve(order.size() * kTypicalObjectBytes + kChecksumSize);
  AppendVersionItem(kVersion, room);
  MemoryDwgFiler out(std::move(room), AcDb::kFileFiler, database);
  WriteHeader(out, impl);
  out.writeInt32(static_cast<Adesk::Int32>(classes.names.size()));
  for (const auto& [name, entity] : classes.names) {
    out.writeString(std::string(name));
    out.writeBool(entity);
  }
  out.writeInt32(static_cast<Adesk::Int32>(order.size()));
  SharedTexts texts;
  out.shareTexts(&texts);
  AcDbHandle previous;
  for (std::size_t i = 0; i < order.size(); ++i) {
    AcDbObject* object = Peek(order[i]);
    const Adesk::Int32 links = LinkFlags(object);
    const AcDbHandle handle = order[i].handle();
    out.writeInt32(classOf[i] * kClassItemScale + links);
    out.writeInt64(HandleStep(previous, handle));
    out.writeInt64(HandleStep(handle, object->ownerId().handle()));
    previous = handle;
    WriteLinks(out, object, links);
    AcDbObject* opened = nullptr;
    const bool open = acdbOpenAcDbObject(opened, order[i], AcDb::kForRead) == Acad::eOk;
    const std::size_t blob = out.startBlob();
    FileObject(object, classes.keepsData(object), out);
    out.endBlob(blob);
    if (open) opened->close();
  }
  out.shareTexts(nullptr);
  WriteSharedTexts(out, texts);
  out.writeString(kEndMark);
  std::vector<unsigned char> bytes = out.takeBytes();
  bytes.resize(bytes.size() + kChecksumSize);
  WriteChecksum(kVersion, bytes);
  return bytes;
}

namespace {

struct ClassEntry {
  std::string name;
  bool entity = false;
  // Whether the class's objects were kept from DXF as their tags, and as entities.
  bool keptFromDxf = false;
  bool keptEntityFromDxf = false;
  // Found by name at the first object of the class, with whether the class is one of those
  // whose objects keep their data as bytes.
  AcRxClass* registered = nullptr;
  bool registeredKeepsBytes = false;
};

// An object's entry takes at least its class, handle and owner items (a kind byte and a byte
// each) and its data's length.
constexpr std::size_t kSmallestEntryBytes = 3 * (1 + 1) + (1 + 4);
// A text takes at least its kind byte and length.
constexpr std::size_t kSmallestTextBytes = 1 + 1;

// One of the file's objects, 32 bytes: a drawing lists hundreds of thousands.
struct ObjectEntry {
  Adesk::Int32 classIndex = 0;
  std::uint32_t size = 0;  // of the data
  AcDbHandle handle;
  AcDbHandle owner;
  const unsigned char* data = nullptr;  // where it lies in the file's bytes
};

// An object's data as it is read: in the file's bytes, or as it was brought up to date.
struct ObjectData {
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
  FileLayout layout;
};

// What follows an object and its extension dictionary, for the few objects that have them.
struct ObjectLinks {
  std::size_t entry = 0;          // the object's place in the file's list
  std::size_t firstFollower = 0;  // in the reader's list of followers
  std::size_t followers = 0;
  AcDbHandle extensionDictionary;
};

// Copies `count` items; false when the data ends first or is damaged.
bool CopyItems(MemoryDwgFiler& in, MemoryDwgFiler& out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (!in.copyItemTo(out)) return false;
  return true;
}

// Copies a count, then `perEntry` items for each entry it counts.
bool CopyCounted(MemoryDwgFiler& in, MemoryDwgFiler& out, std::size_t perEntry) {
  Adesk::Int32 count = 0;
  in.readInt32(&count);
  if (in.filerStatus() != Acad::eOk || count < 0 || count > kMaxCount) return false;
  out.writeInt32(count);
  return CopyItems(in, out, static_cast<std::size_t>(count) * perEntry);
}

class TdbReader {
 public:
  // The bytes after the version item, without the checksum; they outlive the reader.
  TdbReader(const unsigned char* body, std::size_t size, Adesk::Int32 version,
            AcDbDatabase* database)
      : m_version(version),
        m_layout{version <= kVersionFixedWidths,
                 version > kVersionFixedWidths ? &m_texts : nullptr},
        m_in(body, size, database, FileLayout{m_layout.fixedWidths, nullptr}),
        m_database(database),
        m_impl(db::Impl(database)) {}

  std::optional<std::string> read();

 private:
  std::optional<std::string> damaged(const std::string& what) const {
    return "the drawing is damaged (" + what + ")";
  }
  bool header();
  bool classTable();
  bool objectList();
  void readEntryHandles(AcDbHandle previous, ObjectEntry& entry);
  bool links(std::size_t entry, Adesk::Int32 flags);
  void link(AcDbObject* object, const ObjectLinks& read);
  bool sharedTexts();
  std::optional<std::string> build();
  std::optional<std::string> placeWellKnown();
  std::optional<std::string> checkContainers() const;
  std::optional<std::string> listedOnce() const;
  bool listedAsInFile(const std::vector<AcDbObjectId>& order) const;
  AcDbObject* make(const ObjectEntry& entry, std::string& problem);
  AcDbObject* readOwnData(AcDbObject* object, CheckedFiler& in, const ObjectEntry& entry,
                          std::string& problem);
  AcDbObject* keep(const ObjectData& data, bool entity);
  std::optional<std::vector<unsigned char>> selfContained(const ObjectData& data);
  bool updateEntity(const ObjectEntry& entry, bool keptFromDxf,
                    std::vector<unsigned char>& updated) const;
  ObjectData dataOf(const ObjectEntry& entry) const { return {entry.data, entry.size, m_layout}; }

  Adesk::Int32 m_version;
  SharedTexts m_texts;
  FileLayout m_layout;  // of the objects' data
  CheckedFiler m_in;
  AcDbDatabase* m_database;
  db::DatabaseImpl* m_impl;
  std::vector<AcDbHandle> m_wellKnown;
  std::vector<ClassEntry> m_classes;
  std::vector<ObjectEntry> m_objects;
  std::vector<ObjectLinks> m_links;          // in the order of their objects
  std::vector<AcDbHandle> m_followers;       // of the objects with links, one after another
  std::vector<std::uint64_t> m_handles;      // of the objects, sorted
  std::vector<std::uint64_t> m_keptHandles;  // of the kept DXF records
};

std::optional<std::string> TdbReader::read() {
  if (!header()) return damaged("header");
  if (!classTable()) return damaged("class table");
  if (!objectList()) return damaged("objects");
  return build();
}

bool TdbReader::header() {
  AcDbHandle seed;
  m_in.readAcDbHandle(&seed);
  m_in.readPoint3d(&m_impl->ucsOrigin);
  m_in.readVector3d(&m_impl->ucsXAxis);
  m_in.readVector3d(&m_impl->ucsYAxis);
  m_in.readDouble(&m_impl->textSize);
  for (std::size_t i = 0; i < WellKnown(m_impl).size(); ++i) {
    AcDbHandle handle;
    m_in.readAcDbHandle(&handle);
    m_wellKnown.push_back(handle);
  }
  Adesk::Int32 count = 0;
  if (!ReadCount(m_in, count)) return false;
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    std::string name;
    RawTags tags;
    m_in.readString(&name);
    if (ReadTags(m_in, tags)) m_impl->extraHeader.emplace_back(name, std::move(tags));
  }
  if (!ReadCount(m_in, count)) return false;
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    std::string key;
    Adesk::Int32 records = 0;
    m_in.readString(&key);
    if (!ReadCount(m_in, records)) break;
    auto& kept = m_impl->preservedDxf[key];
    for (Adesk::Int32 r = 0; r < records && m_in.filerStatus() == Acad::eOk; ++r) {
      RawTags tags;
      if (ReadTags(m_in, tags)) kept.push_back(std::move(tags));
    }
  }
  if (m_in.filerStatus() != Acad::eOk || !(m_impl->textSize > 0)) return false;
  for (const auto& [key, records] : m_impl->preservedDxf)
    if (KeptDxfPartProblem(key, records, m_keptHandles)) return false;
  if (seed.value() < kHandleLimit) m_impl->raiseHandseed(seed);
  return true;
}

bool TdbReader::classTable() {
  Adesk::Int32 count = 0;
  if (!ReadCount(m_in, count)) return false;
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    ClassEntry entry;
    m_in.readString(&entry.name);
    m_in.readBool(&entry.entity);
    entry.keptEntityFromDxf = entry.name == kKeptEntityClass;
    entry.keptFromDxf = entry.keptEntityFromDxf || entry.name == kKeptObjectClass;
    m_classes.push_back(std::move(entry));
  }
  return m_in.filerStatus() == Acad::eOk;
}

bool TdbReader::objectList() {
  Adesk::Int32 count = 0;
  if (!ReadCount(m_in, count)) return false;
  // Room for the stated count, as far as the bytes left could hold that many entries.
  m_objects.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                          m_in.remaining() / kSmallestEntryBytes));
  const bool linksMarked = m_version > kVersionWithoutObjectLinks;
  AcDbHandle previous;
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    ObjectEntry entry;
    Adesk::Int32 classItem = 0;
    m_in.readInt32(&classItem);
    const bool scaled = linksMarked && classItem >= 0;  // a negative item names no class
    entry.classIndex = scaled ? classItem / kClassItemScale : classItem;
    readEntryHandles(previous, entry);
    previous = entry.handle;
    if (scaled && classItem % kClassItemScale != 0 &&
        !links(m_objects.size(), classItem % kClassItemScale))
      break;
    std::size_t size = 0;
    m_in.readBlobInPlace(&entry.data, &size);
    entry.size = static_cast<std::uint32_t>(size);
    if (entry.classIndex < 0 || static_cast<std::size_t>(entry.classIndex) >= m_classes.size() ||
        size > UINT32_MAX)
      m_in.setFilerStatus(Acad::eFilerError);
    m_objects.push_back(std::move(entry));
  }
  if (m_layout.texts != nullptr && !sharedTexts()) return false;
  std::string end;
  m_in.readString(&end);
  return m_in.filerStatus() == Acad::eOk && end == kEndMark;
}

// An entry's handle and its owner's, as steps from version 7; handles out of range that the steps
// give are refused with the entries'.
void TdbReader::readEntryHandles(AcDbHandle previous, ObjectEntry& entry) {
  if (m_version <= kVersionWithoutHandleSteps) {
    m_in.readAcDbHandle(&entry.handle);
    m_in.readAcDbHandle(&entry.owner);
    return;
  }
  Adesk::Int64 step = 0;
  m_in.readInt64(&step);
  entry.handle = Stepped(previous, step);
  m_in.readInt64(&step);
  entry.owner = Stepped(entry.handle, step);
}

// The links of the entry being read that its flags announce: a count of the objects that follow
// it and their handles, its extension dictionary's handle.
bool TdbReader::links(std::size_t entry, Adesk::Int32 flags) {
  ObjectLinks read{entry, m_followers.size(), 0, {}};
  Adesk::Int32 count = 0;
  if ((flags & kFollowersFlag) && !ReadCount(m_in, count)) return false;
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    AcDbHandle follower;
    m_in.readAcDbHandle(&follower);
    m_followers.push_back(follower);
  }
  read.followers = m_followers.size() - read.firstFollower;
  if (flags & kDictionaryFlag) m_in.readAcDbHandle(&read.extensionDictionary);
  if (m_in.filerStatus() != Acad::eOk) return false;
  m_links.push_back(read);
  return true;
}

// Gives the object what follows it and its extension dictionary; one that is not in the file
// is a reference the repair drops.
void TdbReader::link(AcDbObject* object, const ObjectLinks& read) {
  auto& followers = ObjectAccess::persistentReactors(object);
  for (std::size_t i = 0; i < read.followers; ++i) {
    const AcDbObjectId id = m_impl->idForHandle(m_followers[read.firstFollower + i], true);
    if (!id.isNull() && std::find(followers.begin(), followers.end(), id) == followers.end())
      followers.push_back(id);
  }
  if (!read.extensionDictionary.isNull())
    ObjectAccess::setExtensionDictionary(object,
                                         m_impl->idForHandle(read.extensionDictionary, true));
}

// The texts the objects name by number, viewed where they lie in the file's bytes.
bool TdbReader::sharedTexts() {
  Adesk::Int32 count = 0;
  if (!ReadCount(m_in, count)) return false;
  if (static_cast<std::size_t>(count) > m_in.remaining() / kSmallestTextBytes)
    m_in.setFilerStatus(Acad::eEndOfFile);
  for (Adesk::Int32 i = 0; i < count && m_in.filerStatus() == Acad::eOk; ++i) {
    std::string_view text;
    if (m_in.readTextInPlace(&text) == Acad::eOk) m_texts.add(text);
  }
  return m_in.filerStatus() == Acad::eOk;
}

// Handles first: unique, and the seed above them all before any object is made (objects that
// reading makes, such as an application's rows, must not take a handle of the file).
std::optional<std::string> TdbReader::build() {
  m_handles.reserve(m_objects.size());
  for (const ObjectEntry& entry : m_objects) {
    if (entry.handle.isNull() || entry.handle.value() >= kHandleLimit)
      return damaged("an object without a valid handle");
    m_handles.push_back(entry.handle.value());
  }
  // Stubs in file order (the drawing lists its objects in that order), which also puts the seed
  // above every handle of the file.
  m_impl->makeStubs(m_handles);
  // Sorted, not hashed: one sort of the handles costs less than a set of them.
  db::SortByHandle(m_handles, [](std::uint64_t handle) { return handle; });
  if (auto twice = std::adjacent_find(m_handles.begin(), m_handles.end()); twice != m_handles.end())
    return damaged("handle " + AcDbHandle(*twice).text() + " is used twice");
  const auto inFile = [&](std::uint64_t handle) {
    return db::FindSortedHandle(m_handles.begin(), m_handles.end(), handle,
                                [](std::uint64_t h) { return h; }) != m_handles.end();
  };
  // Kept DXF records are written back with their handles, which no object and no other record
  // may have; handles a save makes anew come from above them.
  std::sort(m_keptHandles.begin(), m_keptHandles.end());
  for (std::size_t i = 0; i < m_keptHandles.size(); ++i)
    if (inFile(m_keptHandles[i]) || (i > 0 && m_keptHandles[i] == m_keptHandles[i - 1]))
      return damaged("handle " + AcDbHandle(m_keptHandles[i]).text() + " is used twice");
  if (!m_keptHandles.empty()) m_impl->raiseHandseed(AcDbHandle(m_keptHandles.back() + 1));
  for (const ObjectEntry& entry : m_objects)
    if (!entry.owner.isNull() && !inFile(entry.owner.value()))
      return damaged("the owner " + entry.owner.text() + " of object " + entry.handle.text() +
                     " is not in the file");
  RepairCandidates candidates;
  auto nextLinks = m_links.begin();
  for (std::size_t i = 0; i < m_objects.size(); ++i) {
    const ObjectEntry& entry = m_objects[i];
    std::string problem;
    AcDbObject* object = make(entry, problem);
    if (object == nullptr) return damaged(problem);
    AcDbObjectId id;
    AcDbObjectId owner = m_impl->idForHandle(
        entry.owner, !entry.owner.isNull() && entry.owner.value() < kHandleLimit);
    m_impl->addObjectWithHandle(object, entry.handle, owner, id);
    if (nextLinks != m_links.end() && nextLinks->entry == i) link(object, *nextLinks++);
    candidates.offer(object);
    object->close();
  }
  if (auto problem = placeWellKnown()) return problem;
  if (auto problem = checkContainers()) return problem;
  RepairReferences(m_database, candidates);
  return std::nullopt;
}

// The drawing's tables, dictionaries, spaces and layers named by the header: each of its kind,
// and no two the same object (one object in two roles would be saved twice).
std::optional<std::string> TdbReader::placeWellKnown() {
  std::vector<AcDbObjectId*> wellKnown = WellKnown(m_impl);
  std::unordered_set<std::uint64_t> distinct;
  for (std::size_t i = 0; i < wellKnown.size(); ++i) {
    *wellKnown[i] = m_impl->idForHandle(m_wellKnown[i]);
    const bool sharedRole = wellKnown[i] == &m_impl->currentLayer;
    if (!sharedRole && !m_wellKnown[i].isNull() && !distinct.insert(m_wellKnown[i].value()).second)
      return damaged("object " + m_wellKnown[i].text() + " named twice in the header");
  }
  if (!AcDbBlockTable::cast(Peek(m_impl->blockTable)) ||
      !AcDbLayerTable::cast(Peek(m_impl->layerTable)) ||
      !AcDbRegAppTable::cast(Peek(m_impl->regAppTable)))
    return damaged("a symbol table is missing");
  for (AcDbObjectId table : {m_impl->blockTable, m_impl->layerTable, m_impl->regAppTable})
    ObjectAccess::rebuildTableIndex(AcDbSymbolTable::cast(Peek(table)));
  if (!AcDbBlockTableRecord::cast(Peek(m_impl->modelSpace)) ||
      !AcDbDictionary::cast(Peek(m_impl->namedObjects)) ||
      !AcDbDictionary::cast(Peek(m_impl->groupDictionary)) ||
      !AcDbLayerTableRecord::cast(Peek(m_impl->layerZero)))
    return damaged("a part every drawing has is missing");
  if (!AcDbLayerTableRecord::cast(Peek(m_impl->currentLayer)))
    m_impl->currentLayer = m_impl->layerZero;
  return std::nullopt;
}

// Whether every record a table lists is of the table's record class.
template <typename Record>
bool RecordsOfClass(AcDbObjectId table) {
  for (const AcDbObjectId& record : AcDbSymbolTable::cast(Peek(table))->recordIds())
    if (Record::cast(Peek(record)) == nullptr) return false;
  return true;
}

// Every record a table lists is of its kind, and every entity a block lists is owned by that
// block, as the entity's own record says.
std::optional<std::string> TdbReader::checkContainers() const {
  if (!RecordsOfClass<AcDbBlockTableRecord>(m_impl->blockTable) ||
      !RecordsOfClass<AcDbLayerTableRecord>(m_impl->layerTable) ||
      !RecordsOfClass<AcDbRegAppTableRecord>(m_impl->regAppTable))
    return damaged("a table lists a record of another kind");
  if (auto problem = listedOnce()) return problem;
  for (const AcDbObjectId& blockId : AcDbSymbolTable::cast(Peek(m_impl->blockTable))->recordIds()) {
    for (const AcDbObjectId& entityId : AcDbBlockTableRecord::cast(Peek(blockId))->entityIds()) {
      // One the file does not have (erased, and listed by a file of an earlier build) is a
      // dangling reference that the repair drops.
      const AcDbObject* entity = Peek(entityId);
      if (entity != nullptr && entity->ownerId() != blockId)
        return damaged("entity " + entityId.handle().text() + " of block " +
                       blockId.handle().text() + " has another owner");
    }
  }
  return std::nullopt;
}

// Whether a save would list the objects exactly as the file does, as it does for every file
// this program writes: then each is listed once, and none is left out.
bool TdbReader::listedAsInFile(const std::vector<AcDbObjectId>& order) const {
  if (order.size() != m_objects.size()) return false;
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i].stub()->handle != m_objects[i].handle.value()) return false;
  return true;
}

// Every object of the file is listed by one container, once.
std::optional<std::string> TdbReader::listedOnce() const {
  const std::vector<AcDbObjectId> order = ObjectsInOrder(m_database, SavedObjects(m_database));
  if (listedAsInFile(order)) return std::nullopt;
  // An object that two containers list, or one lists twice, would be saved twice. Each listed
  // object is marked at its place among the file's handles; the few that reading made (an
  // application's rows) are not among them and are compared apart.
  std::vector<bool> listed(m_handles.size(), false);
  std::vector<std::uint64_t> twice;
  std::vector<std::uint64_t> madeByReading;
  for (const AcDbObjectId& id : order) {
    const std::uint64_t handle = id.handle().value();
    const auto place = db::FindSortedHandle(m_handles.begin(), m_handles.end(), handle,
                                            [](std::uint64_t h) { return h; });
    const auto at = static_cast<std::size_t>(place - m_handles.begin());
    if (place == m_handles.end())
      madeByReading.push_back(handle);
    else if (listed[at])
      twice.push_back(handle);
    else
      listed[at] = true;
  }
  std::sort(madeByReading.begin(), madeByReading.end());
  if (auto again = std::adjacent_find(madeByReading.begin(), madeByReading.end());
      again != madeByReading.end())
    twice.push_back(*again);
  if (!twice.empty())
    return damaged("object " + AcDbHandle(*std::min_element(twice.begin(), twice.end())).text() +
                   " is listed twice");
  // An object no container keeps (an orphan, an erased one still listed) would be lost or
  // dangle when the drawing is saved again.
  if (auto orphan = std::find(listed.begin(), listed.end(), false); orphan != listed.end())
    return damaged("object " + AcDbHandle(m_handles[orphan - listed.begin()]).text() +
                   " belongs to no part of the drawing");
  return std::nullopt;
}

// A new object of the entry's class with its data read; an object of a class nobody
// registered keeps its data as it is.
// An entity's data from before entities kept the properties the platform does not use, with a
// count of none put in after its linetype: no entity's own fields start with such a number, so
// data that has the count is copied unchanged.
bool TdbReader::updateEntity(const ObjectEntry& entry, bool keptFromDxf,
                             std::vector<unsigned char>& updated) const {
  CheckedFiler in(entry.data, entry.size, m_database, m_layout);
  MemoryDwgFiler out(AcDb::kFileFiler, m_database);
  constexpr std::size_t kTagItems = 2;       // code and value
  constexpr std::size_t kXDataItems = 2;     // type and value
  constexpr std::size_t kNamesAndColor = 3;  // layer, colour, linetype
  if (keptFromDxf && !(CopyItems(in, out, 1) && CopyCounted(in, out, kTagItems))) return false;
  if (!CopyCounted(in, out, kXDataItems) || !CopyItems(in, out, kNamesAndColor)) return false;
  if (in.nextKind() != MemoryDwgFiler::Kind::kUInt16) out.writeUInt16(0);
  while (!in.atEnd())
    if (!in.copyItemTo(out)) return false;
  updated = out.takeBytes();
  return true;
}

AcDbObject* TdbReader::make(const ObjectEntry& entry, std::string& problem) {
  ClassEntry& kind = m_classes[static_cast<std::size_t>(entry.classIndex)];
  ObjectData data = dataOf(entry);
  std::vector<unsigned char> updated;
  if (m_version <= kVersionEntitiesWithoutKeptProperties && kind.entity) {
    if (!updateEntity(entry, kind.keptEntityFromDxf, updated)) {
      problem = "object " + entry.handle.text() + " of class " + kind.name;
      return nullptr;
    }
    data = {updated.data(), updated.size(), FileLayout{}};
  }
  if (kind.keptFromDxf) {
    AcDbObject* kept = keep(data, kind.keptEntityFromDxf);
    if (kept == nullptr) problem = "object " + entry.handle.text() + " kept from DXF";
    return kept;
  }
  CheckedFiler in(data.bytes, data.size, m_database, data.layout);
  if (kind.registered == nullptr) {
    kind.registered = static_cast<AcRxClass*>(acrxClassDictionary()->at(kind.name.c_str()));
    kind.registeredKeepsBytes = kind.registered != nullptr && KeepsData(kind.registered);
  }
  AcDbObject* object = kind.registered ? AcDbObject::cast(kind.registered->create()) : nullptr;
  if (object != nullptr && !kind.registeredKeepsBytes)
    return readOwnData(object, in, entry, problem);
  if (object == nullptr) {
    object = kind.entity ? static_cast<AcDbObject*>(new AcDbUnknownEntity) : new AcDbUnknownObject;
  }
  auto* keptObject = AcDbUnknownObject::cast(object);
  auto* keptEntity = AcDbUnknownEntity::cast(object);
  if (keptObject || keptEntity) {
    // Its base part is read for the platform's own use; the data stays whole for writing back.
    if (keptEntity)
      keptEntity->AcDbEntity::dwgInFields(&in);
    else
      keptObject->AcDbObject::dwgInFields(&in);
    std::optional<std::vector<unsigned char>> whole = selfContained(data);
    if (in.filerStatus() != Acad::eOk || !whole) {
      delete object;
      problem = "object " + entry.handle.text() + " of class " + kind.name;
      return nullptr;
    }
    (keptEntity ? keptEntity->originalClassName : keptObject->originalClassName) = kind.name;
    (keptEntity ? keptEntity->binaryData : keptObject->binaryData) = std::move(*whole);
    return object;
  }
  return readOwnData(object, in, entry, problem);
}

// The object's own fields read, or null (the object deleted) when they are not what it wrote.
AcDbObject* TdbReader::readOwnData(AcDbObject* object, CheckedFiler& in, const ObjectEntry& entry,
                                   std::string& problem) {
  if (object->dwgInFields(&in) == Acad::eOk && in.filerStatus() == Acad::eOk) return object;
  delete object;
  problem = "object " + entry.handle.text() + " of class " +
            m_classes[static_cast<std::size_t>(entry.classIndex)].name;
  return nullptr;
}

// An object kept from DXF whose application is loaded now reads its tags itself, as it would
// from the DXF file; null when no application knows it, it has extended data (which only the
// DXF reader takes), or it refuses its tags.
AcDbObject* ReadKeptAsApplicationObject(const std::string& dxfName, const RawTags& tags,
                                        AcDbDatabase* database) {
  AcRxClass* aClass = nullptr;
  for (const auto& [name, entry] : acrxClassDictionary()->entries()) {
    auto* candidate = static_cast<AcRxClass*>(entry);
    if (candidate->isCustom() && dxfName == candidate->dxfName() &&
        candidate->isDerivedFrom(AcDbObject::desc()) &&
        !candidate->isDerivedFrom(AcDbEntity::desc()))
      aClass = candidate;
  }
  bool hasXData = std::any_of(tags.begin(), tags.end(),
                              [](const auto& tag) { return tag.first == kDxfXDataApplication; });
  if (aClass == nullptr || hasXData) return nullptr;
  std::vector<DxfTag> read;
  for (const auto& [code, value] : tags) read.push_back({code, value, 0});
  AcRxObject* created = aClass->create();
  AcDbObject* object = AcDbObject::cast(created);
  if (object == nullptr) {
    delete created;
    return nullptr;
  }
  DxfFiler filer(read.data(), read.data() + read.size(), database);
  if (object->dxfInFields(&filer) != Acad::eOk || filer.filerStatus() != Acad::eOk) {
    delete object;
    return nullptr;
  }
  return object;
}

// The data of an object kept as it came, laid out as this program writes it and with its texts
// whole, so that it is written back into any file unchanged.
std::optional<std::vector<unsigned char>> TdbReader::selfContained(const ObjectData& data) {
  CheckedFiler in(data.bytes, data.size, m_database, data.layout);
  MemoryDwgFiler out(AcDb::kFileFiler, m_database);
  while (!in.atEnd())
    if (!in.copyItemTo(out)) return std::nullopt;
  return out.takeBytes();
}

AcDbObject* TdbReader::keep(const ObjectData& data, bool entity) {
  CheckedFiler in(data.bytes, data.size, m_database, data.layout);
  std::string dxfName;
  RawTags tags;
  in.readString(&dxfName);
  if (!ReadTags(in, tags)) return nullptr;
  if (!entity)
    if (AcDbObject* known = ReadKeptAsApplicationObject(dxfName, tags, m_database)) return known;
  if (entity) {
    auto* kept = new AcDbUnknownEntity;
    kept->originalDxfName = dxfName;
    kept->dxfTags = std::move(tags);
    kept->AcDbEntity::dwgInFields(&in);
    return kept;
  }
  auto* kept = new AcDbUnknownObject;
  kept->originalDxfName = dxfName;
  kept->dxfTags = std::move(tags);
  kept->AcDbObject::dwgInFields(&in);
  return kept;
}

// The format version, the first item after the magic text.
std::optional<Adesk::Int32> VersionOf(std::span<const unsigned char> bytes) {
  if (bytes.size() < sizeof kMagic + kVersionItemSize) return std::nullopt;
  MemoryDwgFiler in(bytes.data() + sizeof kMagic, kVersionItemSize, AcDb::kFileFiler);
  in.readFixedWidths();
  Adesk::Int32 version = 0;
  in.readInt32(&version);
  if (in.filerStatus() != Acad::eOk) return std::nullopt;
  return version;
}

}  // namespace

std::optional<std::string> ReadTdbBytes(std::span<const unsigned char> bytes,
                                        AcDbDatabase* database) {
  if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return std::string("not a .tdb drawing");
  std::optional<Adesk::Int32> version = VersionOf(bytes);
  if (!version) return std::string("the drawing is damaged (format version)");
  const bool summed = *version != kVersionWithoutChecksum;
  if (*version < kVersionWithoutChecksum || *version > kVersion)
    return "the drawing is of format version " + std::to_string(*version) +
           ", this program reads versions " + std::to_string(kVersionWithoutChecksum) + " to " +
           std::to_string(kVersion);
  // A checksum that would overlap the version item sums no drawing.
  if (summed && (bytes.size() < sizeof kMagic + kVersionItemSize + kChecksumSize ||
                 !ChecksumMatches(*version, bytes)))
    return std::string("the drawing is damaged (its checksum does not match its contents)");
  const std::size_t bodySize =
      bytes.size() - sizeof kMagic - kVersionItemSize - (summed ? kChecksumSize : 0);
  db::DatabaseImpl* impl = db::Impl(database);
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  AcDbDatabase* working = services->workingDatabase();
  services->setWorkingDatabase(database);
  impl->loading = true;
  std::optional<std::string> problem =
      TdbReader(bytes.data() + sizeof kMagic + kVersionItemSize, bodySize, *version, database)
          .read();
  impl->loading = false;
  services->setWorkingDatabase(working);
  return problem;
}

void ResumTdbBytes(std::vector<unsigned char>& bytes) {
  std::optional<Adesk::Int32> version = VersionOf(bytes);
  if (!version || *version == kVersionWithoutChecksum ||
      bytes.size() < sizeof kMagic + kVersionItemSize + kChecksumSize)
    return;
  WriteChecksum(*version, bytes);
}

}  // namespace tessera::files
