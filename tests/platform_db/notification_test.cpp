// The order and nesting of notifications, and reactors that come and go while being notified.
#include <string>
#include <vector>

#include "db_fixture.h"

namespace {

// Writes every notification it hears into a shared log as "event:class".
class LoggingDatabaseReactor : public AcDbDatabaseReactor {
 public:
  explicit LoggingDatabaseReactor(std::vector<std::string>& log) : m_log(log) {}
  void objectAppended(const AcDbDatabase*, const AcDbObject* o) override { add("appended", o); }
  void objectOpenedForModify(const AcDbDatabase*, const AcDbObject* o) override {
    add("openedForModify", o);
  }
  void objectModified(const AcDbDatabase*, const AcDbObject* o) override { add("modified", o); }
  void objectErased(const AcDbDatabase*, const AcDbObject* o, bool erased) override {
    add(erased ? "erased" : "unerased", o);
  }

 private:
  void add(const char* event, const AcDbObject* object) {
    m_log.push_back(std::string(event) + ":" + object->isA()->name());
  }
  std::vector<std::string>& m_log;
};

class NotificationTest : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    database->addReactor(&reactor);
  }
  void TearDown() override {
    database->removeReactor(&reactor);
    DrawingTest::TearDown();
  }
  std::vector<std::string> log;
  LoggingDatabaseReactor reactor{log};
};

TEST_F(NotificationTest, FirstChangeAnnouncesAndCloseReportsOnce) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  log.clear();
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->setStartPoint(AcGePoint3d(2, 2, 0));
  line->setEndPoint(AcGePoint3d(3, 3, 0));
  EXPECT_EQ(log, std::vector<std::string>{"openedForModify:AcDbLine"});
  line->close();
  EXPECT_EQ(log, (std::vector<std::string>{"openedForModify:AcDbLine", "modified:AcDbLine"}));
}

TEST_F(NotificationTest, OpenForWriteWithoutChangeReportsNothing) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  log.clear();
  Open<AcDbLine>(id, AcDb::kForWrite)->close();
  EXPECT_TRUE(log.empty());
}

// Sees the old value in objectOpenedForModify: the notice comes before the change.
class OldValueReader : public AcDbDatabaseReactor {
 public:
  void objectOpenedForModify(const AcDbDatabase*, const AcDbObject* object) override {
    if (auto* line = AcDbLine::cast(object)) seen = line->startPoint();
  }
  AcGePoint3d seen;
};

TEST_F(NotificationTest, OpenedForModifyComesBeforeTheChange) {
  AcDbObjectId id = AppendLine(1, 2, 3, 4);
  OldValueReader reader;
  database->addReactor(&reader);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->setStartPoint(AcGePoint3d(9, 9, 0));
  line->close();
  database->removeReactor(&reader);
  EXPECT_EQ(reader.seen, AcGePoint3d(1, 2, 0));
}

TEST_F(NotificationTest, AppendingReportsTheEntityAndItsParts) {
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(1, 0, 0));
  Append(new AcDb2dPolyline(AcDb::k2dSimplePoly, points));
  EXPECT_EQ(log, (std::vector<std::string>{"appended:AcDb2dPolyline", "appended:AcDb2dVertex",
                                           "appended:AcDb2dVertex", "appended:AcDbSequenceEnd"}));
}

// Changes a second line whenever the first one is modified: its notices nest inside.
class Cascade : public AcDbDatabaseReactor {
 public:
  Cascade(AcDbObjectId trigger, AcDbObjectId follower, std::vector<std::string>& log)
      : m_trigger(trigger), m_follower(follower), m_log(log) {}
  void objectModified(const AcDbDatabase*, const AcDbObject* object) override {
    if (object->objectId() != m_trigger) return;
    m_log.push_back("cascade-begin");
    AcDbLine* line = nullptr;
    if (acdbOpenObject(line, m_follower, AcDb::kForWrite) == Acad::eOk) {
      line->setEndPoint(AcGePoint3d(7, 7, 0));
      line->close();
    }
    m_log.push_back("cascade-end");
  }

 private:
  AcDbObjectId m_trigger, m_follower;
  std::vector<std::string>& m_log;
};

TEST_F(NotificationTest, ChangesMadeByAReactorAreReportedInsideItsNotification) {
  AcDbObjectId first = AppendLine(0, 0, 1, 1);
  AcDbObjectId second = AppendLine(0, 0, 2, 2);
  Cascade cascade(first, second, log);
  database->removeReactor(&reactor);
  database->addReactor(&cascade);
  database->addReactor(&reactor);
  log.clear();
  auto* line = Open<AcDbLine>(first, AcDb::kForWrite);
  line->setStartPoint(AcGePoint3d(5, 5, 0));
  line->close();
  database->removeReactor(&cascade);
  EXPECT_EQ(log, (std::vector<std::string>{"openedForModify:AcDbLine", "cascade-begin",
                                           "openedForModify:AcDbLine", "modified:AcDbLine",
                                           "cascade-end", "modified:AcDbLine"}));
}

