#pragma once
// What the main window's commands are: menu items with caption and shortcut,
// toolbar buttons with key and tooltip, and the popup menus of the code view.
// The tables are data only; CommandTable turns them into actions.
#include <QStyle>
#include <span>

namespace cq {

enum class MenuId { File, Edit, View, Extras, Rtf, Html, PlainText, Help };

struct MenuDefinition {
  MenuId id;
  const char* name;  // objectName of the menu and of its menu action
  const char* caption;
};

struct CommandDefinition {
  const char* name;  // objectName of the action, UTF-8
  const char* caption;
  const char* shortcut;  // portable key text ("Ctrl+F3"), "" for none
  MenuId menu;
  bool separatorBefore = false;
  bool checkable = false;  // a switch that shows a check mark
  bool hidden = false;
};

struct ToolbarButtonDefinition {
  const char* key;        // objectName of the button's action
  const char* tooltip;    // "" for none
  const char* label;      // short text shown when the style has no picture
  const char* command;    // the command the button starts, "" for none
  const char* themeIcon;  // freedesktop icon name, "" for none
  // When the desktop has no icon theme; SP_CustomBase for no picture.
  QStyle::StandardPixmap fallbackIcon;
};

struct PopupItemDefinition {
  const char* name;
  const char* caption;
  const char* command;  // the command the item runs, "" for an operation of its own
  const char* submenu;  // name of the submenu that holds the item, "" for the popup itself
  bool separatorBefore = false;
};

struct PopupDefinition {
  const char* name;
  std::span<const PopupItemDefinition> items;
};

// Captions of the submenus used by the popup items.
struct SubmenuDefinition {
  const char* name;
  const char* caption;
};

inline constexpr int kRecentProjectSlots = 10;
inline constexpr const char* kRecentProjectPrefix = "mnuOpenIndex_";

std::span<const MenuDefinition> menuDefinitions();
// In menu order; the recent projects' slots are inserted before "mnuEnde".
std::span<const CommandDefinition> commandDefinitions();
std::span<const ToolbarButtonDefinition> mainToolbarDefinitions();
std::span<const ToolbarButtonDefinition> searchToolbarDefinitions();
std::span<const PopupDefinition> popupDefinitions();
std::span<const SubmenuDefinition> popupSubmenuDefinitions();

}  // namespace cq
