// The "|"-separated settings strings of the figure, schedule and export functions.
#include "common/settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/value_format.h"

namespace area {
namespace {

// A block inserted at a scale that is zero, negative or too large to hold is refused by the
// host, so settings that give one are refused before anything is drawn.
bool UsableInsertScale(double size, double scale, double insertScale) {
  return size > 0.0 && scale > 0.0 && std::isfinite(insertScale) && insertScale > 0.0;
}

}  // namespace

std::optional<std::vector<std::string>> ParseSeparatedFields(std::string_view text,
                                                             std::size_t minimum) {
  std::vector<std::string> fields = SplitTokens(text, kFieldSeparator);
  if (fields.size() < minimum) return std::nullopt;
  return fields;
}

int ReadIntegerField(std::string_view field) {
  return static_cast<int>(std::clamp<long long>(ReadInteger(field), std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

std::optional<FigureSettings> ParseFigureSettings(std::string_view text) {
  const auto fields = ParseSeparatedFields(text, kFigureSettingsFields);
  if (!fields) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  FigureSettings settings;
  settings.lineLayer = f[0];
  settings.markLayer = f[1];
  settings.valueLayer = f[2];
  settings.markKind = ReadIntegerField(f[3]);
  settings.firstMark = f[4];
  settings.markBlock = f[5];
  settings.markScale = ReadDecimal(f[6]);
  settings.markHeight = ReadDecimal(f[7]);
  settings.unitKind = ReadIntegerField(f[8]);
  settings.digits = ReadIntegerField(f[9]);
  settings.rounding = ReadIntegerField(f[10]);
  if (!UsableInsertScale(settings.markHeight, settings.markScale, MarkInsertScale(settings)))
    return std::nullopt;
  return settings;
}

std::optional<TableSettings> ParseTableSettings(std::string_view text) {
  const auto fields = ParseSeparatedFields(text, kTableSettingsFields);
  if (!fields) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  TableSettings settings;
  settings.tableForm = ReadIntegerField(f[0]);
  settings.tableLineLayer = f[1];
  settings.tableTextLayer = f[2];
  settings.tableBlock = f[3];
  settings.tableScale = ReadDecimal(f[4]);
  settings.tableHeight = ReadDecimal(f[5]);
  settings.tableUnitKind = ReadIntegerField(f[6]);
  settings.tableDigits = ReadIntegerField(f[7]);
  settings.tableSort = ReadIntegerField(f[8]);
  settings.tableRounding = ReadIntegerField(f[9]);
  if (!UsableInsertScale(settings.tableHeight, settings.tableScale, TableInsertScale(settings)))
    return std::nullopt;
  return settings;
}

double MarkInsertScale(const FigureSettings& settings) {
  return settings.markHeight / kInsertHeightDivisor * settings.markScale;
}

double TableInsertScale(const TableSettings& settings) {
  return settings.tableHeight / kInsertHeightDivisor * settings.tableScale;
}

}  // namespace area
