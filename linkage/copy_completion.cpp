// The completion of copied figures.
#include "linkage/copy_completion.h"

#include <cstring>
#include <optional>
#include <string>

#include "common/handles.h"
#include "common/marks.h"
#include "figures/exact_values.h"
#include "records/figure_dictionaries.h"
#include "records/figure_kinds.h"
#include "records/mark_reactor.h"
#include "records/record_index.h"

namespace area {
namespace {

constexpr const char* kGroupClassName = "AcDbGroup";

// The first member of the group that is a recorded copy, with its source; the pair is taken.
bool TakeCopiedMember(const AcDbGroup* group, AcDbObjectId& copy, AcDbObjectId& source) {
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  for (const AcDbObjectId& member : members) {
    source = TakeCopyPair(member);
    if (!source.isNull()) {
      copy = member;
      return true;
    }
  }
  return false;
}

// The source figure's values: the first shape whose dictionary holds a record of the source mark
// measures its key entity.
std::optional<std::string> SourceValues(AcDbObjectId sourceMark) {
  AcDbDatabase* database = sourceMark.database();
  for (const char* dictionary : kFigureDictionaries) {
    const FigureKindInfo* kind = KindByDictionary(dictionary);
    std::string key;
    FigureRecord* record = kind == nullptr
                               ? nullptr
                               : FindRecordNaming(*kind, sourceMark.handle(), NamedRole::kMark,
                                                  AcDb::kForRead, &key, database);
    if (record == nullptr) continue;
    record->close();
    AcDbObjectId keyEntity;
    if (!ResolveHandle(AcDbHandle(key.c_str()), keyEntity, database)) return std::nullopt;
    return ExactValueText(*kind, keyEntity);
  }
  return std::nullopt;
}

}  // namespace

void CompleteCopiedFigure(const AcDbObject* appended) {
  if (appended == nullptr || std::strcmp(appended->isA()->name(), kGroupClassName) != 0 ||
      !HasCopyPairs())
    return;
  const auto* group = AcDbGroup::cast(appended);
  AcDbObjectId copy, source;
  if (group == nullptr || !TakeCopiedMember(group, copy, source)) return;
  if (const std::optional<std::string> values = SourceValues(source)) {
    AcDbHandle copyHandle = copy.handle();
    UpdateMark(copyHandle, AcGePoint3d::kOrigin, *values, false);  // the copy stays where it is
  }
}

}  // namespace area
