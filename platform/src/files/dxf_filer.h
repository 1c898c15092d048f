// The DXF filer: objects write their groups through it (dxfOutFields) and read them back
// through it (dxfInFields).
//
// Reading works over the tags of one record (the tags after its "0" tag). readItem yields the
// next group with its value typed by the group code (a point takes its Y and Z groups with it;
// strings point into storage the filer owns until the next read) and reports eEndOfFile at the
// record's extended data (1001) or its end. A value that is not a number where the group code
// wants one sets eBadDxfSequence, and problem() says which line and why.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cad/db_object.h"
#include "files/dxf_tags.h"

namespace tessera::files {

class DxfFiler : public AcDbDxfFiler {
 public:
  // A filer that appends what objects write to `out`: as tags, or as the text of a file.
  DxfFiler(RawTags* out, AcDbDatabase* database);
  DxfFiler(std::string* out, AcDbDatabase* database);
  // A filer that reads the tags [begin, end) of one record.
  DxfFiler(const DxfTag* begin, const DxfTag* end, AcDbDatabase* database);

  Acad::ErrorStatus filerStatus() const override { return m_status; }
  AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
  void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
  void resetFilerStatus() override { m_status = Acad::eOk; }
  AcDbDatabase* database() const override { return m_database; }

  Acad::ErrorStatus readItem(resbuf* item) override;
  Acad::ErrorStatus pushBackItem() override;
  bool atEOF() override;
  bool atSubclassData(const char* subclassName) override;
  bool atExtendedData() override;

  Acad::ErrorStatus writeItem(const resbuf& item) override;
  using AcDbDxfFiler::writeItem;
  Acad::ErrorStatus writeString(int code, const char* text) override;
  using AcDbDxfFiler::writeString;
  Acad::ErrorStatus writeInt8(int code, Adesk::Int8 value) override;
  Acad::ErrorStatus writeInt16(int code, Adesk::Int16 value) override;
  Acad::ErrorStatus writeInt32(int code, Adesk::Int32 value) override;
  Acad::ErrorStatus writeInt64(int code, Adesk::Int64 value) override;
  Acad::ErrorStatus writeBool(int code, bool value) override;
  Acad::ErrorStatus writeDouble(int code, double value, int precision = -1) override;
  Acad::ErrorStatus writePoint3d(int code, const AcGePoint3d& point, int precision = -1) override;
  Acad::ErrorStatus writeVector3d(int code, const AcGeVector3d& vector,
                                  int precision = -1) override;
  Acad::ErrorStatus writeObjectId(int code, const AcDbObjectId& id) override;
  Acad::ErrorStatus writeAcDbHandle(int code, const AcDbHandle& handle) override;

  // The read position, to scan a record's groups more than once (files without subclass
  // markers mix every subclass's groups).
  std::size_t position() const { return m_position; }
  void seek(std::size_t position);
  // The line of the last group read, and what was wrong with it.
  int lastLine() const { return m_lastLine; }
  const std::string& problem() const { return m_problem; }

 private:
  bool atDataEnd() const;
  Acad::ErrorStatus refuse(const DxfTag& tag, const std::string& what);
  Acad::ErrorStatus readValue(const DxfTag& tag, resbuf* item);
  Acad::ErrorStatus readPoint(resbuf* item);
  Acad::ErrorStatus append(int code, std::string_view value);

  AcDbDatabase* m_database;
  RawTags* m_out = nullptr;
  std::string* m_textOut = nullptr;
  const DxfTag* m_begin = nullptr;
  std::size_t m_size = 0;
  std::size_t m_position = 0;
  std::size_t m_lastStart = 0;
  bool m_canPushBack = false;
  std::string m_text;  // the string value readItem yields last
  int m_lastLine = 0;
  std::string m_problem;
  Acad::ErrorStatus m_status = Acad::eOk;
  // The last few reals written, with their text: an aligned text writes its point twice and a
  // drawing repeats its heights and sizes, and those are formatted once.
  // Only the first m_realsKept are set: a filer made to read a record clears nothing.
  struct WrittenReal {
    std::uint64_t bits;
    std::size_t size;
    DxfRealText text;
  };
  static constexpr std::size_t kWrittenReals = 4;
  std::array<WrittenReal, kWrittenReals> m_reals;
  std::size_t m_realsKept = 0;
  std::size_t m_nextReal = 0;
};

// The DXF group code that starts an application's extended data.
constexpr int kDxfXDataApplication = 1001;

}  // namespace tessera::files
