// Classes and what they derive from, as the hierarchy changes under them.
#include <gtest/gtest.h>

#include "cad/arx.h"
#include "cad/db_entities.h"

namespace {

// An application's classes come and go in any order: what a class derives from follows every
// change of a parent, also for a class whose answer was asked (and kept) before the change.
TEST(RxClassTest, DerivationFollowsParentsAsClassesComeAndGo) {
  acrxSysRegistry();
  AcRxClass* child = newAcRxClass("RxTestChild", "RxTestParent", 0, nullptr, "", "RxTest");
  EXPECT_TRUE(child->isDerivedFrom(child));
  EXPECT_FALSE(child->isDerivedFrom(AcDbObject::desc()));  // its parent is not registered yet

  AcRxClass* parent = newAcRxClass("RxTestParent", "AcDbEntity", 0, nullptr, "", "RxTest");
  acrxBuildClassHierarchy();
  EXPECT_TRUE(child->isDerivedFrom(parent));
  EXPECT_TRUE(child->isDerivedFrom(AcDbEntity::desc()));
  EXPECT_TRUE(child->isDerivedFrom(AcRxObject::desc()));
  EXPECT_FALSE(child->isDerivedFrom(AcDbText::desc()));
  EXPECT_FALSE(parent->isDerivedFrom(child));
  EXPECT_FALSE(child->isDerivedFrom(nullptr));
  EXPECT_TRUE(AcDbAttribute::desc()->isDerivedFrom(AcDbText::desc()));

  deleteAcRxClass(parent);
  EXPECT_EQ(child->myParent(), nullptr);
  EXPECT_FALSE(child->isDerivedFrom(AcDbEntity::desc()));
  EXPECT_TRUE(child->isDerivedFrom(child));
  deleteAcRxClass(child);
}

}  // namespace
