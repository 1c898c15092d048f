// DXF fields of shared names, beside the field readers and writers of the other member types.
#pragma once

#include "cad/shared_name.h"
#include "files/dxf_fields.h"

namespace tessera::files {

inline void Take(const SubclassGroups& in, db::SharedName& value) {
  value = std::string_view(in.text());
}

// Compares the text with the default as it is, without making a shared copy of the default.
inline void PutOptional(AcDbDxfFiler* filer, int code, const db::SharedName& value,
                        const char* fallback) {
  if (value.str() != fallback) Put(filer, code, value.str());
}

}  // namespace tessera::files
