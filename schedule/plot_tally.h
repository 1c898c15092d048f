// The area schedule command: the user picks figure marks, and the command either draws a
// linked schedule of the figures that have records or hands the marks of figures without
// records back to LISP as the old-form list.
#pragma once

namespace area {

// Messages of the schedule command (its argument's are in schedule/mark_entries.h).
inline constexpr const char* kOnlyUnlinkedSelected =
    "\n連動機能を持たないの求積図が選択されました 旧形式の面積表を作成します";
inline constexpr const char* kUnlinkedSelectedCount = "\n%d個の求積図が選択されました";
inline constexpr const char* kInsertionPointPrompt = "\n挿入点を指示 (RETURN=終了) : ";

// "plot_tally": its LISP argument is the table settings string. RTNORM without a value after a
// drawn table or when the user stops; RTNORM with the old-form list for figures without
// records; RTERROR on a bad argument, when no mark is usable, or when the table fails.
int RunPlotTally();

}  // namespace area
