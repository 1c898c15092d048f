// Entity lists as entget shows them: the entity's own DXF groups, collected through its DXF
// filing, after its name and type.
#include <string>
#include <vector>

#include "cad/arx.h"
#include "editor/lisp_host_functions.h"
#include "editor/selection.h"
#include "lisp/group_codes.h"
#include "lisp/resbuf_convert.h"

namespace tessera::editor {

namespace {

constexpr int kEntityNameCode = -1;
constexpr int kExtendedDataCode = -3;

// A DXF filer that collects what an object writes as a result-buffer chain.
class GroupListFiler : public AcDbDxfFiler {
 public:
  explicit GroupListFiler(lisp::ResbufChain& chain) : m_chain(chain) {}

  Acad::ErrorStatus filerStatus() const override { return Acad::eOk; }
  AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
  void setFilerStatus(Acad::ErrorStatus) override {}
  void resetFilerStatus() override {}
  Acad::ErrorStatus readItem(resbuf*) override { return Acad::eEndOfFile; }
  Acad::ErrorStatus pushBackItem() override { return Acad::eNotApplicable; }
  bool atEOF() override { return true; }
  bool atSubclassData(const char*) override { return false; }
  bool atExtendedData() override { return false; }

  Acad::ErrorStatus writeItem(const resbuf& item) override {
    using lisp::GroupValueKind;
    switch (lisp::GroupCodeValueKind(item.restype)) {
      case GroupValueKind::kString:
      case GroupValueKind::kHandle:
        return writeString(item.restype, item.resval.rstring ? item.resval.rstring : "");
      case GroupValueKind::kInvalid:
        return Acad::eInvalidDxfCode;
      default: {
        resbuf* copy = append(item.restype);
        if (copy) copy->resval = item.resval;
        return Acad::eOk;
      }
    }
  }
  Acad::ErrorStatus writeString(int code, const char* text) override {
    if (resbuf* item = append(code)) item->resval.rstring = lisp::NewResbufString(text ? text : "");
    return Acad::eOk;
  }
  Acad::ErrorStatus writeInt8(int code, Adesk::Int8 value) override { return number(code, value); }
  Acad::ErrorStatus writeInt16(int code, Adesk::Int16 value) override {
    return number(code, value);
  }
  Acad::ErrorStatus writeInt32(int code, Adesk::Int32 value) override {
    return number(code, value);
  }
  Acad::ErrorStatus writeInt64(int code, Adesk::Int64 value) override {
    return number(code, static_cast<double>(value));
  }
  Acad::ErrorStatus writeBool(int code, bool value) override { return number(code, value ? 1 : 0); }
  Acad::ErrorStatus writeDouble(int code, double value, int) override {
    return number(code, value);
  }
  Acad::ErrorStatus writePoint3d(int code, const AcGePoint3d& point, int) override {
    if (resbuf* item = append(code)) {
      item->resval.rpoint[0] = point.x;
      item->resval.rpoint[1] = point.y;
      item->resval.rpoint[2] = point.z;
    }
    return Acad::eOk;
  }
  Acad::ErrorStatus writeVector3d(int code, const AcGeVector3d& vector, int precision) override {
    return writePoint3d(code, AcGePoint3d(vector.x, vector.y, vector.z), precision);
  }
  Acad::ErrorStatus writeObjectId(int code, const AcDbObjectId& id) override {
    if (id.isNull()) return Acad::eOk;
    if (resbuf* item = append(code)) acdbGetAdsName(item->resval.rlname, id);
    return Acad::eOk;
  }
  Acad::ErrorStatus writeAcDbHandle(int code, const AcDbHandle& handle) override {
    return writeString(code, handle.text().c_str());
  }

 private:
  // Extended data is added by the caller, only for the applications asked for.
  resbuf* append(int code) {
    if (code >= AcDb::kDxfXdAsciiString) return nullptr;
    return m_chain.append(code);
  }
  // A number stored in the form its group code wants.
  Acad::ErrorStatus number(int code, double value) {
    resbuf* item = append(code);
    if (item == nullptr) return Acad::eOk;
    using lisp::GroupValueKind;
    switch (lisp::GroupCodeValueKind(code)) {
      case GroupValueKind::kInt16:
        item->resval.rint = static_cast<short>(value);
        break;
      case GroupValueKind::kInt32:
        item->resval.rlong = static_cast<std::int32_t>(value);
        break;
      case GroupValueKind::kInt64:
        item->resval.mnLong = static_cast<std::int64_t>(value);
        break;
      default:
        item->resval.rreal = value;
        break;
    }
    return Acad::eOk;
  }

  lisp::ResbufChain& m_chain;
};

std::string TypeName(const AcDbEntity* entity) {
  for (AcRxClass* aClass = entity->isA(); aClass != nullptr; aClass = aClass->myParent())
    if (*aClass->dxfName() != '\0') return aClass->dxfName();
  return entity->isA()->name();
}

void AppendExtendedData(lisp::ResbufChain& chain, const AcDbEntity* entity,
                        const std::vector<std::string>& applications) {
  resbuf* data = entity->xData(nullptr);
  bool marked = false;
  bool copying = false;
  for (const resbuf* item = data; item != nullptr; item = item->rbnext) {
    if (item->restype == AcDb::kDxfRegAppName) {
      copying = false;
      for (const std::string& pattern : applications)
        copying =
            copying || (item->resval.rstring && MatchesWildcard(item->resval.rstring, pattern));
      if (copying && !marked) chain.append(kExtendedDataCode);
      marked = marked || copying;
    }
    if (!copying) continue;
    resbuf* copy = chain.append(item->restype);
    copy->resval = item->resval;
    if (lisp::ResbufHoldsString(item->restype) && item->resval.rstring)
      copy->resval.rstring = lisp::NewResbufString(item->resval.rstring);
  }
  acutRelRb(data);
}

}  // namespace

resbuf* EntityGroupList(const ads_name name, const std::vector<std::string>& applications) {
  AcDbObjectId id;
  AcDbEntity* entity = nullptr;
  if (acdbGetObjectId(id, name) != Acad::eOk ||
      acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
    return nullptr;
  lisp::ResbufChain chain;
  resbuf* self = chain.append(kEntityNameCode);
  self->resval.rlname[0] = name[0];
  self->resval.rlname[1] = name[1];
  chain.append(0)->resval.rstring = lisp::NewResbufString(TypeName(entity));
  GroupListFiler filer(chain);
  entity->dxfOutFields(&filer);
  if (!applications.empty()) AppendExtendedData(chain, entity, applications);
  entity->close();
  return chain.release();
}

}  // namespace tessera::editor
