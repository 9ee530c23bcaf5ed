#include "ui/options/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/app_state.h"
#include "app/display_settings.h"
#include "sources/module_file_encoding.h"
#include "sources/vba/code_page.h"
#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "text/path_text.h"
#include "ui/message_presenter.h"
#include "ui/options/colour_frame.h"
#include "ui/twips.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

// The code pages the VBA editor writes module files in, and UTF-8 from other tools.
constexpr int kOfferedCodePages[] = {1252, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258,
                                     874,  932,  936,  949,  950,  65001, 10000};

constexpr int kPageWidthTwips = 5835;
constexpr int kPageHeightTwips = 3315;
constexpr int kFormatsPage = 3;
constexpr int kSmallestTabStop = 3;
constexpr int kLargestTabStop = 20;
constexpr int kFallbackTabStop = 5;
constexpr int kSmallestListedFontSize = 8;
constexpr int kLargestListedFontSize = 16;
constexpr int kLargestFontSize = 999;
// The font row keeps its widths whatever font is chosen, so the dialog never
// grows under the mouse.
constexpr int kFontNameWidthTwips = 2700;
constexpr int kFontSizeWidthTwips = 900;
constexpr int kFontPreviewWidthTwips = 2400;
constexpr int kFontPreviewHeightTwips = 600;

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
  auto* created = new QPushButton(caption, parent);
  created->setObjectName(name);
  return created;
}

QLineEdit* textBox(const QString& name, QWidget* parent) {
  auto* created = new QLineEdit(parent);
  created->setObjectName(name);
  return created;
}

QComboBox* comboBox(const QString& name, bool editable, QWidget* parent) {
  auto* created = new QComboBox(parent);
  created->setObjectName(name);
  created->setEditable(editable);
  return created;
}

QString lineBreak() { return u"\r\n"_s; }

}  // namespace

OptionsDialog::OptionsDialog(AppState& state, SettingsStore& settings, MessagePresenter& messages, QWidget* parent)
    : QDialog(parent), state_(state), settings_(settings), messages_(messages) {
  setObjectName(u"frmOptionen"_s);
  setWindowTitle(u"Optionen"_s);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(u"tbOptionen"_s);
  const struct {
    QWidget* page;
    QString caption;
    QString toolTip;
  } pages[] = {{buildDisplayPage(), u"&Anzeige"_s, u"Anzeige"_s},
               {buildFilesPage(), u"&Dateien"_s, u"Dateiablage"_s},
               {buildCodePage(), u"&Code"_s, u"Code"_s},
               {buildFormatsPage(), u"&Formate"_s, u"Formate"_s}};
  int index = 0;
  for (const auto& page : pages) {
    page.page->setObjectName(u"fraOptionen_%1"_s.arg(index + 1));
    page.page->setMinimumSize(twipsToPixels(kPageWidthTwips), twipsToPixels(kPageHeightTwips));
    tabs_->addTab(page.page, page.caption);
    tabs_->setTabToolTip(index++, page.toolTip);
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page == kFormatsPage && fontName_->count() == 0) fillFontLists();
  });
  layout->addWidget(tabs_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(u"cmdOK"_s);
  ok->setText(u"OK"_s);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(u"cmdEscape"_s);
  cancel->setText(u"Abbrechen"_s);
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (const FlagBox& flag : flags_) flag.box->setChecked(flag.field(state_.display));
  indentRoutineBodies_->setEnabled(reindent_->isChecked());
}

QCheckBox* OptionsDialog::addFlag(QVBoxLayout* layout, const QString& name, const QString& caption,
                                  FlagField field, const QString& toolTip) {
  auto* box = new QCheckBox(caption, layout->parentWidget());
  box->setObjectName(name);
  box->setToolTip(toolTip);
  layout->addWidget(box);
  if (field != nullptr) flags_.push_back({box, field});
  return box;
}

