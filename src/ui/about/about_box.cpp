#include "ui/about/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>

#include "app/app_state.h"
#include "app/text_boundary.h"
#include "render/html.h"
#include "ui/about/program_version.h"
#include "ui/about/system_information.h"
#include "ui/main_window.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

constexpr int kIconPixels = 48;

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
  auto* created = new QLabel(text, parent);
  created->setObjectName(name);
  return created;
}

}  // namespace

void HomePageButton::enterEvent(QEnterEvent* event) {
  // A style's own button face hides a plain background colour, so the border is drawn too.
  setStyleSheet(u"background-color: #FFFF00; border: 1px solid #808080; padding: 2px;"_s);
  QPushButton::enterEvent(event);
}

void HomePageButton::leaveEvent(QEvent* event) {
  setStyleSheet({});
  QPushButton::leaveEvent(event);
}

AboutBox::AboutBox(const AppState& state, MainWindow& window) : QDialog(&window), state_(state), window_(window) {
  const QString title = toQString(state.programTitle);
  setObjectName(u"frmAbout"_s);
  setWindowTitle(u"Info zu "_s + title);

  auto* layout = new QGridLayout(this);
  QLabel* icon = label(u"picIcon"_s, {}, this);
  icon->setPixmap(window.windowIcon().pixmap(kIconPixels, kIconPixels));
  icon->setAlignment(Qt::AlignTop);
  layout->addWidget(icon, 0, 0, 2, 1);
  QLabel* titleLines =
      label(u"lblTitle"_s, title + u"\nVBA-Code lesen, durchsuchen und als HTML, RTF oder Text ausgeben"_s, this);
  QFont bold = titleLines->font();
  bold.setBold(true);
  titleLines->setFont(bold);
  layout->addWidget(titleLines, 0, 1);
  layout->addWidget(label(u"lblVersion"_s, u"Version "_s + QLatin1StringView(kProgramVersion), this), 1, 1);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(u"cmdOK"_s);
  QPushButton* systemInformation = buttons->addButton(u"&Systeminfo"_s, QDialogButtonBox::ActionRole);
  systemInformation->setObjectName(u"cmdSysInfo"_s);
  auto* homePage = new HomePageButton(u"&Homepage"_s, this);
  homePage->setObjectName(u"cmdHP"_s);
  homePage->setToolTip(toQString(kProgramWebAddress));
  // The hover face must not change the button's size.
  homePage->setMinimumSize(homePage->sizeHint());
  buttons->addButton(homePage, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(systemInformation, &QPushButton::clicked, this, &AboutBox::showSystemInformation);
  connect(homePage, &QPushButton::clicked, this, &AboutBox::openHomePage);
  layout->addWidget(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::showSystemInformation() {
  // Window-modal and not waited for, so the about box stays usable behind it.
  auto* dialog = new SystemInfoDialog(toQString(state_.programTitle), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void AboutBox::openHomePage() {
  if (!window_.openUrl(QUrl(toQString(kProgramWebAddress))))
    window_.messages().critical(u"Keinen Standard-Browser gefunden"_s);
}

void showAboutBox(const AppState& state, MainWindow& window) {
  AboutBox box(state, window);
  box.exec();
}

}  // namespace cq
