#pragma once
// The file-dialog filter of every document whose VBA code the program reads.
#include <QString>

namespace cq {

inline QString documentFileFilter() {
  return QStringLiteral(
      "Dokumente mit VBA-Code (*.xlsm *.xlsb *.xlam *.xltm *.xls *.xla *.xlt *.docm *.dotm *.doc *.dot "
      "*.pptm *.potm *.ppam *.ppt *.pps *.pot *.mdb *.accdb *.accda *.mde *.accde *.vbp *.bin);;"
      "Alle Dateien (*)");
}

}  // namespace cq
