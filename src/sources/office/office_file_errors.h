#pragma once
// The German reasons why an Office document cannot be read, each naming the file.
#include <cstddef>
#include <string>
#include <string_view>

#include "sources/host_application.h"

namespace cq {

// The document being read, as the messages name it.
struct OfficeFile {
  std::string name;        // full path as Windows-1252 text
  bool endsEarly = false;  // its length shows that it was cut off
  std::size_t codeBudget = 0;  // what its VBA project may decompress to
};

Failed notAnOfficeDocument(const OfficeFile& file);
Failed encryptedDocument(const OfficeFile& file);
Failed documentWithoutVbaProject(const OfficeFile& file);
// A file that ends early is reported as cut off, since that explains any damage
// found in it; otherwise as damaged with the given detail ("der Datenstrom …").
Failed damagedDocument(const OfficeFile& file, std::string_view detail);

}  // namespace cq
