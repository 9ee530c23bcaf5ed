#include "ui/trees/tree_icons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidgetItem>

#include "app/text_boundary.h"

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
      {u"M1"_s, {QColor(0x3A, 0x7B, 0xD5), u"F"_s}}, {u"M2"_s, {QColor(0x4C, 0x9A, 0x2A), u"M"_s}},
      {u"M3"_s, {QColor(0xC0, 0x7A, 0x10), u"K"_s}}, {u"M4"_s, {QColor(0x80, 0x50, 0xB0), u"U"_s}},
      {u"M5"_s, {QColor(0x20, 0x8A, 0x8A), u"D"_s}}, {u"M6"_s, {QColor(0xB0, 0x40, 0x40), u"R"_s}},
      {u"M7"_s, {QColor(0x60, 0x60, 0x60), u"G"_s}}, {u"Fahne"_s, {QColor(0xD0, 0x30, 0x30), u"P"_s}},
      // The editions' window pictures: Excel, Word, Access, PowerPoint, Visual Basic.
      {u"A1"_s, {QColor(0x21, 0x73, 0x46), u"X"_s}}, {u"A2"_s, {QColor(0x2B, 0x57, 0x9A), u"W"_s}},
      {u"A3"_s, {QColor(0xA4, 0x37, 0x3A), u"A"_s}}, {u"A4"_s, {QColor(0xB7, 0x47, 0x2A), u"P"_s}},
      {u"A9"_s, {QColor(0x40, 0x40, 0x90), u"V"_s}}};
  if (const auto found = modules.find(key); found != modules.end()) return found.value();
  if (key.startsWith(u'R')) {
    const int kind = key.mid(1, key.indexOf(u'O') - 1).toInt();
    switch (kind) {
      case 1: return {QColor(0x1F, 0x5F, 0xBF), u"S"_s};
      case 2: return {QColor(0x2E, 0x8B, 0x57), u"F"_s};
      case 3: return {QColor(0xA0, 0x60, 0x20), u"L"_s};
      case 4: return {QColor(0xA0, 0x60, 0x20), u"G"_s};
      case 5: return {QColor(0xA0, 0x60, 0x20), u"S"_s};
      case 11: return {QColor(0x70, 0x70, 0x70), u"s"_s};
      case 12: return {QColor(0x70, 0x70, 0x70), u"f"_s};
      default: break;
    }
  }
  return {QColor(0x90, 0x90, 0x90), u"?"_s};
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
  const bool routine = key.startsWith(u'R');
  if (routine)
    painter.drawEllipse(QRectF(1, 1, 14, 14));
  else
    painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
  if (routine && key.endsWith(u"O2"_s)) {  // private
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(1, 1, 14, 14));
  }
  if (routine && key.endsWith(u"O3"_s)) {  // friend
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
  const QString key = toQString(imageKey);
  auto found = cache.find(key);
  if (found == cache.end()) found = cache.insert(key, drawIcon(key));
  return found.value();
}

}  // namespace cq
