#include "text/path_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace cq {
namespace {

namespace fs = std::filesystem;

TEST(PathText, TextPartsAndPathText) {
  EXPECT_EQ(textAfterLast("C:\\A\\b.txt", '\\') + textAfterLast("b.txt", '\\') + textAfterLast("C:\\", '\\'), "b.txt");
  EXPECT_EQ(textAfterLast("aXbxc", 'x'), "c");  // letters match either case
  EXPECT_EQ(textBeforeFirst("\\Form1", "\\") + "|" + textBeforeFirst("abc", "\\"), "|abc");
  EXPECT_EQ(textBeforeFirst("oneANDtwo", "and"), "one");
  EXPECT_EQ(fileNameOf("C:\\A\\b.txt", '\\') + "|" + fileNameOf("Mappe.xlsm"), "b.txt|");
  EXPECT_EQ(withTrailingSeparator("") + withTrailingSeparator("/tmp") + withTrailingSeparator("/x/"), "//tmp//x/");
  std::string name = "a/b:c?\\*<>|\"xÄ";
  removeForbiddenNameCharacters(name);
  EXPECT_EQ(name, "abcxÄ");
  const fs::path umlautPath = fs::path("/tmp/M\xC3\xA4ppchen");  // UTF-8 on disk, Windows-1252 as text
  EXPECT_EQ(pathToText(umlautPath), "/tmp/Mäppchen");
  EXPECT_EQ(textToPath("/tmp/Mäppchen"), umlautPath);
}

// The common system errors read German, whatever language the system speaks;
// others keep the system's text as Windows-1252.
TEST(PathText, SystemErrorsInGerman) {
  using enum std::errc;
  const std::pair<std::errc, const char*> cases[] = {
      {permission_denied, "Zugriff verweigert"},
      {operation_not_permitted, "Zugriff verweigert"},
      {read_only_file_system, "Das Dateisystem ist schreibgeschützt"},
      {no_space_on_device, "Kein Speicherplatz mehr auf dem Datenträger"},
      {no_such_file_or_directory, "Datei oder Ordner nicht gefunden"},
      {not_a_directory, "Ist kein Ordner"},
      {is_a_directory, "Ist ein Ordner"},
      {file_exists, "Die Datei existiert bereits"},
      {too_many_files_open, "Zu viele geöffnete Dateien"},
      {too_many_files_open_in_system, "Zu viele geöffnete Dateien"},
      {filename_too_long, "Der Name ist zu lang"},
      {io_error, "Ein- oder Ausgabefehler"},
      {device_or_resource_busy, "Das Gerät oder die Datei ist belegt"},
      {too_many_symbolic_link_levels, "Zu viele Ebenen symbolischer Links"},
      {directory_not_empty, "Der Ordner ist nicht leer"},
      {cross_device_link, "Verschieben zwischen verschiedenen Dateisystemen ist nicht möglich"},
  };
  for (const auto& [error, german] : cases) {
    EXPECT_EQ(systemErrorText(std::make_error_code(error)), german) << std::make_error_code(error).message();
    EXPECT_EQ(systemErrorText(std::error_code(static_cast<int>(error), std::system_category())), german);
  }
  EXPECT_EQ(systemErrorText(std::error_code(EDQUOT, std::generic_category())),
            "Kein Speicherplatz mehr auf dem Datenträger");
  const std::error_code other = std::make_error_code(connection_refused);
  EXPECT_EQ(systemErrorText(other), systemText(other.message()));
  EXPECT_EQ(systemText("Datei \xC3\xA4nderung"), "Datei änderung");  // a UTF-8 message
}

}  // namespace
}  // namespace cq