// Removes itself (and another reactor) on the first notice it gets.
class SelfRemover : public AcDbObjectReactor {
 public:
  AcDbObjectReactor* alsoRemove = nullptr;
  int heard = 0;
  void modified(const AcDbObject* object) override {
    ++heard;
    object->removeReactor(this);
    if (alsoRemove) object->removeReactor(alsoRemove);
  }
};

TEST_F(NotificationTest, AReactorMayRemoveItselfAndOthersWhileNotified) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  SelfRemover first, second;
  first.alsoRemove = &second;
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->addReactor(&first);
  line->addReactor(&second);
  line->setStartPoint(AcGePoint3d(1, 0, 0));
  line->close();
  EXPECT_EQ(first.heard, 1);
  EXPECT_EQ(second.heard, 0);
  line = Open<AcDbLine>(id, AcDb::kForWrite);
  EXPECT_EQ(line->reactorCount(), 0);
  line->setStartPoint(AcGePoint3d(2, 0, 0));
  line->close();
  EXPECT_EQ(first.heard, 1);
}

AcDbObjectId AppendTriangle(DrawingTest& test) {
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(10, 0, 0));
  points.append(AcGePoint3d(0, 10, 0));
  return test.Append(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, true));
}

TEST_F(NotificationTest, VertexChangedInsideItsPolylineReportsAsThePolylineThenItsEnd) {
  AcDbObjectId id = AppendTriangle(*this);
  log.clear();
  auto* polyline = Open<AcDb2dPolyline>(id, AcDb::kForWrite);
  ASSERT_EQ(polyline->moveGripPointAt(1, AcGePoint3d(20, 0, 0)), Acad::eOk);
  polyline->close();
  EXPECT_EQ(log, (std::vector<std::string>{"openedForModify:AcDb2dPolyline",
                                           "modified:AcDb2dPolyline", "modified:AcDbSequenceEnd"}));
}

TEST_F(NotificationTest, VertexChangedAloneReportsForItself) {
  AcDbObjectId id = AppendTriangle(*this);
  auto* polyline = Open<AcDb2dPolyline>(id, AcDb::kForRead);
  AcDbObjectId vertexId = polyline->vertexIds()[0];
  log.clear();
  auto* vertex = Open<AcDb2dVertex>(vertexId, AcDb::kForWrite);
  vertex->setPosition(AcGePoint3d(-1, -1, 0));
  vertex->close();
  polyline->close();
  EXPECT_EQ(log,
            (std::vector<std::string>{"openedForModify:AcDb2dVertex", "modified:AcDb2dVertex"}));
}

// Puts a line back where it was when it hears of its change, as a protected line is.
class Restorer : public AcDbDatabaseReactor {
 public:
  int rounds = 0;
  void objectModified(const AcDbDatabase*, const AcDbObject* object) override {
    ++rounds;
    auto* line = AcDbLine::cast(object);
    if (line == nullptr || line->startPoint() == AcGePoint3d(0, 0, 0)) return;
    if (const_cast<AcDbLine*>(line)->upgradeOpen() == Acad::eOk)
      const_cast<AcDbLine*>(line)->setStartPoint(AcGePoint3d(0, 0, 0));
  }
};

TEST_F(NotificationTest, AReactorMayChangeTheNotifiedObjectBack) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  Restorer restorer;
  database->addReactor(&restorer);
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->setStartPoint(AcGePoint3d(4, 4, 0));
  line->close();
  database->removeReactor(&restorer);
  line = Open<AcDbLine>(id, AcDb::kForRead);
  EXPECT_EQ(line->startPoint(), AcGePoint3d(0, 0, 0));
  line->close();
  EXPECT_EQ(restorer.rounds, 2);
}

TEST_F(NotificationTest, EraseIsReportedAtOnceAndNotAsAModification) {
  AcDbObjectId id = AppendLine(0, 0, 1, 1);
  log.clear();
  auto* line = Open<AcDbLine>(id, AcDb::kForWrite);
  line->erase();
  EXPECT_EQ(log, std::vector<std::string>{"erased:AcDbLine"});
  line->close();
  EXPECT_EQ(log, std::vector<std::string>{"erased:AcDbLine"});
}

}  // namespace
