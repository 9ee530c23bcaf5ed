#include "ui/compare/compare_window.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/text_boundary.h"
#include "compare/line_diff.h"
#include "projectfolder/compared_sources.h"
#include "render/markup.h"
#include "ui/code/code_view.h"
#include "ui/dialogs/document_filter.h"
#include "ui/message_presenter.h"
#include "ui/wait_cursor.h"

namespace cq {

namespace {

constexpr int kModuleRole = Qt::UserRole;
constexpr int kPieceRole = Qt::UserRole + 1;  // -1 on a module's own item

const QColor kRemovedLine(255, 220, 220);
const QColor kAddedLine(220, 245, 220);

QString changeCaption(Change change, bool whitespaceOnly) {
  QString caption = toQString(changeText(change));
  if (whitespaceOnly) caption += QStringLiteral(" (nur Leerraum)");
  return caption;
}

QString moduleCaption(const ModuleChange& module) {
  std::string caption = module.change == Change::kRenamed ? module.oldName + " -> " + module.newName
                        : module.newName.empty()          ? module.oldName
                                                          : module.newName;
  caption.append(" (").append(moduleTypeName(module.type)).append(")");
  return toQString(caption);
}

// The code in the view, coloured as the code views colour it, and the lines
// given with a background of their own.
void showCode(CodeView& view, const std::string& code, const std::vector<std::size_t>& markedLines,
              const QColor& background, const AppState& state) {
  view.setMarkedText(markUpSelection(code, state.display.markup), state.display.render);
  QList<QTextEdit::ExtraSelection> selections;
  for (std::size_t line : markedLines) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(view.document()->findBlockByNumber(static_cast<int>(line)));
    selection.format.setBackground(background);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selections.append(selection);
  }
  view.setExtraSelections(selections);
}

}  // namespace

CompareWindow::CompareWindow(QWidget* parent, const AppState& state, MessagePresenter& messages)
    : QWidget(parent, Qt::Window), state_(state), messages_(messages) {
  setObjectName(QStringLiteral("frmVergleich"));
  setWindowTitle(QStringLiteral("Projekte vergleichen"));
  auto* sources = new QGridLayout;
  older_ = sourceRow(QStringLiteral("Alt"), QStringLiteral("Ältere Quelle:"), sources, 0);
  newer_ = sourceRow(QStringLiteral("Neu"), QStringLiteral("Neuere Quelle:"), sources, 1);
  auto* compare = new QPushButton(QStringLiteral("&Vergleichen"));
  compare->setObjectName(QStringLiteral("cmdVergleichen"));
  compare->setDefault(true);
  connect(compare, &QPushButton::clicked, this, &CompareWindow::compareSources);
  sources->addWidget(compare, 0, 4, 2, 1);

  summary_ = new QLabel;
  summary_->setObjectName(QStringLiteral("lblVergleich"));
  tree_ = new QTreeWidget;
  tree_->setObjectName(QStringLiteral("treVergleich"));
  tree_->setHeaderLabels({QStringLiteral("Modul / Routine"), QStringLiteral("Änderung")});
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { showItem(item); });
  olderView_ = new CodeView;
  olderView_->setObjectName(QStringLiteral("rtbAlt"));
  newerView_ = new CodeView;
  newerView_->setObjectName(QStringLiteral("rtbNeu"));

  auto* codes = new QSplitter(Qt::Horizontal);
  codes->addWidget(olderView_);
  codes->addWidget(newerView_);
  auto* panes = new QSplitter(Qt::Horizontal);
  panes->addWidget(tree_);
  panes->addWidget(codes);
  panes->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sources);
  layout->addWidget(summary_);
  layout->addWidget(panes, 1);
  resize(1200, 700);
}

QLineEdit* CompareWindow::sourceRow(const QString& side, const QString& label, QGridLayout* grid, int row) {
  auto* field = new QLineEdit;
  field->setObjectName(QStringLiteral("txt") + side);
  auto* document = new QPushButton(QStringLiteral("Dokument ..."));
  document->setObjectName(QStringLiteral("cmd") + side + QStringLiteral("Dokument"));
  connect(document, &QPushButton::clicked, this, [this, field] { chooseDocument(field); });
  auto* folder = new QPushButton(QStringLiteral("Ordner ..."));
  folder->setObjectName(QStringLiteral("cmd") + side + QStringLiteral("Ordner"));
  connect(folder, &QPushButton::clicked, this, [this, field] { chooseFolder(field); });
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(document, row, 2);
  grid->addWidget(folder, row, 3);
  return field;
}

