// What only some objects carry is kept apart from the object (an extension dictionary, entity
// properties the platform does not use) and names many objects carry are shared; each still goes
// through files, copies and undo as the object's own.
#include <string>

#include "cad/shared_name.h"
#include "db/database_impl.h"
#include "db_fixture.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"

namespace {

using tessera::db::SharedName;

TEST(SharedNameTest, OneCopyPerTextLivesAsLongAsItsLastHolder) {
  const SharedName empty;  // the empty text is held for good once used
  const std::size_t before = SharedName::distinctCount();
  {
    SharedName a("SHARED_TEST_A"), b(std::string("SHARED_TEST_A"));
    EXPECT_TRUE(a == b);
    EXPECT_EQ(SharedName::distinctCount(), before + 1);
    SharedName c = a;
    a = "SHARED_TEST_B";
    EXPECT_EQ(a.str(), "SHARED_TEST_B");
    EXPECT_EQ(c.str(), "SHARED_TEST_A");
    EXPECT_FALSE(a == c);
    c = c;  // NOLINT: a name assigned to itself keeps its text
    b = "SHARED_TEST_B";
    EXPECT_EQ(c.str(), "SHARED_TEST_A");
    EXPECT_EQ(SharedName::distinctCount(), before + 2);
    c = empty;
    EXPECT_TRUE(c.empty());
    // The last holder of the first text let go of it.
    EXPECT_EQ(SharedName::distinctCount(), before + 1);
  }
  EXPECT_EQ(SharedName::distinctCount(), before);
  // A text let go of and named again gets a new copy; two texts of the same length and ends
  // stay two.
  SharedName again("SHARED_TEST_A"), alike("SHARED_XEST_A");
  EXPECT_EQ(again.str(), "SHARED_TEST_A");
  EXPECT_EQ(alike.str(), "SHARED_XEST_A");
  EXPECT_FALSE(again == alike);
  EXPECT_TRUE(SharedName("SHARED_TEST_A") == again);
  EXPECT_EQ(SharedName::distinctCount(), before + 2);
}

// A line with an extension dictionary, a line weight and a true colour (properties the platform
// keeps as read), and a line with neither.
const std::string kDrawing =
    "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1021\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n"
    "  0\nLINE\n  5\n2A\n102\n{ACAD_XDICTIONARY\n360\n2C\n102\n}\n100\nAcDbEntity\n  8\n0\n"
    "370\n25\n420\n255\n100\nAcDbLine\n 10\n1.0\n 20\n2.0\n 30\n0.0\n 11\n3.0\n 21\n4.0\n"
    " 31\n0.0\n"
    "  0\nLINE\n  5\n2B\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
    " 11\n1.0\n 21\n1.0\n 31\n0.0\n"
    "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n"
    "  0\nDICTIONARY\n  5\nC\n330\n0\n100\nAcDbDictionary\n"
    "  0\nDICTIONARY\n  5\n2C\n330\n2A\n100\nAcDbDictionary\n"
    "  0\nENDSEC\n  0\nEOF\n";

class ObjectExtrasTest : public DrawingTest {
 public:
  void SetUp() override {
    database = std::make_unique<AcDbDatabase>(false, true);
    acdbHostApplicationServices()->setWorkingDatabase(database.get());
    auto problem = tessera::files::ReadDxfText(kDrawing, database.get());
    ASSERT_FALSE(problem) << problem->message;
    written = tessera::files::WriteDxfText(database.get());
  }

  AcDbObjectId IdOf(const char* handle) {
    AcDbObjectId id;
    database->getAcDbObjectId(id, false, AcDbHandle(handle));
    return id;
  }

  std::string written;
};

TEST_F(ObjectExtrasTest, KeptPropertiesAndExtensionDictionaryAreWrittenBackAsRead) {
  EXPECT_NE(written.find("{ACAD_XDICTIONARY\n360\n2C\n"), std::string::npos) << written;
  EXPECT_NE(written.find("370\n25\n420\n255\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("370\n", written.find("  5\n2B\n")), std::string::npos) << written;
  auto* line = Open<AcDbLine>(IdOf("2A"), AcDb::kForRead);
  EXPECT_EQ(line->extensionDictionary(), IdOf("2C"));
  line->close();
  line = Open<AcDbLine>(IdOf("2B"), AcDb::kForRead);
  EXPECT_TRUE(line->extensionDictionary().isNull());
  line->close();
}

TEST_F(ObjectExtrasTest, KeptPropertiesComeBackWithUndoAndGoWithACopy) {
  auto& log = tessera::db::Impl(database.get())->undo();
  log.beginCommand("CHPROP");
  auto* line = Open<AcDbLine>(IdOf("2A"), AcDb::kForWrite);
  line->setColorIndex(1);
  line->close();
  log.endCommand();
  ASSERT_EQ(log.undo(1), 1);
  EXPECT_EQ(tessera::files::WriteDxfText(database.get()), written);

  line = Open<AcDbLine>(IdOf("2A"), AcDb::kForRead);
  AcDbObject* copy = line->cloneObject();
  line->close();
  AcDbObjectId copyId = Append(AcDbEntity::cast(copy));
  const std::string withCopy = tessera::files::WriteDxfText(database.get());
  const std::size_t copyRecord = withCopy.find("  5\n" + copyId.handle().text() + "\n");
  ASSERT_NE(copyRecord, std::string::npos);
  EXPECT_NE(withCopy.find("370\n25\n420\n255\n", copyRecord), std::string::npos) << withCopy;
}

TEST_F(ObjectExtrasTest, SharedNamesComeBackWithUndo) {
  auto* text = new AcDbText(AcGePoint3d(0, 0, 0), "12.5");
  AcDbObjectId id = Append(text);
  auto& log = tessera::db::Impl(database.get())->undo();
  log.beginCommand("CHPROP");
  text = Open<AcDbText>(id, AcDb::kForWrite);
  EXPECT_EQ(text->setLinetype("DASHED"), Acad::eOk);
  EXPECT_EQ(text->setTextStyleName("ROMANS"), Acad::eOk);
  text->close();
  log.endCommand();
  ASSERT_EQ(log.undo(1), 1);
  text = Open<AcDbText>(id, AcDb::kForRead);
  EXPECT_EQ(text->linetype(), "ByLayer");
  EXPECT_EQ(text->textStyleName(), "Standard");
  EXPECT_EQ(text->layer(), "0");
  text->close();
}

}  // namespace
