// Pictures of the main window for reviewers without a display, at the size it
// opens on the screen given (the whole screen too, so that its fit shows): the
// host view with the sample documents, a read project on a routine, the call
// list of a routine, and the zoom view;
// the toolbar before and after the read, with its buttons disabled and enabled;
// each page of the options dialog, the compact window, the about box and the
// system information; where the corpus is, the Japanese and the Russian
// project read whole, on a routine whose comments are in their script.
// Usage: cq-screenshots OUTPUT_FOLDER (run under Xvfb by `make screenshots`).
#include <QAction>
#include <QApplication>
#include <QPixmap>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "ui/about/about_box.h"
#include "ui/about/system_information.h"
#include "ui/commands/command_table.h"
#include "ui/compact/compact_window.h"
#include "ui/options/options_dialog.h"
#include "ui/main_window.h"
#include "ui/session/session.h"
#include "ui/window_panes.h"
#include "ui/trees/project_tree_view.h"
#include "ui/browse/project_browser.h"

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(QWidget& window, const fs::path& file, int scale = 1) {
  settle();
  QPixmap picture = window.grab();
  if (scale > 1) picture = picture.scaled(picture.size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  const bool saved = picture.save(QString::fromStdString(file.string()));
  std::printf("%s %s\n", saved ? "wrote" : "could not write", file.c_str());
  return saved;
}

// A window of its own on `document` read whole, showing `routine` of `module`.
bool saveReadDocument(cq::AppState& state, cq::SettingsStore& settings, const fs::path& document,
                      const QString& module, const QString& routine, const fs::path& file) {
  cq::MainWindow window(state, settings);
  cq::Session session(window, state, settings);
  session.start({cq::pathToQString(document)});
  window.show();
  window.findChild<QTreeWidget*>("treApp")->topLevelItem(0)->setCheckState(0, Qt::Checked);
  window.commands().action("mnuBearbeiten_Code")->trigger();
  QTreeWidgetItem* shown = nullptr;
  for (QTreeWidgetItem* item : window.panes().projectTree()->findItems(routine, Qt::MatchExactly | Qt::MatchRecursive))
    if (item->parent() && item->parent()->text(0) == module) shown = item;
  if (!shown) {
    std::fprintf(stderr, "%s has no routine %s\n", document.c_str(), routine.toUtf8().constData());
    session.shutdown();
    return false;
  }
  shown->parent()->setExpanded(true);  // the module's routines in the tree
  session.browser().projectTree().activate(shown);
  const bool saved = save(window, file);
  session.shutdown();
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: cq-screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const fs::path output = argv[1];
  const fs::path root = fs::temp_directory_path() / "codequorix-screenshots";
  fs::remove_all(root);
  cq::SettingsStore settings(root / "settings.ini");
  cq::AppState state;
  state.edition = cq::builtInEdition();
  state.programTitle = cq::programTitle(state.edition);
  state.programFolder = root / "program/";
  state.templateFile = CQ_TEMPLATE_PATH;
  state.temporaryFolder = root / "TempDateien/";
  state.defaultProjectFolder = root / "Projekte/";
  for (const fs::path& folder : {output, state.programFolder, state.temporaryFolder, state.defaultProjectFolder})
    fs::create_directories(folder);

  cq::MainWindow window(state, settings);
  cq::Session session(window, state, settings);
  const fs::path samples = fs::path(CQ_SOURCE_DIR) / "samples";
  session.start({QString::fromStdString((samples / "Lagerverwaltung" / "Lagerverwaltung.vbp").string()),
                 QString::fromStdString((samples / "Lagerverwaltung").string())});
  window.show();
  bool ok = save(window, output / "1-host-view.png");
  settle();
  const QPixmap screen = window.screen()->grabWindow(0);
  ok = screen.save(QString::fromStdString((output / "0-screen.png").string())) && ok;
  // The toolbar in the desktop's icon theme, twice the size: nothing read yet, so
  // most buttons are disabled.
  ok = save(*window.commands().mainToolbar(), output / "1-toolbar-disabled.png", 2) && ok;

  auto* hostTree = window.findChild<QTreeWidget*>("treApp");
  hostTree->topLevelItem(0)->setCheckState(0, Qt::Checked);
  window.commands().action("mnuBearbeiten_Code")->trigger();
  cq::ProjectTreeView& tree = session.browser().projectTree();
  if (QTreeWidgetItem* module = tree.nodeByKey("M1"); module && module->childCount() > 1) {
    tree.activate(module->child(1));
  }
  ok = save(window, output / "2-project.png") && ok;
  ok = save(*window.commands().mainToolbar(), output / "2-toolbar-enabled.png", 2) && ok;

  // The first routine that has callers, with its call list beside the toolbar.
  QTreeWidget* callList = window.panes().callListTree();
  for (int m = 0; m < window.panes().projectTree()->topLevelItemCount() && callList->topLevelItemCount() == 0; ++m) {
    QTreeWidgetItem* module = window.panes().projectTree()->topLevelItem(m);
    for (int r = 0; r < module->childCount() && callList->topLevelItemCount() == 0; ++r) {
      tree.activate(module->child(r));
      window.commands().action("mnuBearbeiten_Rout")->trigger();
    }
  }
  ok = callList->topLevelItemCount() > 0 && save(window, output / "2-call-list.png") && ok;
  window.commands().action("mnuAnsicht_RouClose")->trigger();

  window.commands().action("mnuAnsicht_Zoom")->trigger();
  ok = save(window, output / "3-zoom.png") && ok;

  cq::OptionsDialog options(state, settings, window.messages(), &window);
  options.show();
  auto* pages = options.findChild<QTabWidget*>("tbOptionen");
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    ok = save(options, output / ("4-options-" + std::to_string(page + 1) + ".png")) && ok;
  }
  // A long font name at a large size: the dialog keeps its size.
  auto* fontNames = options.findChild<QComboBox*>("cboSchriftArt");
  QString longest = fontNames->currentText();
  for (int i = 0; i < fontNames->count(); ++i)
    if (fontNames->itemText(i).size() > longest.size()) longest = fontNames->itemText(i);
  fontNames->setCurrentText(longest);
  options.findChild<QComboBox*>("cboSchriftGr")->setCurrentText(u"16"_s);
  ok = save(options, output / "4-options-4-font-changed.png") && ok;
  options.reject();

  cq::AboutBox about(state, window);
  about.show();
  ok = save(about, output / "6-about.png") && ok;
  about.findChild<QPushButton*>("cmdSysInfo")->click();
  auto* information = about.findChild<cq::SystemInfoDialog*>("frmSystemInfo");
  ok = information != nullptr && save(*information, output / "7-system-information.png") && ok;
  about.reject();

  window.commands().action("mnuAnsicht_Spezial")->trigger();
  ok = save(*session.compactView().window(), output / "5-compact-window.png") && ok;
  session.shutdown();

  const fs::path corpus = CQ_CORPUS_DIR;
  if (fs::is_directory(corpus)) {
    ok = saveReadDocument(state, settings, corpus / "RelaxTools__Hidennotare/hidennotare.xlsm", u"Sample"_s,
                          u"Message_Sample"_s, output / "8-japanese-project.png") && ok;
    ok = saveReadDocument(state, settings, corpus / "tkdesign__userfunc_ru/dist/userfunc_ru.xlam",
                          u"ЭтаКнига"_s, u"Workbook_Open"_s, output / "9-russian-project.png") && ok;
  }
  fs::remove_all(root);
  return ok ? 0 : 1;
}
