// Figure query and export list: whether an entity is the mark of a linked figure, and the marks
// a user picks handed to LISP for export. Both walk the area schedule's road: its mark reading,
// record linking, choice of kind and sort.
#pragma once

namespace area {

// Message of area_excel when only figures without records were picked (the schedule's differs).
inline constexpr const char* kExportOnlyUnlinked = "\n連動機能を持たない求積図が選択されました";

// Flags heading the export list.
inline constexpr short kExportLinkedFlag = 0;
inline constexpr short kExportUnlinkedFlag = 1;

// "area_isdict" (entity name): T when the entity is a block reference whose attributes make a
// mark and a figure record lists it, nil otherwise (RTNORM). nil with RTERROR when the argument
// is missing or no entity name, the entity does not open, is no block reference, carries an
// attribute no mark has, or the dictionaries cannot be read.
int RunAreaIsDict();

// "area_excel" (table settings): the user picks marks as for the schedule; returns (flag
// ((number kind value-list sign) ...)) of the linked (flag 0) or unlinked (flag 1) figures in
// sorted order. Only `table form` and `table sort` are used. No value after an empty selection;
// nil after a cancelled choice; nil with RTERROR on a bad argument or when no usable mark is left.
int RunAreaExcel();

}  // namespace area
