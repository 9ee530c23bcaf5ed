#pragma once
// "&Struktur nach Zwischenablage": the outline of the tree in the left pane as
// indented text on the clipboard.
class QTreeWidget;
class QString;

namespace cq {

class MainWindow;

// Every top-level node's text on a line of its own, each followed by its direct
// children's texts one tab in; deeper nodes are left out. Lines end in CR LF.
QString treeOutline(const QTreeWidget& tree);

// Puts the outline of the tree shown in the left pane (the host tree while the
// host's status text stands in its place) on the clipboard; with `confirm`
// ("meld") says so afterwards.
void copyShownTreeStructure(MainWindow& window, bool confirm);

}  // namespace cq
