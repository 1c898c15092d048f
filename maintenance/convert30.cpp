// Conversion of older figures.
#include "maintenance/convert30.h"

#include <optional>
#include <string>

#include "cad/arx.h"
#include "common/handles.h"
#include "figures/exact_values.h"
#include "maintenance/lisp_arguments.h"
#include "records/figure_dictionaries.h"
#include "records/figure_kinds.h"
#include "records/record_index.h"

namespace area {
namespace {

// The values of the figure of `kind` whose record lists the mark; nothing when there is no such
// record or its key entity gives no values. Records are only read, so the query leaves no undo
// step and no change behind.
std::optional<std::string> FigureValues(const FigureKindInfo& kind, AcDbObjectId markId) {
  std::string key;
  FigureRecord* record =
      FindRecordNaming(kind, markId.handle(), NamedRole::kMark, AcDb::kForRead, &key);
  if (record == nullptr) return std::nullopt;
  record->close();
  AcDbObjectId keyEntity;
  if (!ResolveHandle(AcDbHandle(key.c_str()), keyEntity)) return std::nullopt;
  return ExactValueText(kind, keyEntity);
}

}  // namespace

int RunAreaConvert30() {
  if (const std::optional<AcDbObjectId> mark = EntityArgument()) {
    for (const char* dictionary : kFigureDictionaries) {
      const FigureKindInfo* kind = KindByDictionary(dictionary);
      if (kind == nullptr) continue;
      if (const std::optional<std::string> values = FigureValues(*kind, *mark))
        return acedRetStr(values->c_str()) == RTNORM ? RTNORM : RTERROR;
    }
  }
  acedRetNil();
  return RTERROR;
}

}  // namespace area
