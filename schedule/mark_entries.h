// The marks a schedule or an export is made from: selecting them, reading their attributes,
// finding each one's figure record, choosing linked or unlinked figures, sorting, and the list
// handed to LISP for figures without records.
//
// Each step is its own function so that the schedule command and the export functions walk the
// same road: SelectMarks, ReadMarks, LinkMarksToRecords, AskFigureKind, SortMarkEntries,
// KeepFigureKind, MarkEntryList.
#pragma once

#include <string>
#include <vector>

#include "cad/arx.h"

namespace area {

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

// Asks for marks at "Select objects:" with the filter (0 . "INSERT") (2 . "AREA1") and gives the
// block references among them in selection order. Empty when the selection was cancelled or
// empty, or when a selected entity does not open.
std::vector<AcDbObjectId> SelectMarks();

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

// Sorts by number under `table sort`: 0 keeps selection order, 2 plain text order, any other
// value natural order; always the same bubble sort, so equal numbers keep their order.
void SortMarkEntries(std::vector<MarkEntry>& entries, int sortMode);

// Keeps the linked or the unlinked entries, in order; gives the number removed.
int KeepFigureKind(std::vector<MarkEntry>& entries, bool linked);

// The entries for LISP: ((number kind value-list sign) ...), the kind a short integer, the texts
// as stored. The caller releases it with acutRelRb; null for no entries.
resbuf* MarkEntryList(const std::vector<MarkEntry>& entries);

}  // namespace area
