#include "db/xdata.h"

#include <strings.h>
#include <cstring>
#include <string>

#include "lisp/group_codes.h"
#include "lisp/resbuf_convert.h"

namespace tessera::db {
namespace {

using lisp::GroupCodeValueKind;
using lisp::GroupValueKind;

constexpr int kApplicationCode = 1001;
// More items than this in one object's data means a corrupt file, not a drawing.
constexpr Adesk::Int32 kMaxXDataItems = 1 << 20;
// The packed items' block starts with their size and their count.
constexpr std::size_t kBlockHeaderBytes = 2 * sizeof(std::uint32_t);

// How an item's value is packed. Extended data keeps points, reals, 16- and 32-bit numbers and
// texts: a code whose value is none of these (an object id, a 64-bit number) has no place in it.
enum class Packed { kText, kPoint, kReal, kInt16, kInt32, kNone };

// Texts are the kinds a result buffer holds as a string: plain texts and handles.
inline Packed PackedKind(int code) {
  switch (GroupCodeValueKind(code)) {
    case GroupValueKind::kPoint:
      return Packed::kPoint;
    case GroupValueKind::kReal:
      return Packed::kReal;
    case GroupValueKind::kInt16:
      return Packed::kInt16;
    case GroupValueKind::kInt32:
      return Packed::kInt32;
    case GroupValueKind::kString:
    case GroupValueKind::kHandle:
      return Packed::kText;
    default:
      return Packed::kNone;
  }
}

template <typename Value>
void AppendBytes(std::string& packed, const Value& value) {
  packed.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename Value>
const char* TakeBytes(const char* at, Value& value) {
  std::memcpy(&value, at, sizeof value);
  return at + sizeof value;
}

void AppendText(std::string& packed, std::int16_t code, std::string_view text) {
  AppendBytes(packed, code);
  AppendBytes(packed, static_cast<std::uint32_t>(text.size()));
  packed.append(text);
  packed.push_back('\0');
}

resbuf* CopyItem(const resbuf& item) {
  resbuf* copy = acutNewRb(item.restype);
  if (lisp::ResbufHoldsString(item.restype)) {
    std::free(copy->resval.rstring);
    copy->resval.rstring = lisp::NewResbufString(item.resval.rstring ? item.resval.rstring : "");
  } else {
    copy->resval = item.resval;
  }
  return copy;
}

const resbuf* NextBlock(const resbuf* block) {
  const resbuf* item = block->rbnext;
  while (item != nullptr && item->restype != kApplicationCode) item = item->rbnext;
  return item;
}

bool SameApplication(const resbuf& a, const char* name) {
  return a.resval.rstring != nullptr && name != nullptr && strcasecmp(a.resval.rstring, name) == 0;
}

bool NamedIn(const resbuf* given, const char* application) {
  for (const resbuf* b = given; b != nullptr; b = NextBlock(b))
    if (SameApplication(*b, application)) return true;
  return false;
}

// The blocks of `packed` whose application `given` does not name, appended to `merged`.
void AppendUnnamedBlocks(std::string_view packed, const resbuf* given, std::string& merged) {
  XDataItems::Reader reader(packed);
  resbuf item{};
  bool keep = true;  // items before the first application name stay
  std::size_t blockStart = 0;
  for (std::size_t at = 0; reader.next(item); at = reader.offset()) {
    if (item.restype != kApplicationCode) continue;
    if (keep) merged.append(packed.substr(blockStart, at - blockStart));
    blockStart = at;
    keep = !NamedIn(given, item.resval.rstring);
  }
  if (keep) merged.append(packed.substr(blockStart));
}

}  // namespace

std::string_view XDataItems::packed() const {
  if (m_block == nullptr) return {};
  std::uint32_t size = 0;
  TakeBytes(m_block.get(), size);
  return {m_block.get() + kBlockHeaderBytes, size};
}

std::uint32_t XDataItems::count() const {
  std::uint32_t count = 0;
  if (m_block != nullptr) TakeBytes(m_block.get() + sizeof(std::uint32_t), count);
  return count;
}

void XDataItems::assign(std::string_view packed, std::uint32_t count) {
  if (packed.empty()) {
    m_block.reset();
    return;
  }
  const auto size = static_cast<std::uint32_t>(packed.size());
  auto block = std::make_unique_for_overwrite<char[]>(kBlockHeaderBytes + packed.size());
  std::memcpy(block.get(), &size, sizeof size);
  std::memcpy(block.get() + sizeof size, &count, sizeof count);
  std::memcpy(block.get() + kBlockHeaderBytes, packed.data(), packed.size());
  m_block = std::move(block);
}

void XDataItems::assign(std::string_view packed) {
  std::uint32_t count = 0;
  resbuf item{};
  for (Reader reader(packed); reader.next(item);) ++count;
  assign(packed, count);
}

bool XDataItems::Reader::next(resbuf& item) {
  std::int16_t code = 0;
  if (m_at + sizeof code > m_packed.size()) return false;
  const char* at = TakeBytes(m_packed.data() + m_at, code);
  item.rbnext = nullptr;
  item.restype = code;
  switch (PackedKind(code)) {
    case Packed::kText: {
      std::uint32_t length = 0;
      at = TakeBytes(at, length);
      item.resval.rstring = const_cast<char*>(at);
      at += length + 1;
      break;
    }
    case Packed::kPoint:
      at = TakeBytes(at, item.resval.rpoint);
      break;
    case Packed::kReal:
      at = TakeBytes(at, item.resval.rreal);
      break;
    case Packed::kInt16:
      at = TakeBytes(at, item.resval.rint);
      break;
    case Packed::kInt32:
      at = TakeBytes(at, item.resval.rlong);
      break;
    case Packed::kNone:
      return false;  // never packed
  }
  m_at = static_cast<std::size_t>(at - m_packed.data());
  return true;
}

bool AppendXDataItem(std::string& packed, const resbuf& item) {
  const Packed kind = PackedKind(item.restype);
  if (kind == Packed::kText) {
    AppendText(packed, item.restype, item.resval.rstring ? item.resval.rstring : "");
    return true;
  }
  if (kind == Packed::kNone) return false;
  AppendBytes(packed, item.restype);
  if (kind == Packed::kPoint) AppendBytes(packed, item.resval.rpoint);
  if (kind == Packed::kReal) AppendBytes(packed, item.resval.rreal);
  if (kind == Packed::kInt16) AppendBytes(packed, item.resval.rint);
  if (kind == Packed::kInt32) AppendBytes(packed, item.resval.rlong);
  return true;
}

void AppendXDataText(std::string& packed, std::int16_t code, std::string_view text) {
  AppendText(packed, code, text);
}

resbuf* CopyXData(const XDataItems& items, const char* application) {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  bool copying = application == nullptr;
  resbuf item{};
  for (XDataItems::Reader reader = items.reader(); reader.next(item);) {
    if (item.restype == kApplicationCode)
      copying = application == nullptr || SameApplication(item, application);
    if (!copying) continue;
    resbuf* copy = CopyItem(item);
    (tail ? tail->rbnext : head) = copy;
    tail = copy;
  }
  return head;
}

bool MergeXData(XDataItems& items, const resbuf* given) {
  if (given == nullptr) return true;
  if (given->restype != kApplicationCode) return false;
  std::string merged;
  AppendUnnamedBlocks(items.packed(), given, merged);
  for (const resbuf* block = given; block != nullptr;) {
    const resbuf* next = NextBlock(block);
    // A block of the name alone removes the application's data.
    if (block->rbnext != next)
      for (const resbuf* item = block; item != next; item = item->rbnext)
        if (!AppendXDataItem(merged, *item)) return false;
    block = next;
  }
  items.assign(merged);
  return true;
}

void RegisterXDataApplications(AcDbDatabase* database, const resbuf* xdata) {
  AcDbRegAppTable* table = nullptr;
  for (const resbuf* block = xdata; block != nullptr; block = NextBlock(block)) {
    const char* name = block->resval.rstring;
    if (name == nullptr || *name == '\0') continue;
    if (table == nullptr && database->getRegAppTable(table, AcDb::kForRead) != Acad::eOk) return;
    if (table->has(name)) continue;
    if (table->upgradeOpen() != Acad::eOk) break;
    auto* record = new AcDbRegAppTableRecord;
    record->setName(name);
    if (table->add(record) == Acad::eOk)
      record->close();
    else
      delete record;
  }
  if (table != nullptr) table->close();
}

Acad::ErrorStatus FileXData(AcDbDwgFiler* filer, const XDataItems& items) {
  // Most objects have none.
  if (items.empty()) return filer->writeInt32(0);
  filer->writeInt32(static_cast<Adesk::Int32>(items.count()));
  resbuf item{};
  for (XDataItems::Reader reader = items.reader(); reader.next(item);) {
    filer->writeInt16(item.restype);
    switch (PackedKind(item.restype)) {
      case Packed::kPoint:
        filer->writePoint3d(
            AcGePoint3d(item.resval.rpoint[0], item.resval.rpoint[1], item.resval.rpoint[2]));
        break;
      case Packed::kReal:
        filer->writeDouble(item.resval.rreal);
        break;
      case Packed::kInt16:
        filer->writeInt16(item.resval.rint);
        break;
      case Packed::kInt32:
        filer->writeInt32(item.resval.rlong);
        break;
      default:
        filer->writeString(item.resval.rstring);
        break;
    }
  }
  return filer->filerStatus();
}

namespace {

bool ReadItem(AcDbDwgFiler* filer, std::int16_t code, std::string& packed, std::string& text) {
  resbuf item{};
  item.restype = code;
  switch (PackedKind(code)) {
    case Packed::kText:
      filer->readString(&text);
      AppendText(packed, code, text);
      return filer->filerStatus() == Acad::eOk;
    case Packed::kPoint: {
      AcGePoint3d point;
      filer->readPoint3d(&point);
      item.resval.rpoint[0] = point.x;
      item.resval.rpoint[1] = point.y;
      item.resval.rpoint[2] = point.z;
      break;
    }
    case Packed::kReal:
      filer->readDouble(&item.resval.rreal);
      break;
    case Packed::kInt16:
      filer->readInt16(&item.resval.rint);
      break;
    case Packed::kInt32:
      filer->readInt32(&item.resval.rlong);
      break;
    case Packed::kNone:
      filer->setFilerStatus(Acad::eFilerError);
      return false;
  }
  AppendXDataItem(packed, item);
  return filer->filerStatus() == Acad::eOk;
}

}  // namespace

Acad::ErrorStatus ReadXData(AcDbDwgFiler* filer, XDataItems& items) {
  Adesk::Int32 count = 0;
  if (filer->readInt32(&count) != Acad::eOk) return filer->filerStatus();
  if (count < 0 || count > kMaxXDataItems) return Acad::eFilerError;
  if (count == 0) {  // most objects
    items.assign({}, 0);
    return Acad::eOk;
  }
  // Kept between objects: reading a drawing reads the data of every object in turn. The
  // platform's objects are used from one thread only.
  static std::string packed;
  static std::string text;
  packed.clear();
  for (Adesk::Int32 i = 0; i < count; ++i) {
    Adesk::Int16 code = 0;
    if (filer->readInt16(&code) != Acad::eOk || !ReadItem(filer, code, packed, text)) break;
  }
  if (filer->filerStatus() == Acad::eOk) items.assign(packed, static_cast<std::uint32_t>(count));
  return filer->filerStatus();
}

}  // namespace tessera::db
