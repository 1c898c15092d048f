// Rewriting value texts by handle.
#include "common/text_values.h"

#include "common/handles.h"
#include "common/value_format.h"

namespace area {
namespace {

AcDbText* OpenText(AcDbHandle& handle, AcDb::OpenMode mode) {
  AcDbObjectId id;
  if (!HandleToId(handle, id)) return nullptr;
  AcDbText* text = nullptr;
  if (acdbOpenObject(text, id, mode) != Acad::eOk) return nullptr;
  return text;
}

}  // namespace

bool SetTextByHandle(AcDbHandle& handle, const std::string& text) {
  AcDbText* entity = OpenText(handle, AcDb::kForWrite);
  if (entity == nullptr) return false;
  entity->setTextString(text.c_str());
  entity->close();
  return true;
}

std::optional<double> ReplaceTextValue(AcDbHandle& handle, const std::string& text) {
  AcDbText* entity = OpenText(handle, AcDb::kForWrite);
  if (entity == nullptr) return std::nullopt;
  const double old = ReadDecimal(entity->textString());
  entity->setTextString(text.c_str());
  entity->close();
  return old;
}

bool AdjustTextValue(AcDbHandle& handle, double x, int digits, int rounding) {
  AcDbText* entity = OpenText(handle, AcDb::kForWrite);
  if (entity == nullptr) return false;
  double value = ReadDecimal(entity->textString()) - x;
  RoundValue(digits, rounding, value);
  entity->setTextString(FormatValue(digits, value).c_str());
  entity->close();
  return true;
}

std::optional<std::string> ReadTextByHandle(AcDbHandle& handle) {
  AcDbText* entity = OpenText(handle, AcDb::kForRead);
  if (entity == nullptr) return std::nullopt;
  std::string text = entity->textString();
  entity->close();
  return text;
}

}  // namespace area
