// The "|"-separated settings strings that menu macros and LISP routines pass to the plug-in.
//
// Figure settings (eleven fields) configure the figure functions, table settings (ten fields)
// the schedule and export functions. Fields are split at "|"; runs of separators count as one and
// separators at either end are ignored, so an empty field is skipped and the following fields move
// up. Too few fields is a failure; extra fields are ignored. Integer fields read the optionally
// signed integer at their start (clamped to int), real fields the decimal number at their start;
// either is 0 when the field does not start with a number. Settings whose scale and size give no
// positive, finite insertion scale are refused.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace area {

inline constexpr char kFieldSeparator = '|';
inline constexpr std::size_t kFigureSettingsFields = 11;
inline constexpr std::size_t kTableSettingsFields = 10;

// Mark and table blocks are inserted at scale height / kInsertHeightDivisor x scale.
inline constexpr double kInsertHeightDivisor = 3.0;

// Fields in the order of the settings string.
struct FigureSettings {
  std::string lineLayer;    // lines, arcs, circle and outline
  std::string markLayer;    // the area mark
  std::string valueLayer;   // the value texts
  int markKind = 0;         // label numbering: 0 decimal, 1 upper-case, 2 lower-case letters
  std::string firstMark;    // default of the first label prompt
  std::string markBlock;    // block inserted as the area mark
  double markScale = 0.0;   // scale factor of the drawing
  double markHeight = 0.0;  // size of the mark
  int unitKind = 0;         // below 2: metres and "m2"; else millimetres and "mm2"
  int digits = 0;           // decimals of every value text
  int rounding = 0;         // 0 round half up, 1 round up, other truncate
};

// Fields in the order of the settings string.
struct TableSettings {
  int tableForm = 0;           // 1 triangle form, other general form
  std::string tableLineLayer;  // table lines and header block
  std::string tableTextLayer;  // table texts
  std::string tableBlock;      // header block
  double tableScale = 0.0;     // scale factor of the drawing
  double tableHeight = 0.0;    // size of the table unit
  int tableUnitKind = 0;       // unit text of the area column and totals
  int tableDigits = 0;         // decimals of the totals
  int tableSort = 0;           // row order: 0 selection, 2 plain text, other natural
  int tableRounding = 0;       // rounding of the totals, as for figures
};

// The non-empty fields of a "|"-separated text, or nothing when there are fewer than `minimum`.
std::optional<std::vector<std::string>> ParseSeparatedFields(std::string_view text,
                                                             std::size_t minimum);

// The optionally signed integer at the start of a field, clamped to the range of int; 0 if none.
int ReadIntegerField(std::string_view field);

std::optional<FigureSettings> ParseFigureSettings(std::string_view text);
std::optional<TableSettings> ParseTableSettings(std::string_view text);

// X and Y scale of the inserted area mark.
double MarkInsertScale(const FigureSettings& settings);

// X and Y scale of the table header block, which is also the table's unit length.
double TableInsertScale(const TableSettings& settings);

}  // namespace area
