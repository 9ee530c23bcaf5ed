#pragma once
// Module files (.bas, .cls, .frm) carry no encoding: the VBA editor writes them
// in the code page of the system it runs on. A UTF-8 BOM means UTF-8; otherwise
// the files of one project are looked at together by a detector of character
// sets, and where it finds nothing certain they are Windows-1252.
#include <string>
#include <string_view>
#include <vector>

#include "text/text_decoding.h"

namespace cq {

// The code page of module files when the user leaves it to the program.
inline constexpr int kDetectCodePage = 0;

// The code page that the files' bytes (those without a BOM) are written in:
// 1252 for ASCII and Western text; 65001 when every file beyond ASCII is valid
// UTF-8 text (a byte-order mark or a C1 control inside it is Windows-1252 that
// merely forms valid sequences); else what the detector names for the files
// that are no UTF-8 text.
int detectModuleFilesCodePage(const std::vector<std::string_view>& files);

// A module file's bytes as text: UTF-8 after a BOM, else in `codePage`.
DecodedText decodeModuleFileBytes(std::string_view bytes, int codePage);

// A module file of a project whose code page was detected: UTF-8 where its
// bytes are UTF-8 text, whatever the project's code page (folders in version
// control mix the files of several editors); else in `projectCodePage`. A
// code page the user chose applies to every file instead (decodeModuleFileBytes).
DecodedText decodeDetectedModuleFile(std::string_view bytes, int projectCodePage);

}  // namespace cq
