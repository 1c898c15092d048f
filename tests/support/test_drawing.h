// A fresh drawing from the built-in template as the current document, with the command-line
// transcript captured, for tests that drive the editor: scripts, commands, prompts.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cad/arx.h"
#include "platform/script.h"

namespace tessera::testing {

class TestDrawing : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  AcApDocument* document() const { return m_document; }
  AcDbDatabase* database() const { return m_document->database(); }
  // Everything the command line showed since the test began (or the last clear).
  std::string transcript() const { return m_transcript.str(); }
  void clearTranscript() { m_transcript.str(""); }
  // Runs script lines as a script file named "test.scr".
  ScriptOutcome run(const std::string& script);

  // Entities in model space (world coordinates), closed when made.
  AcDbObjectId append(AcDbEntity* entity);
  AcDbObjectId addLine(const AcGePoint3d& from, const AcGePoint3d& to);
  AcDbObjectId addCircle(const AcGePoint3d& center, double radius);
  AcDbObjectId addArc(const AcGePoint3d& center, double radius, double start, double end);
  AcDbObjectId addText(const AcGePoint3d& position, const char* text, double height);
  AcDbObjectId addLightPolyline(const std::vector<AcGePoint2d>& points, bool closed);
  AcDbObjectId add2dPolyline(const std::vector<AcGePoint3d>& points, bool closed);
  // The model-space entities that are not erased, in drawing order.
  std::vector<AcDbObjectId> entities() const;
  // The entity name of an id, as LISP and acedCommand take it.
  std::string handleText(AcDbObjectId id) const { return id.handle().text(); }

  template <typename T>
  T* open(AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead) {
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, id, mode), Acad::eOk);
    return object;
  }

 private:
  AcApDocument* m_document = nullptr;
  std::ostringstream m_transcript;
};

// Lines of text, for finding transcript lines.
std::vector<std::string> Lines(const std::string& text);
bool HasLine(const std::string& text, const std::string& line);

}  // namespace tessera::testing
