// The application's entry point as the host drives it: the fifteen LISP functions defined in
// every drawing under their fixed codes, each call dispatched to the handler of its code, and the
// classes gone after the unload.
#include <gtest/gtest.h>

#include <string>

#include "cad/arx.h"
#include "editor/document_state.h"
#include "host/function_table.h"
#include "platform/applications.h"
#include "platform/documents.h"
#include "support/test_drawing.h"

namespace {

constexpr const char* kFunctionsInCodeOrder[] = {
    "AREA_TRIANGLE", "PLOT_TALLY", "AREA_RECTANGLE", "AREA_TRAPEZOID", "AREA_SECTOR",
    "AREA_CIRCLE",   "AREA_LUNE",  "AREA_DICCHK",    "DDTRI_DRAW",     "AUTOTRI_DRAW",
    "AREASET_SET",   "AREA_EXCEL", "AREA_ISDICT",    "AREA_CONVERT30", "AREA_POLYLINE"};

class EntryPointTest : public tessera::testing::TestDrawing {
 protected:
  void load() {
    std::string error;
    ASSERT_TRUE(tessera::LoadLinkedApplication("tessera_area", acrxEntryPoint, error)) << error;
  }

  // The code under which `document` knows the function, or -1 when it does not know it.
  static int CodeIn(AcApDocument* document, const std::string& name) {
    const auto& functions = tessera::editor::StateOf(document).functions();
    auto found = functions.find(name);
    return found == functions.end() ? -1 : found->second.code;
  }
};

TEST_F(EntryPointTest, EveryDrawingGetsTheFifteenFunctionsUnderTheirCodes) {
  for (const char* name : kFunctionsInCodeOrder) EXPECT_EQ(CodeIn(document(), name), -1) << name;
  load();
  std::string error;
  AcApDocument* second = tessera::NewDrawing(error);
  ASSERT_NE(second, nullptr) << error;
  for (int code = 0; code < area::kLispFunctionCount; ++code) {
    EXPECT_EQ(CodeIn(document(), kFunctionsInCodeOrder[code]), code);
    EXPECT_EQ(CodeIn(second, kFunctionsInCodeOrder[code]), code) << "a drawing opened later";
  }
}

TEST_F(EntryPointTest, DrawingUnloadRemovesTheFunctionsOfThatDrawing) {
  load();
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadDwgMsg, nullptr), AcRx::kRetOK);
  for (const char* name : kFunctionsInCodeOrder) EXPECT_EQ(CodeIn(document(), name), -1) << name;
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadDwgMsg, nullptr), AcRx::kRetOK) << "twice is harmless";
}

TEST_F(EntryPointTest, CallsReachTheHandlerOfTheirCode) {
  load();
  // Code 1 is the area schedule: it asks for marks.
  ASSERT_EQ(run("(plot_tally \"0|TABLE_LINE|TABLE_TEXT|AREA_TABLE|1|3|1|2|1|0\")\n").status, 0);
  EXPECT_NE(transcript().find("面積記号を指示"), std::string::npos) << transcript();
  // Code 7 is the record dump: a drawing without figures has nothing to show, and the call
  // succeeds without a value, so the host prints nothing after it (a failed call is nil).
  clearTranscript();
  ASSERT_EQ(run("(area_dicchk)\n").status, 0);
  EXPECT_EQ(transcript(), "Command: (area_dicchk)\n");
  // Code 12 is the figure query: a missing entity name is an error, shown as nil.
  clearTranscript();
  ASSERT_EQ(run("(area_isdict)\n").status, 0);
  EXPECT_EQ(transcript(), "Command: (area_isdict)\nnil\n");
}

TEST_F(EntryPointTest, DispatchOutsideAnyCallRunsNoHandler) {
  load();
  clearTranscript();
  EXPECT_EQ(area::DispatchLispCall(), RSERR);
  EXPECT_EQ(transcript(), "");
}

TEST_F(EntryPointTest, OtherMessagesAreAnsweredAndIgnored) {
  EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(99), nullptr), AcRx::kRetOK);
  EXPECT_EQ(acrxClassDictionary()->at("AreaDic_Triangle"), nullptr) << "no class registered";
  EXPECT_EQ(CodeIn(document(), "AREA_TRIANGLE"), -1) << "no function defined";
}

TEST_F(EntryPointTest, UnloadDeletesTheRecordClasses) {
  load();
  EXPECT_NE(acrxClassDictionary()->at("AreaDic_Triangle"), nullptr);
  EXPECT_NE(acrxClassDictionary()->at("AreaDic_Table"), nullptr);
  tessera::UnloadAllApplications();
  EXPECT_EQ(acrxClassDictionary()->at("AreaDic_Triangle"), nullptr);
  EXPECT_EQ(acrxClassDictionary()->at("AreaDic_Table"), nullptr);
}

}  // namespace