QWidget* OptionsDialog::buildDisplayPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  addFlag(layout, u"chkUserBild"_s, u"Beim Start Benutzer Bildschirm Anwenden"_s,
          [](DisplaySettings& s) -> bool& { return s.applyScreenPreset; });
  addFlag(layout, u"chkVorschau"_s, u"Vorschau Html "_s, [](DisplaySettings& s) -> bool& { return s.htmlPreview; });
  // The project export always writes the module headings, so this stays on and fixed.
  QCheckBox* moduleNames = addFlag(layout, u"chkModulnamen"_s, u"Modulnamen bei Projektexport"_s, nullptr,
                                   u"Der Projektexport schreibt die Modulnamen immer"_s);
  moduleNames->setChecked(true);
  moduleNames->setEnabled(false);
  addFlag(layout, u"chkMeldung"_s, u"Meldung nach Clip"_s,
          [](DisplaySettings& s) -> bool& { return s.confirmClipboardCopy; },
          u"Meldung nach Transport in die Zwischenablage ausgeben"_s);
  addFlag(layout, u"chkAufgeklappt"_s, u"Modulliste aufgeklappt"_s,
          [](DisplaySettings& s) -> bool& { return s.expandProjectTree; },
          u"Zeigt alle Eintr\u00E4ge im linken Fenster"_s);
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::buildFilesPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  auto* folderFrame = new QGroupBox(u"Standard Verzeichnis"_s, page);
  folderFrame->setObjectName(u"fraStandartProjektVerzeichnis"_s);
  auto* folderLayout = new QVBoxLayout(folderFrame);
  projectFolder_ = textBox(u"txtSpeichern"_s, folderFrame);
  projectFolder_->setText(pathToQString(state_.defaultProjectFolder));
  folderLayout->addWidget(projectFolder_);
  auto* folderButtons = new QHBoxLayout;
  QPushButton* change = button(u"cmdSpeichern\u00C4ndern"_s, u"\u00C4ndern ..."_s, folderFrame);
  QPushButton* create = button(u"cmdNeu"_s, u"Neu..."_s, folderFrame);
  create->setToolTip(u"Neuen Ordner anlegen"_s);
  folderButtons->addWidget(change);
  folderButtons->addWidget(create);
  folderButtons->addStretch(1);
  folderLayout->addLayout(folderButtons);
  addFlag(folderLayout, u"chkStandardImmer"_s, u"Immer benutzen"_s,
          [](DisplaySettings& s) -> bool& { return s.alwaysUseProjectFolder; });
  connect(change, &QPushButton::clicked, this, &OptionsDialog::chooseProjectFolder);
  connect(create, &QPushButton::clicked, this, &OptionsDialog::createProjectFolder);
  layout->addWidget(folderFrame);

  // Module files carry no code page; a folder whose detection goes wrong is read in the one chosen here.
  auto* encodingFrame = new QGroupBox(u"Zeichensatz der Moduldateien"_s, page);
  encodingFrame->setObjectName(u"fraZeichensatz"_s);
  auto* encodingLayout = new QHBoxLayout(encodingFrame);
  moduleFileCodePage_ = comboBox(u"cboZeichensatz"_s, false, encodingFrame);
  moduleFileCodePage_->setToolTip(
      u"Automatisch: erkannt aus den Moduldateien eines Projekts zusammen; sonst die gewählte Codepage"_s);
  moduleFileCodePage_->addItem(u"Automatisch"_s, kDetectCodePage);
  for (const int codePage : kOfferedCodePages)
    moduleFileCodePage_->addItem(toQString(codePageName(codePage)), codePage);
  const int chosen = moduleFileCodePage_->findData(state_.display.moduleFileCodePage);
  moduleFileCodePage_->setCurrentIndex(chosen >= 0 ? chosen : 0);
  encodingLayout->addWidget(moduleFileCodePage_, 1);
  layout->addWidget(encodingFrame);

  // The information database is not part of this program: shown, but not to be changed.
  auto* infoFrame = new QGroupBox(u"Infodatenbank"_s, page);
  infoFrame->setObjectName(u"fraInfoDatenbank"_s);
  auto* infoLayout = new QHBoxLayout(infoFrame);
  QLineEdit* info = textBox(u"txtInfo"_s, infoFrame);
  QPushButton* infoChange = button(u"cmdVB\u00C4ndern"_s, u"\u00C4ndern ..."_s, infoFrame);
  info->setEnabled(false);
  infoChange->setEnabled(false);
  infoLayout->addWidget(info, 1);
  infoLayout->addWidget(infoChange);
  layout->addWidget(infoFrame);
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::buildCodePage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  addFlag(layout, u"chkRoutLeer"_s, u"Leerzeile vor Routinen einf\u00FCgen"_s,
          [](DisplaySettings& s) -> bool& { return s.markup.blankLineBeforeRoutines; });
  indentRoutineBodies_ = addFlag(layout, u"chkRouEinruecken"_s, u"Zwischen Routinen Einr\u00FCcken"_s,
                                 [](DisplaySettings& s) -> bool& { return s.markup.indentRoutineBodies; });
  reindent_ = addFlag(layout, u"chkEinrueck"_s, u"Einr\u00FCcken"_s,
                      [](DisplaySettings& s) -> bool& { return s.markup.reindent; });
  addFlag(layout, u"chkLeer"_s, u"Leerzeilen entfernen"_s,
          [](DisplaySettings& s) -> bool& { return s.markup.removeEmptyLines; });
  // Routine bodies are indented only together with the re-indentation; the
  // check mark stays as it is.
  connect(reindent_, &QCheckBox::toggled, indentRoutineBodies_, &QWidget::setEnabled);
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::buildFormatsPage() {
  const RenderOptions& render = state_.display.render;
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  // The lists are filled at the first visit of this page; their texts come from
  // the settings now, so OK without that visit keeps the font.
  auto* fontRow = new QHBoxLayout;
  fontName_ = comboBox(u"cboSchriftArt"_s, true, page);
  fontName_->setEditText(toQString(render.fontName));
  fontName_->setFixedWidth(twipsToPixels(kFontNameWidthTwips));
  fontSize_ = comboBox(u"cboSchriftGr"_s, true, page);
  fontSize_->setFixedWidth(twipsToPixels(kFontSizeWidthTwips));
  fontSize_->setValidator(new QIntValidator(1, kLargestFontSize, fontSize_));
  fontSize_->setEditText(QString::number(render.fontSize));
  fontPreview_ = new QLabel(u"Standardschrift Normal"_s, page);
  fontPreview_->setObjectName(u"lblSchrift"_s);
  fontPreview_->setFixedSize(twipsToPixels(kFontPreviewWidthTwips), twipsToPixels(kFontPreviewHeightTwips));
  fontRow->addWidget(fontName_);
  fontRow->addWidget(fontSize_);
  fontRow->addWidget(fontPreview_, 1);
  layout->addLayout(fontRow);
  connect(fontName_, &QComboBox::currentTextChanged, this, &OptionsDialog::showFontPreview);
  connect(fontSize_, &QComboBox::currentTextChanged, this, &OptionsDialog::showFontPreview);
  showFontPreview();

  auto* tabRow = new QHBoxLayout;
  tabStop_ = comboBox(u"cboTabStop"_s, false, page);
  for (int width = kSmallestTabStop; width <= kLargestTabStop; ++width) tabStop_->addItem(QString::number(width));
  const bool tabInRange = render.tabWidthMm >= kSmallestTabStop && render.tabWidthMm <= kLargestTabStop;
  tabStop_->setCurrentText(QString::number(tabInRange ? render.tabWidthMm : kFallbackTabStop));
  auto* tabLabel = new QLabel(u"Tabstops in mm"_s, page);
  tabLabel->setObjectName(u"lblTabStop"_s);
  tabRow->addWidget(tabStop_);
  tabRow->addWidget(tabLabel);
  tabRow->addStretch(1);
  auto* flagColumn = new QVBoxLayout;
  addFlag(flagColumn, u"chkRoutinen"_s, u"Routinen Fett"_s,
          [](DisplaySettings& s) -> bool& { return s.render.boldRoutineLines; },
          u"Die erste Zeile einer Routine kursiv "_s);
  tabRow->addLayout(flagColumn);
  layout->addLayout(tabRow);

  auto* colourRow = new QHBoxLayout;
  keywordColour_ = new ColourFrame(u"fraKeyfarbe"_s, u"Schl\u00FCsselwortfarbe"_s, ColourKind::Keyword,
                                   render.keywordColour, page);
  commentColour_ = new ColourFrame(u"fraKomFarbe"_s, u"Kommentarfarbe"_s, ColourKind::Comment,
                                   render.commentColour, page);
  stringColour_ =
      new ColourFrame(u"fraStringFarbe"_s, u"Stringfarbe"_s, ColourKind::String, render.stringColour, page);
  for (ColourFrame* frame : {keywordColour_, commentColour_, stringColour_}) colourRow->addWidget(frame);
  layout->addLayout(colourRow);
  layout->addStretch(1);
  return page;
}