void CompareWindow::chooseDocument(QLineEdit* field) {
  const QStringList files = messages_.askFiles(QStringLiteral("Dokument zum Vergleichen öffnen"),
                                               pathToQString(state_.defaultProjectFolder), documentFileFilter());
  if (!files.isEmpty()) field->setText(files.front());
}

void CompareWindow::chooseFolder(QLineEdit* field) {
  const auto folder = messages_.askFolder(QStringLiteral("Ordner mit Moduldateien oder Projektordner wählen"),
                                          pathToQString(state_.defaultProjectFolder));
  if (folder) field->setText(*folder);
}

void CompareWindow::compareSources() {
  comparison_.reset();
  tree_->clear();
  olderView_->clearText();
  newerView_->clearText();
  summary_->clear();
  if (older_->text().trimmed().isEmpty() || newer_->text().trimmed().isEmpty()) {
    messages_.plain(QStringLiteral("Bitte zwei Quellen angeben."));
    return;
  }
  const WaitCursor waiting;
  const auto load = [&](const QLineEdit* field) {
    return loadComparedProject(qStringToPath(field->text().trimmed()), state_.display.moduleFileCodePage);
  };
  const Outcome<ComparedProject> older = load(older_);
  if (!older) return messages_.show(older.failure());
  const Outcome<ComparedProject> newer = load(newer_);
  if (!newer) return messages_.show(newer.failure());
  comparison_ = compareProjects(older.value(), newer.value());
  fillTree();
}

void CompareWindow::fillTree() {
  const std::vector<ModuleChange>& modules = comparison_->modules;
  summary_->setText(modules.empty() ? QStringLiteral("Beide Quellen enthalten denselben Code.")
                                    : QString::number(modules.size()) + QStringLiteral(" Module unterscheiden sich."));
  for (std::size_t i = 0; i < modules.size(); ++i) {
    auto* item = new QTreeWidgetItem(tree_, {moduleCaption(modules[i]),
                                             changeCaption(modules[i].change, modules[i].whitespaceOnly)});
    item->setData(0, kModuleRole, static_cast<int>(i));
    item->setData(0, kPieceRole, -1);
    for (std::size_t j = 0; j < modules[i].pieces.size(); ++j) {
      const PieceChange& piece = modules[i].pieces[j];
      auto* child =
          new QTreeWidgetItem(item, {toQString(piece.title), changeCaption(piece.change, piece.whitespaceOnly)});
      child->setData(0, kModuleRole, static_cast<int>(i));
      child->setData(0, kPieceRole, static_cast<int>(j));
    }
  }
  tree_->expandAll();
  if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

void CompareWindow::showItem(const QTreeWidgetItem* item) {
  if (!item || !comparison_) return;
  const ModuleChange& module = comparison_->modules[static_cast<std::size_t>(item->data(0, kModuleRole).toInt())];
  const int piece = item->data(0, kPieceRole).toInt();
  std::string older;
  std::string newer;
  for (std::size_t j = 0; j < module.pieces.size(); ++j) {
    if (piece >= 0 && static_cast<std::size_t>(piece) != j) continue;
    older += module.pieces[j].oldCode;
    newer += module.pieces[j].newCode;
  }
  const std::vector<std::string_view> oldLines = splitLines(older);
  const std::vector<std::string_view> newLines = splitLines(newer);
  std::vector<std::size_t> removed;
  std::vector<std::size_t> added;
  for (const LineEdit& edit : diffLines(oldLines, newLines)) {
    if (edit.kind == LineEditKind::kRemoved) removed.push_back(edit.oldLine);
    if (edit.kind == LineEditKind::kAdded) added.push_back(edit.newLine);
  }
  showCode(*olderView_, older, removed, kRemovedLine, state_);
  showCode(*newerView_, newer, added, kAddedLine, state_);
}

}  // namespace cq
