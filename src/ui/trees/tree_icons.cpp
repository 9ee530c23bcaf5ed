#include "ui/trees/tree_icons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidgetItem>

namespace cq {

using namespace Qt::StringLiterals;

namespace {

struct Look {
  QColor fill;
  QString letter;
};

// Modules: a coloured square with the kind's initial. Routines: a round badge,
// its colour telling the kind, a ring for private and a dot for friend routines.
Look lookOf(const QString& key) {
  static const QHash<QString, Look> modules = {
      {"M1", {QColor(0x3A, 0x7B, 0xD5), "F"}}, {"M2", {QColor(0x4C, 0x9A, 0x2A), "M"}},
      {"M3", {QColor(0xC0, 0x7A, 0x10), "K"}}, {"M4", {QColor(0x80, 0x50, 0xB0), "U"}},
      {"M5", {QColor(0x20, 0x8A, 0x8A), "D"}}, {"M6", {QColor(0xB0, 0x40, 0x40), "R"}},
      {"M7", {QColor(0x60, 0x60, 0x60), "G"}}, {"Fahne", {QColor(0xD0, 0x30, 0x30), "P"}},
      // The editions' window pictures: Excel, Word, Access, PowerPoint, Visual Basic.
      {"A1", {QColor(0x21, 0x73, 0x46), "X"}}, {"A2", {QColor(0x2B, 0x57, 0x9A), "W"}},
      {"A3", {QColor(0xA4, 0x37, 0x3A), "A"}}, {"A4", {QColor(0xB7, 0x47, 0x2A), "P"}},
      {"A9", {QColor(0x40, 0x40, 0x90), "V"}}};
  if (const auto found = modules.find(key); found != modules.end()) return found.value();
  if (key.startsWith('R')) {
    const int kind = key.mid(1, key.indexOf('O') - 1).toInt();
    switch (kind) {
      case 1: return {QColor(0x1F, 0x5F, 0xBF), "S"};
      case 2: return {QColor(0x2E, 0x8B, 0x57), "F"};
      case 3: return {QColor(0xA0, 0x60, 0x20), "L"};
      case 4: return {QColor(0xA0, 0x60, 0x20), "G"};
      case 5: return {QColor(0xA0, 0x60, 0x20), "S"};
      case 11: return {QColor(0x70, 0x70, 0x70), "s"};
      case 12: return {QColor(0x70, 0x70, 0x70), "f"};
      default: break;
    }
  }
  return {QColor(0x90, 0x90, 0x90), "?"};
}

// A yellow warning triangle with a black "!".
void drawWarning(QPainter& painter) {
  const QPointF corners[] = {{8, 1}, {15, 14.5}, {1, 14.5}};
  painter.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
  painter.setBrush(QColor(0xF5, 0xC2, 0x11));
  painter.drawPolygon(corners, 3);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(QPointF(8, 5.5), QPointF(8, 10));
  painter.drawPoint(QPointF(8, 12.5));
}

QIcon drawIcon(const QString& key) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  if (key == u"Warnung"_s) {
    drawWarning(painter);
    return QIcon(pixmap);
  }
  const Look look = lookOf(key);
  painter.setPen(Qt::NoPen);
  painter.setBrush(look.fill);
  const bool routine = key.startsWith('R');
  if (routine)
    painter.drawEllipse(QRectF(1, 1, 14, 14));
  else
    painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
  if (routine && key.endsWith("O2")) {  // private
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(1, 1, 14, 14));
  }
  if (routine && key.endsWith("O3")) {  // friend
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::yellow);
    painter.drawEllipse(QRectF(11, 0, 5, 5));
  }
  QFont font = painter.font();
  font.setPixelSize(10);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, look.letter);
  return QIcon(pixmap);
}

}  // namespace

void setNodeText(QTreeWidgetItem* item, const QString& text) {
  item->setText(0, text);
  item->setToolTip(0, text);
}

QIcon treeIcon(const std::string& imageKey) {
  static QHash<QString, QIcon> cache;
  const QString key = QString::fromStdString(imageKey);
  auto found = cache.find(key);
  if (found == cache.end()) found = cache.insert(key, drawIcon(key));
  return found.value();
}

}  // namespace cq
