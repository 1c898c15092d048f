// Application classes in DXF: the CLASSES section lists the registered classes that have objects
// in the drawing, and each object is filed by its own dxfOutFields and read by its dxfInFields.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cad/arx.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"

namespace tessera::files::testing {
namespace {

// A note an application keeps beside a survey: a text and a length.
class SurveyNote : public AcDbObject {
 public:
  static AcRxClass*& Class() {
    static AcRxClass* registered = nullptr;
    return registered;
  }
  static AcRxClass* desc() { return Class(); }
  AcRxClass* isA() const override { return desc(); }

  std::string text;
  double length = 0.0;

  Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, "SurveyNote");
    filer->writeString(1, text);
    filer->writeDouble(40, length);
    return filer->filerStatus();
  }

  Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override {
    if (AcDbObject::dxfInFields(filer) != Acad::eOk || !filer->atSubclassData("SurveyNote"))
      return filer->filerStatus();
    resbuf item{};
    while (filer->readItem(&item) == Acad::eOk) {
      if (item.restype == 1) {
        text = item.resval.rstring;
      } else if (item.restype == 40) {
        length = item.resval.rreal;
      } else {
        filer->pushBackItem();
        break;
      }
    }
    return filer->filerStatus();
  }
};

// A note on a boundary: a survey note of a kind of its own, with nothing more.
class BoundaryNote : public SurveyNote {
 public:
  static AcRxClass*& Class() {
    static AcRxClass* registered = nullptr;
    return registered;
  }
  static AcRxClass* desc() { return Class(); }
  AcRxClass* isA() const override { return desc(); }
};

using Tags = std::vector<std::pair<int, std::string>>;

Tags TagsOf(const std::string& text) {
  Tags tags;
  std::size_t at = 0;
  auto line = [&]() {
    std::size_t end = text.find('\n', at);
    std::string value = text.substr(at, end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    return value;
  };
  while (at < text.size()) {
    const int code = std::stoi(line());
    tags.emplace_back(code, line());
  }
  return tags;
}

// The tags of every record (from its code 0 to the next) whose code 0 value is `name`.
std::vector<Tags> Records(const Tags& tags, const std::string& name) {
  std::vector<Tags> records;
  bool inside = false;
  for (const auto& tag : tags) {
    if (tag.first == 0) {
      inside = tag.second == name;
      if (inside) records.emplace_back();
    }
    if (inside) records.back().push_back(tag);
  }
  return records;
}

std::string ValueOf(const Tags& record, int code) {
  for (const auto& [c, value] : record)
    if (c == code) return value;
  return "(none)";
}

class DxfClassesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SurveyNote::Class() = newAcRxClass(
        "SurveyNote", "AcDbObject", 0, []() -> AcRxObject* { return new SurveyNote; },
        "SURVEY_NOTE", "Survey Notes Application");
    BoundaryNote::Class() = newAcRxClass(
        "BoundaryNote", "SurveyNote", 0, []() -> AcRxObject* { return new BoundaryNote; },
        "BOUNDARY_NOTE", "Survey Notes Application");
    // Registered, with no object in the drawing: not listed.
    m_unused = newAcRxClass(
        "UnusedNote", "AcDbObject", 0, []() -> AcRxObject* { return new SurveyNote; },
        "UNUSED_NOTE", "Survey Notes Application");
    acrxBuildClassHierarchy();
    m_drawing = std::make_unique<AcDbDatabase>(true, true);
    acdbHostApplicationServices()->setWorkingDatabase(m_drawing.get());
  }
  void TearDown() override {
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    m_again.reset();
    m_drawing.reset();
    for (AcRxClass* aClass : {SurveyNote::Class(), BoundaryNote::Class(), m_unused})
      deleteAcRxClass(aClass);
  }

  // Files the notes in a dictionary "NOTES" of the named-object dictionary; erases the last.
  void addNotes(const std::vector<SurveyNote*>& notes) {
    AcDbDictionary* named = nullptr;
    ASSERT_EQ(m_drawing->getNamedObjectsDictionary(named, AcDb::kForWrite), Acad::eOk);
    auto* dictionary = new AcDbDictionary;
    AcDbObjectId id;
    ASSERT_EQ(named->setAt("NOTES", dictionary, id), Acad::eOk);
    named->close();
    for (std::size_t i = 0; i < notes.size(); ++i) {
      ASSERT_EQ(dictionary->setAt(("N" + std::to_string(i)).c_str(), notes[i], id), Acad::eOk);
      if (i + 1 == notes.size()) notes[i]->erase();
      notes[i]->close();
    }
    dictionary->close();
  }

  static SurveyNote* Note(SurveyNote* note, const char* text, double length) {
    note->text = text;
    note->length = length;
    return note;
  }

  std::unique_ptr<AcDbDatabase> m_drawing;
  std::unique_ptr<AcDbDatabase> m_again;
  AcRxClass* m_unused = nullptr;
};

