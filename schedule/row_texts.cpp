// The sign column and signed values of schedule rows.
#include "schedule/row_texts.h"

#include "common/marks.h"

namespace area {

std::string RowSignText(bool negative) {
  return negative ? kNegativeSign : "";
}

std::string SignedRowValue(bool negative, const std::string& value) {
  return negative ? kNegativeSign + value : value;
}

}  // namespace area