void OptionsDialog::fillFontLists() {
  const QString name = fontName_->currentText();
  const QString size = fontSize_->currentText();
  fontName_->addItems(QFontDatabase::families());
  for (int points = kSmallestListedFontSize; points <= kLargestListedFontSize; ++points)
    fontSize_->addItem(QString::number(points));
  fontName_->setEditText(name);
  fontSize_->setEditText(size);
}

void OptionsDialog::showFontPreview() {
  const QString name = fontName_->currentText();
  const int size = wholeNumber16(toEngineText(fontSize_->currentText()));
  if (name.isEmpty() || size <= 0) return;
  QFont font(name);
  font.setPointSize(size);
  fontPreview_->setFont(font);
}

void OptionsDialog::chooseProjectFolder() {
  if (const auto folder =
          messages_.askFolder(u"Bitte Standardordner f\u00FCr Projekte ausw\u00E4hlen"_s, projectFolder_->text()))
    projectFolder_->setText(*folder);
}

void OptionsDialog::createProjectFolder() {
  const auto parent = messages_.askFolder(
      u"Bitte Verzeichnis ausw\u00E4hlen,"_s + lineBreak() + u"in welchem der neue Ordner erzeugt werden soll"_s,
      projectFolder_->text());
  if (!parent) return;
  const auto answer = messages_.askText(u"Namen f\u00FCr neuen Ordner angeben"_s, u"Neuer Ordner"_s, {});
  if (!answer) return;
  // A folder name, not engine text: cleaned as UTF-8, whose multi-byte characters
  // never hold the nine ASCII characters removed, so every other character stays.
  std::string name = answer->trimmed().toStdString();
  removeForbiddenNameCharacters(name);
  if (name.empty()) return;
  // The folder arrives ending in "/".
  const QString folder = *parent + systemTextToQString(name);
  projectFolder_->setText(folder);
  std::error_code error;
  const std::filesystem::path path = qStringToPath(folder);
  std::filesystem::create_directories(path, error);
  // A folder that is there already is what the user wanted; any other failure is said.
  if (error && !std::filesystem::is_directory(path)) {
    messages_.warning(u"Der Ordner"_s + lineBreak() + folder + lineBreak() + u"konnte nicht angelegt werden: "_s +
                      toQString(systemErrorText(error)));
  }
}

void OptionsDialog::accept() {
  settings_.save("proj", "proj_pf", projectFolder_->text().toStdString());
  // Read back as the start reads it: a text of one character or none means the home folder.
  state_.defaultProjectFolder = defaultProjectFolder(settings_);

  DisplaySettings& display = state_.display;
  display.render.keywordColour = keywordColour_->colour();
  display.render.commentColour = commentColour_->colour();
  display.render.stringColour = stringColour_->colour();
  if (!fontName_->currentText().isEmpty()) display.render.fontName = toEngineText(fontName_->currentText());
  if (!fontSize_->currentText().isEmpty())
    display.render.fontSize = wholeNumber16(toEngineText(fontSize_->currentText()));
  display.render.tabWidthMm = wholeNumber16(toEngineText(tabStop_->currentText()));
  for (const FlagBox& flag : flags_) flag.field(display) = flag.box->isChecked();
  display.moduleFileCodePage = moduleFileCodePage_->currentData().toInt();
  saveDisplaySettings(settings_, display);
  QDialog::accept();
}

void showOptionsDialog(AppState& state, SettingsStore& settings, MessagePresenter& messages, QWidget* parent) {
  OptionsDialog dialog(state, settings, messages, parent);
  dialog.exec();
}

}  // namespace cq
