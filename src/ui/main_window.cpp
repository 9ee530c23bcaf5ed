#include "ui/main_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/display_settings.h"
#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "ui/commands/command_table.h"
#include "ui/help_manual.h"
#include "ui/screen_fit.h"
#include "ui/screen_preset.h"
#include "ui/trees/tree_icons.h"
#include "ui/status_bar.h"
#include "ui/twips.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

constexpr int kBandHeightTwips = 500;
constexpr int kDesignWidthTwips = 15000;
constexpr int kDesignHeightTwips = 10500;
constexpr int kMinimumWidthTwips = 9000;
constexpr int kMinimumHeightTwips = 6000;
constexpr int kSearchBoxWidthTwips = 2500;
constexpr int kToolbarIconPixels = 16;

}  // namespace

MainWindow::MainWindow(AppState& state, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      settings_(settings),
      messages_(this, toQString(state.programTitle)),
      installedDataFolder_(state.installedDataFolder),
      urlOpener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setObjectName("frmHaupt");
  setWindowTitle(toQString(state.programTitle));
  setWindowIcon(treeIcon(std::string("A").append(std::to_string(state.edition.hostCode))));  // the edition's picture
  resize(twipsToPixels(kDesignWidthTwips), twipsToPixels(kDesignHeightTwips));
  // Enough for the toolbar beside the search box, the status bar and some code.
  setMinimumSize(twipsToPixels(kMinimumWidthTwips), twipsToPixels(kMinimumHeightTwips));
  keepInsideScreen(*this);

  commands_ = new CommandTable(menuBar(), state.edition, this);
  statusPanels_ = new StatusBar(this);
  statusPanels_->setFixedHeight(twipsToPixels(kBandHeightTwips));
  setStatusBar(statusPanels_);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(buildTopBand());
  panes_ = new WindowPanes(central);
  layout->addWidget(panes_, 1);
  setCentralWidget(central);

  // The history starts empty: nothing to step back or forward to.
  setHistoryBackEnabled(false);
  setHistoryForwardEnabled(false);
  connectFrameCommands();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::buildTopBand() {
  auto* band = new QWidget(this);
  band->setObjectName("oberesBand");
  band->setFixedHeight(twipsToPixels(kBandHeightTwips));
  auto* layout = new QHBoxLayout(band);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QToolBar* toolbar : {commands_->mainToolbar(), commands_->searchToolbar()}) {
    toolbar->setParent(band);
    toolbar->setIconSize(QSize(kToolbarIconPixels, kToolbarIconPixels));
    layout->addWidget(toolbar);
  }
  commands_->searchToolbar()->hide();
  layout->addStretch(1);
  searchBox_ = new QLineEdit(band);
  // Only a hint: it is no text to search for.
  searchBox_->setPlaceholderText(QStringLiteral("Text für Suche"));
  searchBox_->setObjectName("txtSuche");
  searchBox_->setFixedWidth(twipsToPixels(kSearchBoxWidthTwips));
  layout->addWidget(searchBox_);
  return band;
}

void MainWindow::connectFrameCommands() {
  const auto wire = [this](const QString& name, const std::function<void()>& operation) {
    QAction* action = commands_->action(name);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, operation);
  };
  wire(u"mnuEnde"_s, [this] { close(); });
  wire(u"mnuHilfe_Hilfe"_s, [this] { showHelp(); });
  wire(u"mnuExtras_Screen_define"_s, [this] { storeScreenPreset(); });
  wire(u"mnuExtras_Screen_call"_s, [this] { applyScreenPreset(); });
}

void MainWindow::setCommandState(CommandState state) {
  commands_->applyCommandState(state);
  codeLoaded_ = state != CommandState::kNoProject;
  if (!codeLoaded_) {
    statusPanels_->setText(StatusBar::kModulePanel, QStringLiteral("Modul"));
    statusPanels_->setText(StatusBar::kRoutinePanel, QStringLiteral("Routine"));
    statusPanels_->setText(StatusBar::kProgressPanel, QStringLiteral("Aktion"));
  }
}

void MainWindow::setHistoryBackEnabled(bool enabled) {
  statusPanels_->setPanelEnabled(StatusBar::kBackPanel, enabled);
  commands_->action(QStringLiteral("mnuBearbeiten_RouBew_3"))->setEnabled(enabled);
}

void MainWindow::setHistoryForwardEnabled(bool enabled) {
  statusPanels_->setPanelEnabled(StatusBar::kForwardPanel, enabled);
  commands_->action(QStringLiteral("mnuBearbeiten_RouBew_4"))->setEnabled(enabled);
}

void MainWindow::showCallListToolbar(const QString& routineName) {
  commands_->callListLabel()->setText(routineName);
  commands_->searchToolbar()->show();
}

void MainWindow::hideCallListToolbar() {
  commands_->searchToolbar()->hide();
  commands_->callListLabel()->clear();
}

void MainWindow::storeScreenPreset() {
  const Answer answer = messages_.question(QStringLiteral("Aktuelle Anzeigegrösse als Standard festlegen ?"),
                                           QuestionButtons::YesNo);
  if (answer != Answer::Yes) return;
  state_.display.screenPreset = toEngineText(screenPresetOf(*this));
  settings_.save(kOptionsSection, "bis", state_.display.screenPreset);
}

void MainWindow::applyScreenPreset() {
  cq::applyScreenPreset(*this, toQString(state_.display.screenPreset));
  // A preset stored on a larger screen is cut down to this one.
  keepInsideScreen(*this);
}

void MainWindow::showHelp() {
  if (const auto manual = findHelpManual(state_.programFolder, installedDataFolder_)) {
    if (!urlOpener_(QUrl::fromLocalFile(pathToQString(*manual)))) messages_.warning(unopenedHelpManualMessage(*manual));
    return;
  }
  messages_.plain(missingHelpManualMessage(state_.edition.abbreviation, state_.programFolder));
}

}  // namespace cq
