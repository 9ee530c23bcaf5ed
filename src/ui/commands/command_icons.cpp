#include "ui/commands/command_icons.h"

#include <QDir>
#include <QString>
#include <array>

#include "ui/commands/command_definitions.h"

namespace cq {

namespace {

struct MenuIconDefinition {
  const char* command;
  const char* themeName;
  const char* alternativeName;  // for themes that use the other common name, "" for none
  QStyle::StandardPixmap fallback;
};

// Menu commands without a toolbar button; the others show their button's picture.
constexpr std::array kMenuIcons{
    MenuIconDefinition{"mnuDokumentOeffnen", "document-import", "x-office-document", QStyle::SP_FileIcon},
    MenuIconDefinition{"mnuOrdnerOeffnen", "folder-open", "", QStyle::SP_DirOpenIcon},
    MenuIconDefinition{"mnuEnde", "application-exit", "", QStyle::SP_DialogCloseButton},
    MenuIconDefinition{"mnuBearbeiten_RouBew_3", "go-previous", "", QStyle::SP_ArrowBack},
    MenuIconDefinition{"mnuBearbeiten_RouBew_4", "go-next", "", QStyle::SP_ArrowForward},
    MenuIconDefinition{"mnuBearbeiten_Definition", "go-jump", "", QStyle::SP_ArrowRight},
    MenuIconDefinition{"mnuBearbeiten_Kopieren_Modul", "edit-copy", "", QStyle::SP_FileDialogContentsView},
    MenuIconDefinition{"mnuBearbeiten_Kopieren_Auswahl", "edit-copy", "", QStyle::SP_FileDialogContentsView},
    MenuIconDefinition{"mnuExtras_Optionen", "configure", "preferences-system", QStyle::SP_FileDialogDetailedView},
    MenuIconDefinition{"mnuExtras_ClearClip", "edit-clear", "", QStyle::SP_DialogResetButton},
    MenuIconDefinition{"mnuHilfe_Hilfe", "help-contents", "", QStyle::SP_DialogHelpButton},
    MenuIconDefinition{"mnuHilfe_Info", "help-about", "", QStyle::SP_MessageBoxInformation},
};

// Themes that carry the freedesktop action icons, tried when the desktop names
// no theme of its own (a bare X server, the offscreen platform).
constexpr const char* kCommonThemes[] = {"Adwaita", "breeze", "oxygen", "Tango", "gnome"};

bool themeInstalled(const QString& name) {
  for (const QString& folder : QIcon::themeSearchPaths())
    if (QDir(folder).exists(name + QStringLiteral("/index.theme"))) return true;
  return false;
}

void chooseFallbackTheme() {
  static const bool chosen = [] {
    const QString desktopTheme = QIcon::themeName();
    if (!desktopTheme.isEmpty() && desktopTheme != QStringLiteral("hicolor")) return true;
    for (const char* theme : kCommonThemes) {
      const QString name = QString::fromUtf8(theme);
      if (!themeInstalled(name)) continue;
      QIcon::setFallbackThemeName(name);
      return true;
    }
    return false;
  }();
  (void)chosen;
}

}  // namespace

QIcon themedIcon(const char* themeName, QStyle::StandardPixmap fallback, const QStyle* style) {
  chooseFallbackTheme();
  if (*themeName != '\0') {
    const QIcon themed = QIcon::fromTheme(QString::fromUtf8(themeName));
    if (!themed.isNull()) return themed;
  }
  if (fallback == QStyle::SP_CustomBase) return {};
  return style->standardIcon(fallback);
}

QIcon menuCommandIcon(std::string_view command, const QStyle* style) {
  chooseFallbackTheme();
  for (const ToolbarButtonDefinition& button : mainToolbarDefinitions())
    if (command == button.command) return themedIcon(button.themeIcon, button.fallbackIcon, style);
  for (const MenuIconDefinition& entry : kMenuIcons) {
    if (command != entry.command) continue;
    if (*entry.alternativeName != '\0' && !QIcon::hasThemeIcon(QString::fromUtf8(entry.themeName)))
      return themedIcon(entry.alternativeName, entry.fallback, style);
    return themedIcon(entry.themeName, entry.fallback, style);
  }
  return {};
}

}  // namespace cq
