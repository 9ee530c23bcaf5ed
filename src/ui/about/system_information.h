#pragma once
// What a bug report needs to know about this installation, shown as text the
// user can copy.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace cq {

// Program version, the versions of Qt, SQLite, libgsf, mdbtools and zlib, the
// operating system and the display platform, one "name: value" per line.
QString systemInformationText(const QString& programTitle);

// `frmSystemInfo`: the text in a read-only field `txtSystemInfo`, with
// "&Kopieren" (`cmdKopieren`, the whole text to the clipboard) and "&Schließen".
class SystemInfoDialog : public QDialog {
  Q_OBJECT

 public:
  SystemInfoDialog(const QString& programTitle, QWidget* parent);

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace cq
