#include "files/dxf_fields.h"

#include "cad/db_database.h"
#include "files/dxf_filer.h"

namespace tessera::files {

SubclassGroups::SubclassGroups(AcDbDxfFiler* filer, const char* marker) : m_filer(filer) {
  m_marked = filer->atSubclassData(marker);
  if (m_marked) return;
  resbuf peek{};
  if (filer->readItem(&peek) != Acad::eOk) {
    m_done = true;
    return;
  }
  filer->pushBackItem();
  // Another subclass's marker: this one's groups are not in the record.
  if (peek.restype == AcDb::kDxfSubclass) {
    m_done = true;
    return;
  }
  if (auto* own = dynamic_cast<DxfFiler*>(filer)) {
    m_scanning = true;
    m_start = own->position();
  }
}

bool SubclassGroups::next() {
  while (!m_done) {
    Acad::ErrorStatus status = m_filer->readItem(&m_item);
    if (status != Acad::eOk) {
      if (status != Acad::eEndOfFile) m_status = status;
      break;
    }
    if (m_item.restype == AcDb::kDxfSubclass) {
      m_filer->pushBackItem();
      break;
    }
    return true;
  }
  if (!m_done && m_scanning) static_cast<DxfFiler*>(m_filer)->seek(m_start);
  m_done = true;
  return false;
}

AcDbObjectId SubclassGroups::id() const {
  AcDbObjectId id;
  acdbGetObjectId(id, m_item.resval.rlname);
  return id;
}

void SubclassGroups::pushBack() {
  if (m_done) return;
  m_filer->pushBackItem();
  if (m_scanning) static_cast<DxfFiler*>(m_filer)->seek(m_start);
  m_done = true;
}

Acad::ErrorStatus SubclassGroups::status() const {
  return m_status != Acad::eOk ? m_status : m_filer->filerStatus();
}

}  // namespace tessera::files
