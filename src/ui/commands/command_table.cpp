#include "ui/commands/command_table.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <stdexcept>

#include "app/text_boundary.h"
#include "ui/commands/command_icons.h"

namespace cq {

namespace {

// The commands the command state switches, all on together for a loaded
// project, and the two that only make sense without one.
constexpr const char* kProjectCommands[] = {
    "mnuBearbeiten_Definition",
    "mnuBearbeiten_Rout",
    "mnuRtf",
    "mnuText",
    "mnuSpeichern",
    "mnuHtml_Auswahl",
    "mnuHtml_Modul",
    "mnuHtml_projekt",
    "mnuNeu",
    "mnuAnsicht_Zoom",
    "mnuBearbeiten_Kopieren_Auswahl",
    "mnuBearbeiten_Kopieren_Modul",
    "mnuTest",
};
constexpr const char* kHostCommands[] = {"mnuBearbeiten_Code"};

}  // namespace

CommandTable::CommandTable(QMenuBar* menuBar, const Edition& edition, QWidget* owner) : QObject(owner) {
  buildMenus(menuBar);
  requireAction(QStringLiteral("mnuAnsicht_App_Aktualisieren"))
      ->setText(toQString(refreshCommandCaption(edition)));

  mainToolbar_ = buildToolbar("tobSymb1", mainToolbarDefinitions(), owner);
  searchToolbar_ = buildToolbar("tobSuche", searchToolbarDefinitions(), owner);
  callListLabel_ = new QLabel(searchToolbar_);
  callListLabel_->setObjectName("lblRoutSuche");
  searchToolbar_->addWidget(callListLabel_);
  searchToolbar_->hide();
  toolbarButton(QStringLiteral("refresh"))->setToolTip(toQString(refreshButtonTooltip(edition)));
  toolbarButton(QStringLiteral("blind"))->setVisible(false);

  buildPopups(owner);
}

void CommandTable::buildMenus(QMenuBar* menuBar) {
  QHash<int, QMenu*> menus;
  for (const MenuDefinition& definition : menuDefinitions()) {
    QMenu* menu = menuBar->addMenu(toQString(definition.caption));
    menu->setObjectName(toQString(definition.name));
    menu->menuAction()->setObjectName(toQString(definition.name));
    menus.insert(static_cast<int>(definition.id), menu);
    actions_.insert(menu->objectName(), menu->menuAction());
  }
  for (const CommandDefinition& definition : commandDefinitions()) {
    QMenu* menu = menus.value(static_cast<int>(definition.menu));
    if (definition.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(menuCommandIcon(definition.name, menuBar->style()), toQString(definition.caption));
    action->setObjectName(toQString(definition.name));
    action->setShortcut(QKeySequence(toQString(definition.shortcut), QKeySequence::PortableText));
    action->setCheckable(definition.checkable);
    action->setVisible(!definition.hidden);
    action->setEnabled(false);
    actions_.insert(action->objectName(), action);
  }
}

QToolBar* CommandTable::buildToolbar(const char* name, std::span<const ToolbarButtonDefinition> buttons,
                                     QWidget* owner) {
  auto* toolbar = new QToolBar(owner);
  toolbar->setObjectName(toQString(name));
  toolbar->setMovable(false);
  toolbar->setFloatable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const ToolbarButtonDefinition& definition : buttons) {
    QAction* button = toolbar->addAction(
        themedIcon(definition.themeIcon, definition.fallbackIcon, owner->style()), toQString(definition.label));
    button->setObjectName(toQString(definition.key));
    button->setToolTip(toQString(definition.tooltip));
    button->setEnabled(false);
    if (*definition.command != '\0') {
      QAction* command = requireAction(toQString(definition.command));
      button->setCheckable(command->isCheckable());  // switches show pressed while on
      follow(button, command);
    }
    toolbarButtons_.push_back(button);
  }
  return toolbar;
}

void CommandTable::buildPopups(QWidget* owner) {
  for (const PopupDefinition& popup : popupDefinitions()) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(toQString(popup.name));
    popups_.insert(menu->objectName(), menu);
    QHash<QString, QMenu*> submenus;
    for (const PopupItemDefinition& item : popup.items) {
      QMenu* target = menu;
      if (*item.submenu != '\0') {
        const QString submenuName = toQString(item.submenu);
        target = submenus.value(submenuName);
        if (target == nullptr) {
          QString caption;
          for (const SubmenuDefinition& submenu : popupSubmenuDefinitions()) {
            if (submenuName == toQString(submenu.name)) caption = toQString(submenu.caption);
          }
          target = menu->addMenu(caption);
          target->setObjectName(submenuName);
          target->menuAction()->setObjectName(submenuName);
          submenus.insert(submenuName, target);
        }
      }
      if (item.separatorBefore) target->addSeparator();
      QAction* action = target->addAction(toQString(item.caption));
      action->setObjectName(toQString(item.name));
      action->setEnabled(false);
      actions_.insert(action->objectName(), action);
      if (*item.command != '\0') follow(action, requireAction(toQString(item.command)));
    }
  }
}

void CommandTable::follow(QAction* follower, QAction* command) {
  auto showState = [follower, command] {
    follower->setEnabled(command->isEnabled());
    if (follower->isCheckable()) follower->setChecked(command->isChecked());
  };
  showState();
  connect(command, &QAction::changed, follower, showState);
  connect(command, &QAction::toggled, follower, showState);
  // A checkable button has already flipped its own state when `triggered`
  // arrives; the command's toggle then sets it to the command's state again.
  connect(follower, &QAction::triggered, command, [command] { command->trigger(); });
}

QAction* CommandTable::requireAction(const QString& name) const {
  QAction* found = actions_.value(name);
  if (found == nullptr) throw std::logic_error("no command " + toEngineText(name));
  return found;
}

QAction* CommandTable::action(const QString& name) const { return actions_.value(name); }

QAction* CommandTable::toolbarButton(const QString& key) const {
  for (QAction* button : toolbarButtons_) {
    if (button->objectName().compare(key, Qt::CaseInsensitive) == 0) return button;
  }
  return nullptr;
}

QAction* CommandTable::recentProjectSlot(int index) const {
  if (index < 0 || index >= kRecentProjectSlots) return nullptr;
  return action(toQString(kRecentProjectPrefix) + QString::number(index));
}

QMenu* CommandTable::popupMenu(const QString& name) const { return popups_.value(name); }

void CommandTable::applyCommandState(CommandState state) {
  const bool projectLoaded = state != CommandState::kNoProject;
  for (const char* name : kProjectCommands) requireAction(toQString(name))->setEnabled(projectLoaded);
  for (const char* name : kHostCommands) requireAction(toQString(name))->setEnabled(!projectLoaded);
}

}  // namespace cq
