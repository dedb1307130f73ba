#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace qm::ui {

namespace {

constexpr int kIconSize = 32;

void DrawFolder(QPainter& p) {
  p.setPen(QPen(QColor(120, 90, 20), 1.5));
  p.setBrush(QColor(240, 200, 90));
  QPainterPath back;
  back.moveTo(3, 8);
  back.lineTo(12, 8);
  back.lineTo(14, 11);
  back.lineTo(27, 11);
  back.lineTo(27, 26);
  back.lineTo(3, 26);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(250, 220, 120));
  QPolygonF front;
  front << QPointF(3, 26) << QPointF(7, 15) << QPointF(30, 15) << QPointF(27, 26);
  p.drawPolygon(front);
}

void DrawDisk(QPainter& p) {
  p.setPen(QPen(QColor(20, 40, 90), 1.5));
  p.setBrush(QColor(60, 100, 180));
  p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
  p.setBrush(QColor(235, 235, 235));
  p.drawRect(QRectF(9, 5, 14, 9));
  p.setBrush(QColor(30, 50, 100));
  p.drawRect(QRectF(18, 6.5, 3, 6));
  p.setBrush(QColor(250, 250, 250));
  p.drawRect(QRectF(8, 18, 16, 9));
}

void DrawPrinter(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 3, 14, 10));
  p.setBrush(QColor(170, 170, 170));
  p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 19, 14, 10));
  p.setPen(QPen(QColor(120, 120, 120), 1));
  p.drawLine(QPointF(11, 23), QPointF(21, 23));
  p.drawLine(QPointF(11, 26), QPointF(19, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 200, 60));
  p.drawEllipse(QPointF(25, 15.5), 1.5, 1.5);
}

void DrawSmallRadio(QPainter& p, QRectF r) {
  p.setPen(QPen(QColor(30, 30, 30), 1.2));
  p.setBrush(QColor(70, 70, 70));
  p.drawRect(QRectF(r.left() + r.width() * 0.6, r.top(), r.width() * 0.14, r.height() * 0.3));
  p.setBrush(QColor(45, 45, 45));
  QRectF body(r.left(), r.top() + r.height() * 0.25, r.width(), r.height() * 0.75);
  p.drawRoundedRect(body, 2, 2);
  p.setBrush(QColor(150, 210, 160));
  p.drawRect(QRectF(body.left() + body.width() * 0.15, body.top() + body.height() * 0.12,
                    body.width() * 0.7, body.height() * 0.25));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(180, 180, 180));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      p.drawEllipse(QPointF(body.left() + body.width() * (0.32 + 0.36 * x),
                            body.top() + body.height() * (0.58 + 0.22 * y)),
                    body.width() * 0.1, body.width() * 0.1);
}

void DrawMonitor(QPainter& p, QRectF r) {
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.72));
  p.setBrush(QColor(90, 150, 220));
  p.drawRect(QRectF(r.left() + 2, r.top() + 2, r.width() - 4, r.height() * 0.72 - 4));
  p.setBrush(QColor(160, 160, 160));
  p.drawRect(QRectF(r.center().x() - r.width() * 0.25, r.bottom() - r.height() * 0.12,
                    r.width() * 0.5, r.height() * 0.12));
}

// A broad arrow from `from` to `to` on a horizontal line, outlined in white so it stands out
// over the devices it joins.
void DrawTransferArrow(QPainter& p, qreal fromX, qreal toX, qreal y, QRgb color) {
  const qreal dir = toX > fromX ? 1 : -1;
  const qreal headLength = 8;
  const qreal shaft = 3;  // half the shaft's height
  const qreal head = 7;   // half the head's height
  const qreal neck = toX - dir * headLength;
  QPolygonF arrow;
  arrow << QPointF(fromX, y - shaft) << QPointF(neck, y - shaft) << QPointF(neck, y - head)
        << QPointF(toX, y) << QPointF(neck, y + head) << QPointF(neck, y + shaft)
        << QPointF(fromX, y + shaft);
  p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(QColor(color));
  p.drawPolygon(arrow);
}

// The radio on the left and the computer on the right, in both transfer pictures, so that
// only the arrow tells the direction.
void DrawTransfer(QPainter& p, bool toRadio) {
  DrawSmallRadio(p, QRectF(1, 2, 11, 28));
  DrawMonitor(p, QRectF(16, 5, 15, 22));
  if (toRadio) {
    DrawTransferArrow(p, 27, 4, 17, kWriteArrowColor);
  } else {
    DrawTransferArrow(p, 5, 28, 17, kReadArrowColor);
  }
}

void DrawPlug(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(QColor(90, 90, 90));
  // A nine-pin serial connector: a trapezoid shell with two rows of pins.
  QPolygonF shell;
  shell << QPointF(3, 9) << QPointF(29, 9) << QPointF(25, 23) << QPointF(7, 23);
  p.drawPolygon(shell);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(240, 210, 80));
  for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8 + 4 * i, 13.5), 1.4, 1.4);
  for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10 + 4 * i, 18.5), 1.4, 1.4);
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.drawLine(QPointF(16, 23), QPointF(16, 30));
}

// A curved arrow turning back (undo) or forward (redo, mirrored).
void DrawTurnArrow(QPainter& p, bool forward) {
  if (forward) {
    p.translate(kIconSize, 0);
    p.scale(-1, 1);
  }
  p.setPen(QPen(QColor(30, 80, 160), 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath curve;
  curve.moveTo(9, 12);
  curve.cubicTo(20, 6, 30, 14, 24, 26);
  p.drawPath(curve);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 80, 160));
  QPolygonF head;
  head << QPointF(3, 14) << QPointF(12, 5) << QPointF(14, 17);
  p.drawPolygon(head);
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (key == "Open") {
    DrawFolder(p);
  } else if (key == "Save") {
    DrawDisk(p);
  } else if (key == "Print") {
    DrawPrinter(p);
  } else if (key == "Read") {
    DrawTransfer(p, false);  // radio to computer
  } else if (key == "Write") {
    DrawTransfer(p, true);  // computer to radio: overwrites the radio
  } else if (key == "COMport") {
    DrawPlug(p);
  } else if (key == "Undo" || key == "Redo") {
    DrawTurnArrow(p, key == "Redo");
  }
  p.end();
  return QIcon(pm);
}

QPixmap RadioPixmap(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = size * 0.45;
  DrawSmallRadio(p, QRectF((size - w) / 2, size * 0.05, w, size * 0.9));
  p.end();
  return pm;
}

}  // namespace qm::ui
