// Layer checks and layer changes.
#include "common/layers.h"

#include "common/system_variables.h"
#include "common/text_units.h"

namespace area {
namespace {

constexpr const char* kMissingLineLayer =
    "\n求積図線分作図ﾚｲﾔｰ \"%s\"は存在しません。現在層で作図します";
constexpr const char* kMissingMarkLayer =
    "\n求積図番号作図ﾚｲﾔｰ \"%s\"は存在しません。現在層で作図します";
constexpr const char* kMissingValueLayer =
    "\n求積図数値作図ﾚｲﾔｰ \"%s\"は存在しません。現在層で作図します";
constexpr const char* kMissingTableLineLayer =
    "\n面積表線分作図ﾚｲﾔｰ \"%s\"は存在しません。現在層で作図します";
constexpr const char* kMissingTableTextLayer =
    "\n面積表文字作図ﾚｲﾔｰ \"%s\"は存在しません。現在層で作図します";

constexpr const char* kDefaultLayer = "0";

bool LayerExists(const std::string& name) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* layers = nullptr;
  if (database == nullptr || database->getLayerTable(layers, AcDb::kForRead) != Acad::eOk)
    return false;
  const bool found = layers->has(name.c_str());
  layers->close();
  return found;
}

void CheckLayer(std::string& layer, const char* message) {
  if (LayerExists(layer)) return;
  acutPrintf(message, layer.c_str());
  layer = CurrentLayerName();
}

}  // namespace

std::string CurrentLayerName() {
  resbuf value{};
  if (acedGetVar(kCurrentLayerVar, &value) != RTNORM || value.restype != RTSTR) {
    return kDefaultLayer;
  }
  std::string name = value.resval.rstring ? value.resval.rstring : kDefaultLayer;
  acutDelBuffer(value.resval.rstring);
  return name;
}

void CheckFigureLayers(FigureSettings& settings) {
  CheckLayer(settings.lineLayer, kMissingLineLayer);
  CheckLayer(settings.markLayer, kMissingMarkLayer);
  CheckLayer(settings.valueLayer, kMissingValueLayer);
}

void CheckTableLayers(TableSettings& settings) {
  CheckLayer(settings.tableLineLayer, kMissingTableLineLayer);
  CheckLayer(settings.tableTextLayer, kMissingTableTextLayer);
}

bool SetEntityLayer(AcDbObjectId entityId, const std::string& layerName) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* layers = nullptr;
  if (database == nullptr || database->getLayerTable(layers, AcDb::kForRead) != Acad::eOk)
    return false;
  AcDbObjectId layerId;
  const std::string name = Utf16Prefix(layerName, kLayerNameLimit);
  const bool found = layers->getAt(name.c_str(), layerId, true) == Acad::eOk;
  layers->close();
  if (!found) return false;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, entityId, AcDb::kForWrite) != Acad::eOk) return false;
  const bool set = entity->setLayer(layerId) == Acad::eOk;
  entity->close();
  return set;
}

}  // namespace area
