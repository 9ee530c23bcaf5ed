#include "ui/compact/compact_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/app_state.h"
#include "app/text_boundary.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonIconPixels = 32;

}  // namespace

CompactWindow::CompactWindow(MainWindow& mainWindow, const AppState& state)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setObjectName(u"frmMin"_s);
  // Over the other programs' windows, without taking the focus from them.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(toQString(state.programTitle));
  setWindowIcon(mainWindow.windowIcon());

  auto* layout = new QHBoxLayout(this);
  auto* html = new QPushButton(this);
  html->setObjectName(u"cmdHtml"_s);
  html->setIcon(mainWindow.commands().toolbarButton(u"ht_clip"_s)->icon());
  html->setIconSize(QSize(kButtonIconPixels, kButtonIconPixels));
  html->setText(u"&HTML"_s);
  html->setToolTip(u"Zwischenablage nach HTML"_s);
  auto* close = new QPushButton(u"&Zur\u00FCck"_s, this);
  close->setObjectName(u"cmdClose"_s);
  close->setToolTip(u"Schlie\u00DFt dieses Fenster und zeigt wieder das Hauptfenster"_s);
  layout->addWidget(html);
  layout->addWidget(close);
  setFixedSize(sizeHint());

  // The same conversion as the main window's "&Zwischenablage" in the HTML menu,
  // with its credit-line question and preview.
  connect(html, &QPushButton::clicked, this, [this] {
    // Its questions stand above this window, which stays above the others.
    const DialogOwnerScope ownedHere(mainWindow_.messages(), this);
    mainWindow_.commands().action(u"mnuHtml_Clipboard"_s)->trigger();
    mainWindow_.statusPanels().setText(StatusBar::kProgressPanel, {});
  });
  connect(close, &QPushButton::clicked, this, [this] {
    closedByButton_ = true;
    this->close();
  });
}

void CompactWindow::showEvent(QShowEvent* event) {
  closedByButton_ = false;
  QWidget::showEvent(event);
}

void CompactWindow::closeEvent(QCloseEvent* event) {
  // The main window is shown before this one goes, so the program does not
  // end for lack of a visible window. Closing the frame ends the program unless
  // the main window stays (an unsaved project the user keeps).
  if (closedByButton_) {
    if (!mainPlacement_.isEmpty()) mainWindow_.restoreGeometry(mainPlacement_);
    mainWindow_.show();
  } else if (!mainWindow_.close()) {
    event->ignore();
    return;
  }
  event->accept();
}

CompactView::CompactView(MainWindow& mainWindow, const AppState& state)
    : QObject(&mainWindow), mainWindow_(mainWindow), state_(state) {}

CompactView::~CompactView() = default;

void CompactView::show() {
  if (!window_) window_ = std::make_unique<CompactWindow>(mainWindow_, state_);
  // "Zurück" brings the main window back where it stood.
  window_->setMainPlacement(mainWindow_.isVisible() ? mainWindow_.saveGeometry() : QByteArray());
  mainWindow_.hide();
  window_->show();
}

}  // namespace cq