TEST_F(DxfClassesTest, ClassesSectionListsTheClassesWithObjectsByName) {
  addNotes({Note(new SurveyNote, "K1-K2", 12.5), Note(new BoundaryNote, "境界", 3.0),
            Note(new SurveyNote, "K2-K3", 4.25), Note(new SurveyNote, "erased", 1.0)});
  const std::vector<Tags> classes = Records(TagsOf(WriteDxfText(m_drawing.get())), "CLASS");
  ASSERT_EQ(classes.size(), 2u) << "the unused class is left out";
  const Tags boundary = {{0, "CLASS"},        {1, "BOUNDARY_NOTE"},
                         {2, "BoundaryNote"}, {3, "Survey Notes Application"},
                         {90, "0"},           {91, "1"},
                         {280, "0"},          {281, "0"}};
  EXPECT_EQ(classes[0], boundary);
  EXPECT_EQ(ValueOf(classes[1], 1), "SURVEY_NOTE");
  EXPECT_EQ(ValueOf(classes[1], 91), "2") << "the erased note is not counted";
}

TEST_F(DxfClassesTest, ObjectsAreFiledByTheirOwnFieldsAndReadBackByThem) {
  addNotes({Note(new SurveyNote, "K1-K2", 12.5), Note(new BoundaryNote, "境界", 3.0),
            Note(new SurveyNote, "erased", 1.0)});
  const std::string text = WriteDxfText(m_drawing.get());
  const Tags tags = TagsOf(text);
  const std::vector<Tags> notes = Records(tags, "SURVEY_NOTE");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(ValueOf(notes[0], 100), "SurveyNote");
  EXPECT_NE(ValueOf(notes[0], 5), "(none)") << "the object's handle";
  EXPECT_EQ(ValueOf(notes[0], 1), "K1-K2");
  EXPECT_EQ(std::stod(ValueOf(notes[0], 40)), 12.5);
  ASSERT_EQ(Records(tags, "BOUNDARY_NOTE").size(), 1u);
  EXPECT_EQ(ValueOf(Records(tags, "BOUNDARY_NOTE")[0], 1), "境界");

  m_again = std::make_unique<AcDbDatabase>(false, true);
  acdbHostApplicationServices()->setWorkingDatabase(m_again.get());
  ASSERT_FALSE(ReadDxfText(text, m_again.get()).has_value());
  EXPECT_EQ(WriteDxfText(m_again.get()), text) << "read by its fields, it writes the same again";
}

// A class registered without a DXF name has no DXF form: a DXF save would drop its objects, so
// the drawing is refused as DXF, naming the class.
TEST_F(DxfClassesTest, ObjectsOfAClassWithoutADxfNameStopADxfSave) {
  addNotes({Note(new SurveyNote, "K1-K2", 12.5), Note(new SurveyNote, "erased", 1.0)});
  EXPECT_FALSE(DataDxfCannotCarry(m_drawing.get()).has_value());
  AcRxClass* named = SurveyNote::Class();
  SurveyNote::Class() = newAcRxClass(
      "NamelessNote", "AcDbObject", 0, []() -> AcRxObject* { return new SurveyNote; }, "",
      "Survey Notes Application");
  std::optional<std::string> refusal = DataDxfCannotCarry(m_drawing.get());
  deleteAcRxClass(SurveyNote::Class());
  SurveyNote::Class() = named;
  ASSERT_TRUE(refusal.has_value());
  EXPECT_NE(refusal->find("1 object(s) of class NamelessNote"), std::string::npos) << *refusal;
}

}  // namespace
}  // namespace tessera::files::testing
