// Registration of the eight record classes with the host.
#include <string>

#include "db/stub.h"
#include "drawing_fixture.h"
#include "files/dxf_filer.h"
#include "files/memory_filer.h"
#include "records/class_table.h"
#include "records/figure_dictionaries.h"
#include "records/figure_records.h"

namespace {

AcRxClass* Registered(const char* name) {
  return static_cast<AcRxClass*>(acrxClassDictionary()->at(name));
}

TEST(RecordClassesTest, EightClassesCarryTheirNamesVersionsAndApplication) {
  area::RegisterRecordClasses();
  const char* names[] = {"AreaDic_Triangle", "AreaDic_Rectangle", "AreaDic_Trapezoid",
                         "AreaDic_Sector",   "AreaDic_Circle",    "AreaDic_Lune",
                         "AreaDic_STable",   "AreaDic_Table"};
  for (const char* name : names) {
    AcRxClass* aClass = Registered(name);
    ASSERT_NE(aClass, nullptr) << name;
    std::string dxfName = name;
    for (char& c : dxfName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(aClass->dxfName(), dxfName) << name;
    EXPECT_STREQ(aClass->appName(), "Tessera Area Dictionary") << name;
    EXPECT_STREQ(aClass->parentName(), "AcDbObject") << name;
    int maintenance = 0;
    EXPECT_EQ(aClass->getClassVersion(maintenance), 27) << name;
    EXPECT_EQ(maintenance, 1) << name;
    EXPECT_EQ(aClass->proxyFlags(), 0) << name;
    AcRxObject* made = aClass->create();
    EXPECT_EQ(made->isA(), aClass) << name;
    delete made;
  }
}

TEST(RecordClassesTest, ReloadingGivesObjectsTheNewDescriptors) {
  area::RegisterRecordClasses();
  AcRxClass* first = Registered("AreaDic_Circle");
  area::RegisterRecordClasses();
  EXPECT_EQ(Registered("AreaDic_Circle"), first) << "a second registration keeps the class";
  area::DeleteRecordClasses();
  EXPECT_EQ(Registered("AreaDic_Circle"), nullptr);
  area::RegisterRecordClasses();
  area::AreaDic_Circle circle;
  EXPECT_EQ(circle.isA(), Registered("AreaDic_Circle"));
  EXPECT_TRUE(circle.isKindOf(AcDbObject::desc()));
}

// Unloading the application keeps every record of an open drawing, rows included, as an
// unknown object holding what the record itself files in both filings.
TEST(RecordClassesTest, UnloadingKeepsRecordsWithTheirRowsAsUnknownObjects) {
  area::RegisterRecordClasses();
  AcDbDatabase database(true);
  acdbHostApplicationServices()->setWorkingDatabase(&database);
  auto* circle = new area::AreaDic_Circle;
  circle->addTableRow(area::AreaDic_Table::Row{AcDbHandle(0x51u)});
  ASSERT_EQ(area::StoreFigureRecord(area::kDictCircle, "2A", circle), 1);
  AcDbObjectId id = circle->objectId();
  AcDbObjectId row = circle->tableRowIds()[0];
  tessera::files::MemoryDwgFiler filed(AcDb::kFileFiler, &database);
  circle->dwgOutFields(&filed);
  tessera::files::RawTags tags;
  tessera::files::DxfFiler dxf(&tags, &database);
  circle->dxfOutFields(&dxf);
  tags.erase(tags.begin());  // the handle, which the DXF writer puts before kept tags
  area::DeleteRecordClasses();
  auto* kept = AcDbUnknownObject::cast(id.stub()->object);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->originalClassName, "AreaDic_Circle");
  EXPECT_EQ(kept->originalDxfName, "AREADIC_CIRCLE");
  EXPECT_EQ(kept->binaryData, filed.bytes());
  EXPECT_EQ(kept->dxfTags, tags);
  EXPECT_FALSE(row.isErased()) << "the record went from memory, its data did not";
  EXPECT_NE(AcDbUnknownObject::cast(row.stub()->object), nullptr);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  area::RegisterRecordClasses();
}

TEST(RecordClassesDeathTest, ForeignClassUnderAnOwnNameAborts) {
  EXPECT_EXIT(
      {
        area::RegisterRecordClasses();
        newAcRxClass("AreaDic_Lune", "AcDbObject", 27, 1);
        area::RegisterRecordClasses();
      },
      ::testing::ExitedWithCode(3), "Class mismatch");
}

}  // namespace
