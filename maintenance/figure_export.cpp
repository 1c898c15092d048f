// The figure export.
#include "maintenance/figure_export.h"

#include <string>

#include "cad/arx.h"
#include "common/handles.h"
#include "common/value_format.h"
#include "common/value_list.h"
#include "maintenance/figure_parts.h"
#include "schedule/mark_entries.h"
#include "schedule/mark_order.h"

namespace area {
namespace {

std::string LayerOf(AcDbObjectId id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return {};
  std::string layer = entity->layer();
  entity->close();
  return layer;
}

FigureExportRow RowOf(const MarkEntry& entry) {
  FigureExportRow row;
  row.label = entry.number;
  row.shape = ShapeNameOf(entry.kind);
  row.linked = entry.linked();
  row.sign = entry.sign;
  row.values = SplitValueList(entry.valueList);
  if (!row.values.empty()) {
    row.area = row.values.back();
    row.values.pop_back();
  }
  row.layer = LayerOf(entry.markId);
  row.handle = HandleText(entry.markId);
  return row;
}

class ExportService : public FigureExportService {
 public:
  std::optional<std::vector<FigureExportRow>> rows() const override { return FigureExportRows(); }
};

ExportService& Service() {
  static ExportService service;
  return service;
}

}  // namespace

std::optional<std::vector<FigureExportRow>> FigureExportRows() {
  std::vector<MarkEntry> entries = ReadMarks(AllMarks(), false);
  if (!LinkMarksToRecords(entries, false)) return std::nullopt;
  SortMarkEntries(entries, kSortNatural);
  std::vector<FigureExportRow> rows;
  rows.reserve(entries.size());
  for (const MarkEntry& entry : entries) rows.push_back(RowOf(entry));
  return rows;
}

void RegisterFigureExportService() {
  acrxSysRegistry()->atPut(kFigureExportServiceName, &Service());
}

void RemoveFigureExportService() {
  if (acrxSysRegistry()->at(kFigureExportServiceName) == &Service())
    acrxSysRegistry()->remove(kFigureExportServiceName);
}

}  // namespace area
