// The figure marks of a drawing as CSV text.
#include "figure_csv.h"

#include <algorithm>

namespace tessera::app {
namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kLinkedText = "yes";
constexpr const char* kUnlinkedText = "no";

std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Line(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + Field(fields[i]);
  return line + kLineEnd;
}

std::vector<std::string> Header(std::size_t valueColumns) {
  std::vector<std::string> header = {"label", "shape", "linked", "sign"};
  for (std::size_t i = 1; i <= valueColumns; ++i) header.push_back("value" + std::to_string(i));
  header.insert(header.end(), {"area", "layer", "handle"});
  return header;
}

std::vector<std::string> Fields(const area::FigureExportRow& row, std::size_t valueColumns) {
  std::vector<std::string> fields = {row.label, row.shape, row.linked ? kLinkedText : kUnlinkedText,
                                     row.sign};
  fields.insert(fields.end(), row.values.begin(), row.values.end());
  fields.resize(fields.size() + valueColumns - row.values.size());
  fields.insert(fields.end(), {row.area, row.layer, row.handle});
  return fields;
}

}  // namespace

std::string FigureCsv(const std::vector<area::FigureExportRow>& rows) {
  std::size_t valueColumns = kValueColumns;
  for (const area::FigureExportRow& row : rows)
    valueColumns = std::max(valueColumns, row.values.size());
  std::string text = kByteOrderMark + Line(Header(valueColumns));
  for (const area::FigureExportRow& row : rows) text += Line(Fields(row, valueColumns));
  return text;
}

}  // namespace tessera::app
