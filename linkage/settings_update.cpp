// The settings update of existing figures.
#include "linkage/settings_update.h"

#include <memory>
#include <vector>

#include "common/handles.h"
#include "common/settings.h"
#include "figures/frame.h"
#include "linkage/figure_linkage.h"
#include "records/figure_dictionaries.h"
#include "records/figure_kinds.h"

namespace area {
namespace {

// Field positions in the update string.
enum UpdateField {
  kLineLayerField,
  kMarkLayerField,
  kValueLayerField,
  kUnitKindField = 5,
  kDigitsField,
  kRoundingField
};

// Sets the entity's layer (a layer that does not exist leaves it where it is) and, when given,
// its text.
void Restyle(AcDbHandle handle, const std::string& layer, const std::string* text = nullptr) {
  AcDbObjectId id;
  AcDbEntity* entity = nullptr;
  if (!HandleToId(handle, id) || acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk)
    return;
  entity->setLayer(layer.c_str());
  if (text != nullptr)
    if (auto* value = AcDbText::cast(entity)) value->setTextString(text->c_str());
  entity->close();
}

// Stores the new rules in the record and gives what it names; false when it does not open.
bool StoreRules(AcDbObjectId recordId, const ValueRules& rules, RecordValues& values) {
  FigureRecord* record = nullptr;
  if (acdbOpenObject(record, recordId, AcDb::kForWrite) != Acad::eOk) return false;
  values = ReadRecordValues(*record);
  FigureSettings settings;
  settings.unitKind = rules.unitKind;
  settings.digits = rules.digits;
  settings.rounding = rules.rounding;
  StoreValueRules(settings, *record);
  record->close();
  return true;
}

void UpdateFigure(const ShapeLinkage& shape, AcDbObjectId recordId, const std::string& key,
                  const SettingsUpdate& update) {
  RecordValues values;
  if (!StoreRules(recordId, update.rules, values)) return;
  AcDbHandle outline(key.c_str());
  Restyle(outline, update.lineLayer);
  AcDbObjectId outlineId;
  std::optional<std::vector<std::string>> texts;
  if (HandleToId(outline, outlineId)) texts = shape.freshValueTexts(update.rules, outlineId);
  for (int slot : shape.auxiliarySlots) Restyle(values.shape[slot], update.lineLayer);
  const std::span<const int> valueSlots = shape.kind.valueTexts();
  for (std::size_t i = 0; i < valueSlots.size(); ++i)
    Restyle(values.shape[valueSlots[i]], update.valueLayer, texts ? &(*texts)[i] : nullptr);
  Restyle(values.mark, update.markLayer);
}

}  // namespace

std::optional<SettingsUpdate> ParseSettingsUpdate(std::string_view text) {
  const auto fields = ParseSeparatedFields(text, kSettingsUpdateFields);
  if (!fields) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  return SettingsUpdate{
      f[kLineLayerField], f[kMarkLayerField], f[kValueLayerField],
      ValueRules{ReadIntegerField(f[kUnitKindField]), ReadIntegerField(f[kDigitsField]),
                 ReadIntegerField(f[kRoundingField])}};
}

void UpdateFigureSettings(const SettingsUpdate& update) {
  for (const char* dictionary : kFigureDictionaries) {
    const FigureKindInfo* kind = KindByDictionary(dictionary);
    if (kind == nullptr) continue;
    const ShapeLinkage& shape = LinkageOf(*kind);
    std::unique_ptr<AcDbDictionaryIterator> entries = ShapeDictionaryEntries(dictionary);
    for (; entries && !entries->done(); entries->next())
      UpdateFigure(shape, entries->objectId(), entries->name(), update);
  }
}

}  // namespace area
