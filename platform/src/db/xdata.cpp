#include "db/xdata.h"

#include <strings.h>
#include <cstring>
#include <string>
#include <vector>

#include "lisp/group_codes.h"
#include "lisp/resbuf_convert.h"

namespace tessera::db {
namespace {

using lisp::GroupCodeValueKind;
using lisp::GroupValueKind;

constexpr int kApplicationCode = 1001;
// More items than this in one object's data means a corrupt file, not a drawing.
constexpr Adesk::Int32 kMaxXDataItems = 1 << 20;

resbuf* CopyItem(const resbuf* item) {
  resbuf* copy = acutNewRb(item->restype);
  if (copy == nullptr) return nullptr;
  if (lisp::ResbufHoldsString(item->restype)) {
    if (copy->resval.rstring != nullptr) std::free(copy->resval.rstring);
    copy->resval.rstring = lisp::NewResbufString(item->resval.rstring ? item->resval.rstring : "");
  } else {
    copy->resval = item->resval;
  }
  return copy;
}

// Appends copies of the items from `first` up to (not including) `stop`.
void AppendCopies(resbuf*& head, resbuf*& tail, const resbuf* first, const resbuf* stop) {
  for (const resbuf* item = first; item != stop; item = item->rbnext) {
    resbuf* copy = CopyItem(item);
    if (copy == nullptr) return;
    if (tail)
      tail->rbnext = copy;
    else
      head = copy;
    tail = copy;
  }
}

const resbuf* NextBlock(const resbuf* block) {
  const resbuf* item = block->rbnext;
  while (item != nullptr && item->restype != kApplicationCode) item = item->rbnext;
  return item;
}

bool SameApplication(const resbuf* a, const char* name) {
  return a->resval.rstring != nullptr && name != nullptr &&
         strcasecmp(a->resval.rstring, name) == 0;
}

bool NamedIn(const resbuf* given, const char* application) {
  for (const resbuf* b = given; b != nullptr; b = NextBlock(b))
    if (SameApplication(b, application)) return true;
  return false;
}

}  // namespace

void ReleaseXData(resbuf*& chain) {
  if (chain != nullptr) acutRelRb(chain);
  chain = nullptr;
}

resbuf* CopyXData(const resbuf* chain, const char* application) {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  for (const resbuf* block = chain; block != nullptr; block = NextBlock(block)) {
    if (application == nullptr || SameApplication(block, application))
      AppendCopies(head, tail, block, NextBlock(block));
  }
  return head;
}

bool MergeXData(resbuf*& chain, const resbuf* given) {
  if (given == nullptr) return true;
  if (given->restype != kApplicationCode) return false;
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  for (const resbuf* block = chain; block != nullptr; block = NextBlock(block))
    if (!NamedIn(given, block->resval.rstring)) AppendCopies(head, tail, block, NextBlock(block));
  for (const resbuf* block = given; block != nullptr; block = NextBlock(block)) {
    const resbuf* next = NextBlock(block);
    if (block->rbnext != next) AppendCopies(head, tail, block, next);
  }
  ReleaseXData(chain);
  chain = head;
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

Acad::ErrorStatus FileXData(AcDbDwgFiler* filer, const resbuf* chain) {
  Adesk::Int32 count = 0;
  for (const resbuf* item = chain; item != nullptr; item = item->rbnext) ++count;
  filer->writeInt32(count);
  for (const resbuf* item = chain; item != nullptr; item = item->rbnext) {
    filer->writeInt16(item->restype);
    switch (GroupCodeValueKind(item->restype)) {
      case GroupValueKind::kPoint:
        filer->writePoint3d(
            AcGePoint3d(item->resval.rpoint[0], item->resval.rpoint[1], item->resval.rpoint[2]));
        break;
      case GroupValueKind::kReal:
        filer->writeDouble(item->resval.rreal);
        break;
      case GroupValueKind::kInt16:
        filer->writeInt16(item->resval.rint);
        break;
      case GroupValueKind::kInt32:
        filer->writeInt32(item->resval.rlong);
        break;
      default:
        filer->writeString(item->resval.rstring ? item->resval.rstring : "");
        break;
    }
  }
  return filer->filerStatus();
}

namespace {

Acad::ErrorStatus ReadItemValue(AcDbDwgFiler* filer, resbuf* item) {
  switch (GroupCodeValueKind(item->restype)) {
    case GroupValueKind::kPoint: {
      AcGePoint3d point;
      filer->readPoint3d(&point);
      item->resval.rpoint[0] = point.x;
      item->resval.rpoint[1] = point.y;
      item->resval.rpoint[2] = point.z;
      break;
    }
    case GroupValueKind::kReal:
      filer->readDouble(&item->resval.rreal);
      break;
    case GroupValueKind::kInt16:
      filer->readInt16(&item->resval.rint);
      break;
    case GroupValueKind::kInt32:
      filer->readInt32(&item->resval.rlong);
      break;
    default: {
      std::string text;
      filer->readString(&text);
      if (item->resval.rstring != nullptr) std::free(item->resval.rstring);
      item->resval.rstring = lisp::NewResbufString(text);
      break;
    }
  }
  return filer->filerStatus();
}

// Extended data files points, reals, 16- and 32-bit numbers and texts: a code whose value is
// none of these (an object id, a 64-bit number) is damage, and would be read as a text that its
// resbuf does not own.
bool IsFiledXDataCode(int code) {
  switch (GroupCodeValueKind(code)) {
    case GroupValueKind::kPoint:
    case GroupValueKind::kReal:
    case GroupValueKind::kInt16:
    case GroupValueKind::kInt32:
      return true;
    case GroupValueKind::kInvalid:
      return false;
    default:
      return lisp::ResbufHoldsString(code);
  }
}

}  // namespace

Acad::ErrorStatus ReadXData(AcDbDwgFiler* filer, resbuf*& chain) {
  chain = nullptr;
  Adesk::Int32 count = 0;
  if (filer->readInt32(&count) != Acad::eOk) return filer->filerStatus();
  if (count < 0 || count > kMaxXDataItems) return Acad::eFilerError;
  resbuf* tail = nullptr;
  for (Adesk::Int32 i = 0; i < count; ++i) {
    Adesk::Int16 code = 0;
    if (filer->readInt16(&code) != Acad::eOk) break;
    if (!IsFiledXDataCode(code)) {
      filer->setFilerStatus(Acad::eFilerError);
      break;
    }
    resbuf* item = acutNewRb(code);
    if (tail)
      tail->rbnext = item;
    else
      chain = item;
    tail = item;
    if (ReadItemValue(filer, item) != Acad::eOk) break;
  }
  if (filer->filerStatus() != Acad::eOk) ReleaseXData(chain);
  return filer->filerStatus();
}

}  // namespace tessera::db
