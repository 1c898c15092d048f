// A schedule saved to DXF and opened again with `tessera run --in`, as a user carries a drawing
// from one session to the next: the table keeps its lines and texts with their "PLOT_TALLY"
// tags, and every record keeps the row it gained, so that a table made in the second session
// adds a second row beside it instead of starting over.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/shell.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = TESSERA_SOURCE_DIR;
const std::string kProgram = std::string(TESSERA_BINARY_DIR) + "/bin/tessera";

using tessera::testing::Shell;

// First session: a triangle and a rectangle, tabulated in general form at the origin.
constexpr const char* kFirstSession = R"(; the figures and their table
(setvar "TEXTSIZE" 2.5)
(area_triangle "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0")
0,10000
-1000,8000
3000,8000
1

(area_rectangle "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0")
10000,11000
10000,10000
12000,10000
2

(plot_tally "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|1|0")
ALL

0,0
)";

// Second session, on the saved drawing: the same figures in a second general table at x 30000
// and the triangle in a triangle-form table below.
constexpr const char* kSecondSession = R"(; two more tables of the same figures
(plot_tally "0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|0|2|1|0")
ALL

30000,0
(plot_tally "1|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|1|2|1|0")
ALL

0,-10000
)";

// Each record's rows in order, each row as its texts' strings and the x of its area text; and
// every line and text of the tables tagged.
constexpr const char* kCheck = R"(import sys
sys.path.insert(0, sys.argv[2])
from schedule_checks import Schedules
s = Schedules(sys.argv[1])
tables = s.tables()
s.equal(len(tables), 3, "tables")
kinds = sorted({line.split(" ", 2)[0] + " " + line.split(" ", 2)[1]
                for table in tables for line in table})
s.equal(kinds, ["INSERT T", "LINE L", "TEXT TEXT"], "tagged kinds")
s.equal(sorted(s.records()), [
    ("DICT_RECTANGLE", "2", [], [["", "2", "2.00x1.00", "2.00", "6.00"]] * 2),
    ("DICT_TRIANGLE", "1", [["", "1", "4.00", "2.00", "8.00", "8.00", "4.00", "4.00"]],
     [["", "1", "4.00x2.00x0.5", "4.00", "6.00"]] * 2),
], "rows of the records")
for name in ("DICT_TRIANGLE", "DICT_RECTANGLE"):
    for _key, record in s.doc.rootdict[name].items():
        handles = [t.value for sub in record.xtags.subclasses[1:] for t in sub if t.code == 300]
        areas = handles[-5 * 2:][3::5]
        xs = [round(s.doc.entitydb[h].dxf.align_point[0]) for h in areas]
        s.equal(xs, [18350, 48350], name + ": the first session's row first")
s.finish()
)";

std::string RunSession(const fs::path& folder, const std::string& name, const std::string& script,
                       const std::string& arguments) {
  std::ofstream(folder / (name + ".scr")) << script;
  return Shell("cd '" + folder.string() + "' && TESSERA_PATH='" + kSource + "/examples' '" +
               kProgram + "' run " + name + ".scr " + arguments);
}

TEST(TableFile, RowsReadBackFromDxfAreKeptAndExtended) {
  if (Shell("/usr/bin/python3 -c 'import ezdxf'") != "") GTEST_SKIP() << "ezdxf is not installed";
  const fs::path folder =
      fs::temp_directory_path() / ("tessera_table_file_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string first = RunSession(folder, "first", kFirstSession, "--out table.dxf");
  ASSERT_TRUE(fs::exists(folder / "table.dxf")) << first;
  const std::string second =
      RunSession(folder, "second", kSecondSession, "--in table.dxf --out again.dxf");
  ASSERT_TRUE(fs::exists(folder / "again.dxf")) << second;
  EXPECT_EQ(second.find("有効な求積図"), std::string::npos) << second;
  std::ofstream(folder / "check.py") << kCheck;
  const std::string check =
      Shell("/usr/bin/python3 '" + (folder / "check.py").string() + "' '" +
            (folder / "again.dxf").string() + "' '" + kSource + "/tests/scenarios'");
  EXPECT_EQ(check, "") << check << "\n" << second;
  fs::remove_all(folder);
}

}  // namespace
