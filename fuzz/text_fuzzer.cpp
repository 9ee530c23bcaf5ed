// The text path: source text decoded and marked up as a module (scanned into
// routine rows) and as a selection, then rendered as HTML, RTF and view text
// and searched as the call list searches it.
// The first input byte sets the options.
#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/module_scanner.h"
#include "analysis/scan_sink.h"
#include "fuzz_input_file.h"
#include "render/html.h"
#include "render/markup.h"
#include "render/rtf.h"
#include "render/styled_text.h"
#include "text/text_decoding.h"

namespace {

void render(const std::string& marked, bool bold) {
  // The clean text the lookups search, one-line routine bodies kept.
  (void)cq::callLines(marked, "Foo");
  cq::RenderOptions options;
  options.boldRoutineLines = bold;
  (void)cq::markedToHtml(marked, options);
  (void)cq::markedToRtf(marked, options);
  (void)cq::decodeMarkedText(marked, bold);
  (void)cq::plainTextOfMarked(marked);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0];
  const cq::DecodedText code = cq::decodeSourceText(std::string(cq::fuzz::bytesOf(data + 1, size - 1)));
  cq::MarkupOptions markup;
  markup.removeEmptyLines = flags & 1;
  markup.reindent = flags & 2;
  markup.blankLineBeforeRoutines = flags & 4;
  markup.indentRoutineBodies = flags & 8;

  cq::NullScanSink sink;
  std::int64_t routines = 0;
  std::vector<cq::ScanWarning> warnings;
  cq::ModuleScan scan;
  scan.moduleNumber = 1;
  scan.moduleName = "Modul1";
  scan.routineCounter = &routines;
  scan.sink = &sink;
  scan.warnings = &warnings;
  scan.blankLineBeforeRoutines = markup.blankLineBeforeRoutines;
  scan.indentRoutineBodies = markup.reindent && markup.indentRoutineBodies;
  render(cq::markUpModule(code.text, markup, scan), flags & 16);
  render(cq::markUpSelection(code.text, markup), flags & 32);
  // Marked-up text read from a damaged module file: the renderers see raw bytes.
  render(code.text, flags & 64);
  return 0;
}
