// The pictures of the toolbar buttons and menu items: every button but the
// spacer has one, the desktop theme's when it has the name, and a disabled
// button is drawn differently from an enabled one.
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

#include "app/edition.h"
#include "ui/commands/command_definitions.h"
#include "ui/commands/command_table.h"

namespace cq {

class CommandIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void buttonsAndMenusHaveThemedPicturesThatShowTheDisabledState() {
    QMainWindow owner;
    CommandTable table(owner.menuBar(), builtInEdition(), &owner);
    for (const ToolbarButtonDefinition& definition : mainToolbarDefinitions()) {
      QAction* button = table.toolbarButton(QString::fromUtf8(definition.key));
      QCOMPARE(button->icon().isNull(), *definition.command == '\0');
      if (*definition.themeIcon != '\0' && QIcon::hasThemeIcon(QString::fromUtf8(definition.themeIcon)))
        QCOMPARE(button->icon().name(), QString::fromUtf8(definition.themeIcon));
    }
    for (const char* name : {"mnuÖffnen", "mnuEnde", "mnuBearbeiten_RouBew_3", "mnuBearbeiten_RouBew_4",
                             "mnuExtras_Optionen", "mnuHilfe_Hilfe", "mnuHilfe_Info", "mnuAnsicht_Zoom"})
      QVERIFY2(!table.action(QString::fromUtf8(name))->icon().isNull(), name);
    QVERIFY(table.action(QStringLiteral("mnuAnsicht_Spezial"))->icon().isNull());

    QToolBar* toolbar = table.mainToolbar();
    toolbar->setIconSize(QSize(16, 16));
    owner.addToolBar(toolbar);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    for (const char* key : {"open", "su_a", "zoom"}) {
      QAction* button = table.toolbarButton(QString::fromUtf8(key));
      QWidget* widget = toolbar->widgetForAction(button);
      QVERIFY(!button->isEnabled());
      const QImage disabled = widget->grab().toImage();
      for (const ToolbarButtonDefinition& definition : mainToolbarDefinitions())
        if (QString::fromUtf8(definition.key) == QString::fromUtf8(key))
          table.action(QString::fromUtf8(definition.command))->setEnabled(true);
      QVERIFY(button->isEnabled());
      QVERIFY2(widget->grab().toImage() != disabled, key);
    }
  }
};

}  // namespace cq

QTEST_MAIN(cq::CommandIconsTest)
#include "command_icons_test.moc"
