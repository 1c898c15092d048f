// Drawing a linked area schedule below its header block: the grid, one row of texts per
// figure, the footer with its totals and the unit text, and one row object per row added to the
// figure's record so that the linkage can keep the row and the totals current.
//
// Lines are tagged "L" and texts "TEXT" under "PLOT_TALLY"; the table's entities are not
// grouped. What is drawn before a failure stays in the drawing.
#pragma once

#include <string>
#include <vector>

#include "schedule/mark_entries.h"
#include "schedule/table_layout.h"

namespace area {

// Everything a table is drawn with besides its rows.
struct TableStyle {
  TableForm form = TableForm::kGeneral;
  TableFrame frame;
  std::string lineLayer;
  std::string textLayer;
  int digits = 0;    // decimals of the totals
  int rounding = 0;  // rounding of the totals
};

// Draws the table of the linked, sorted entries. False at the first failure: an entity the host
// refuses, a value list with too few values or without a formula, a kind outside 1 to 6, a
// figure record that does not open for write or is not of the kind's class, a refused row.
bool DrawLinkedTable(const std::vector<MarkEntry>& entries, const TableStyle& style);

}  // namespace area
