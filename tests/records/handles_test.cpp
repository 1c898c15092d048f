// Stored handles and the objects they name.
#include "common/handles.h"
#include "drawing_fixture.h"

namespace {

using HandlesTest = RecordDrawingTest;

TEST_F(HandlesTest, HandleToIdClearsAHandleThatNoLongerResolves) {
  AcDbObjectId line = AppendLine();
  AcDbHandle handle = line.handle();
  AcDbObjectId id;
  EXPECT_EQ(area::HandleToId(handle, id), 1);
  EXPECT_EQ(id, line);
  AcDbEntity* entity = Open<AcDbEntity>(line, AcDb::kForWrite);
  entity->erase();
  entity->close();
  EXPECT_EQ(area::HandleToId(handle, id), 0);
  EXPECT_TRUE(handle.isNull());
  EXPECT_TRUE(id.isNull());
  EXPECT_EQ(area::HandleToId(handle, id), 0);
}

TEST_F(HandlesTest, ResolveHandleKeepsTheHandleAndLooksInTheGivenDrawing) {
  AcDbDatabase other(true);
  AcDbObjectId there = AppendLine(&other);
  const AcDbHandle missing(0xABCDEFu);
  AcDbObjectId id;
  EXPECT_FALSE(area::ResolveHandle(missing, id));
  EXPECT_EQ(missing, AcDbHandle(0xABCDEFu));
  EXPECT_TRUE(area::ResolveHandle(there.handle(), id, &other));
  EXPECT_EQ(id, there);
}

}  // namespace
