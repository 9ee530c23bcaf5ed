#pragma once
// The options dialog `frmOptionen`: display settings and the default project
// folder on four tabs. Every opening starts from the state; OK writes the
// controls back into it and into the settings, "Abbrechen" leaves both alone.
// What changed takes effect at the next rendering or reading.
#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QVBoxLayout;

namespace cq {

struct AppState;
struct DisplaySettings;
class ColourFrame;
class MessagePresenter;
class SettingsStore;

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `messages` shows the folder and name dialogs of the folder buttons.
  OptionsDialog(AppState& state, SettingsStore& settings, MessagePresenter& messages, QWidget* parent);

  void accept() override;

 private:
  using FlagField = bool& (*)(DisplaySettings&);
  struct FlagBox {
    QCheckBox* box;
    FlagField field;
  };

  QWidget* buildDisplayPage();
  QWidget* buildFilesPage();
  QWidget* buildCodePage();
  QWidget* buildFormatsPage();
  QCheckBox* addFlag(QVBoxLayout* layout, const QString& name, const QString& caption, FlagField field,
                     const QString& toolTip = {});
  // The screen's fonts and the sizes 8 to 16, at the first visit of page 4.
  void fillFontLists();
  void showFontPreview();
  void chooseProjectFolder();
  void createProjectFolder();

  AppState& state_;
  SettingsStore& settings_;
  MessagePresenter& messages_;
  QTabWidget* tabs_ = nullptr;
  std::vector<FlagBox> flags_;
  QCheckBox* reindent_ = nullptr;
  QCheckBox* indentRoutineBodies_ = nullptr;
  QLineEdit* projectFolder_ = nullptr;
  QComboBox* fontName_ = nullptr;
  QComboBox* fontSize_ = nullptr;
  QComboBox* tabStop_ = nullptr;
  QComboBox* moduleFileCodePage_ = nullptr;
  QLabel* fontPreview_ = nullptr;
  ColourFrame* keywordColour_ = nullptr;
  ColourFrame* commentColour_ = nullptr;
  ColourFrame* stringColour_ = nullptr;
};

// "&Optionen": the dialog, modal, with the main window's messages.
void showOptionsDialog(AppState& state, SettingsStore& settings, MessagePresenter& messages, QWidget* parent);

}  // namespace cq
