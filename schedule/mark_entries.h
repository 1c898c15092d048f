// The marks a schedule or an export is made from: the settings argument, selecting marks,
// reading their attributes, finding each one's figure record, choosing linked or unlinked
// figures, sorting, and the list handed to LISP.
//
// Each step is its own function so that the schedule command, the figure query and the exports
// walk the same road: TableSettingsArgument, SelectMarks (or AllMarks), ReadMarks,
// LinkMarksToRecords, ChooseFigures, SortMarkEntries, KeepChosenFigures, MarkEntryList.
// PickMarks runs the steps from the selection to the sort as the schedule and area_excel do.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "common/settings.h"

namespace area {

// Messages of the table settings argument.
inline constexpr const char* kArgumentMissing = "\n引き数(1)がありません";
inline constexpr const char* kArgumentWrongType = "\n引き数(1)の型が異なっています";

// Messages and prompts of mark selection and classification.
inline constexpr const char* kSelectMarksPrompt = "\n面積記号を指示 (RETURN=終了) : ";
inline constexpr const char* kNoValidFigures = "\n有効な求積図が選択されていません";
inline constexpr const char* kUnlinkedIncluded = "\n連動機能を持たないの求積図が含まれています";
inline constexpr const char* kFigureKindKeywords = "A B";
inline constexpr const char* kFigureKindPrompt =
    "\n作表対象の求積図ﾀｲﾌﾟを選択 (A=連動のみ/B=非連動のみ)<A>:";
inline constexpr const char* kLinkedKeyword = "A";
inline constexpr const char* kUnlinkedFilteredOut = "\n%dつの、連動機能を持たない求積図はﾌｨﾙﾀｱｳﾄ";
inline constexpr const char* kLinkedFilteredOut = "\n%dつの、連動機能を持つ求積図はﾌｨﾙﾀｱｳﾄ";

// The block whose references are area marks.
inline constexpr const char* kMarkBlockName = "AREA1";

// Kind of a mark whose KT attribute is missing or empty: no shape.
inline constexpr int kNoShape = 0;

// One selected mark. Texts are kept whole, whatever their length.
struct MarkEntry {
  std::string number;     // BANGO1 or BANGO2, the one read last winning
  int kind = kNoShape;    // KT as a decimal integer
  std::string valueList;  // SK, "( v1 v2 ... area )"
  std::string sign;       // PM: "+" added, "-" deducted
  AcDbObjectId markId;
  AcDbObjectId recordId;  // the figure record listing the mark; null when unlinked

  bool linked() const { return !recordId.isNull(); }
};

// The table settings of the call's one argument; nothing, after its message, when the argument
// is missing or no string, and quietly when the string has too few fields.
std::optional<TableSettings> TableSettingsArgument();

// Asks for marks at "Select objects:" with the filter (0 . "INSERT") (2 . "AREA1") and gives the
// block references among them in selection order. Empty when the selection was cancelled or
// empty, or when a selected entity does not open.
std::vector<AcDbObjectId> SelectMarks();

// Every block reference of the drawing that the same filter takes, in drawing order, without
// asking.
std::vector<AcDbObjectId> AllMarks();

// Reads the marks' attributes in order. A mark is rejected when it carries an attribute with a
// tag other than BANGO1, BANGO2, KT, SK, PM, or, when `trianglesOnly`, a KT other than 1 (a
// missing KT passes). An id that does not open or is no block reference is skipped.
std::vector<MarkEntry> ReadMarks(const std::vector<AcDbObjectId>& markIds, bool trianglesOnly);

// Sets each entry's record id from the figure dictionaries (only "DICT_TRIANGLE" when
// `trianglesOnly`), walked in their fixed order; a record goes to the first entry whose mark
// handle equals its own. False when the named-object dictionary does not open or a dictionary
// cannot be walked.
bool LinkMarksToRecords(std::vector<MarkEntry>& entries, bool trianglesOnly);

int CountLinked(const std::vector<MarkEntry>& entries);

// Which figures a mixed selection is tabulated from.
enum class FigureChoice { kLinked, kUnlinked, kCancelled };

// Asks with kFigureKindPrompt (keywords "A B"): "A" or RETURN take the linked figures, any other
// keyword the unlinked ones; a cancel is kCancelled.
FigureChoice AskFigureKind();

// Linked or unlinked figures: a selection of linked figures only takes them; one of unlinked
// figures only prints `onlyUnlinkedMessage` and takes them; a mixed one prints kUnlinkedIncluded
// and asks (AskFigureKind).
FigureChoice ChooseFigures(const std::vector<MarkEntry>& entries, const char* onlyUnlinkedMessage);

// Sorts by number under `table sort`: 0 keeps selection order, 2 plain text order, any other
// value natural order; always the same bubble sort, so equal numbers keep their order.
void SortMarkEntries(std::vector<MarkEntry>& entries, int sortMode);

// Keeps the linked or the unlinked entries, in order; gives the number removed.
int KeepFigureKind(std::vector<MarkEntry>& entries, bool linked);

// Keeps the chosen kind (KeepFigureKind) and gives the number removed; when no entry is left,
// prints kNoValidFigures and gives nothing.
std::optional<int> KeepChosenFigures(std::vector<MarkEntry>& entries, bool linked);

// After keeping linked figures, prints kUnlinkedFilteredOut with the number removed; after
// keeping unlinked ones, kLinkedFilteredOut. Nothing when none was removed.
void ReportFilteredOut(int removed, bool keptLinked);

// What came of picking marks for a schedule or an export.
enum class MarkPick {
  kNothingSelected,  // the selection was cancelled or empty
  kNoValidMark,      // no mark was accepted; kNoValidFigures was printed
  kLinkFailed,       // the figure dictionaries could not be read
  kCancelled,        // the keyword prompt was cancelled
  kLinked,           // the linked figures were chosen
  kUnlinked,         // the unlinked figures were chosen
};

// The road of the schedule and the export list from the selection to the sort: selects marks,
// reads them under `table form` (triangle marks only in the triangle form), links them to the
// records (of triangles only in the triangle form), chooses the kind (ChooseFigures with
// `onlyUnlinkedMessage`) and sorts all entries under `table sort`. The entries are those read,
// in sorted order, when the result is kLinked or kUnlinked.
MarkPick PickMarks(const TableSettings& settings, const char* onlyUnlinkedMessage,
                   std::vector<MarkEntry>& entries);

// The entries for LISP: ((number kind value-list sign) ...), the kind a short integer, the texts
// as stored. The caller releases it with acutRelRb; null for no entries.
resbuf* MarkEntryList(const std::vector<MarkEntry>& entries);

}  // namespace area
