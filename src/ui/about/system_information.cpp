#include "ui/about/system_information.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "app/text_boundary.h"
#include "sources/library_versions.h"
#include "ui/about/program_version.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

// The session type tells X11 from Wayland where Qt's platform name ("xcb",
// "wayland") does not, for instance under XWayland.
QString displayPlatform() {
  QString platform = QGuiApplication::platformName();
  const QString session = qEnvironmentVariable("XDG_SESSION_TYPE");
  if (!session.isEmpty()) platform += u" (Sitzung: "_s + session + u')';
  return platform;
}

}  // namespace

QString systemInformationText(const QString& programTitle) {
  const LibraryVersions libraries = libraryVersions();
  const QStringList lines{
      u"Programm: "_s + programTitle,
      u"Version: "_s + QLatin1StringView(kProgramVersion),
      u"Qt: "_s + QLatin1StringView(qVersion()) + u" (gebaut mit "_s + QLatin1StringView(QT_VERSION_STR) + u')',
      u"SQLite: "_s + systemTextToQString(libraries.sqlite),
      u"libgsf: "_s + systemTextToQString(libraries.gsf),
      u"mdbtools: "_s + systemTextToQString(libraries.mdbtools),
      u"zlib: "_s + systemTextToQString(libraries.zlib),
      u"Betriebssystem: "_s + QSysInfo::prettyProductName(),
      u"Kernel: "_s + QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion() + u" ("_s +
          QSysInfo::currentCpuArchitecture() + u')',
      u"Anzeige: "_s + displayPlatform(),
  };
  return lines.join(u'\n') + u'\n';
}

SystemInfoDialog::SystemInfoDialog(const QString& programTitle, QWidget* parent) : QDialog(parent) {
  setObjectName(u"frmSystemInfo"_s);
  setWindowTitle(u"Systeminformationen"_s);
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(systemInformationText(programTitle), this);
  text_->setObjectName(u"txtSystemInfo"_s);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setMinimumSize(520, 230);
  layout->addWidget(text_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* copy = buttons->addButton(u"&Kopieren"_s, QDialogButtonBox::ActionRole);
  copy->setObjectName(u"cmdKopieren"_s);
  copy->setToolTip(u"Den ganzen Text in die Zwischenablage kopieren"_s);
  QPushButton* close = buttons->addButton(u"&Schlie\u00DFen"_s, QDialogButtonBox::RejectRole);
  close->setObjectName(u"cmdSchliessen"_s);
  connect(copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(text_->toPlainText()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace cq
