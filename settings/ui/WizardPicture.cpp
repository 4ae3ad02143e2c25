#include "settings/ui/WizardPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kSkyTop(0x16, 0x2f, 0x5a);
const QColor kSkyBottom(0x3a, 0x78, 0xc2);
const QColor kPaper(0xfb, 0xfb, 0xf7);
const QColor kPaperShade(0xd6, 0xdc, 0xe6);
const QColor kInk(0x2b, 0x3e, 0x5c);
const QColor kQuill(0xf4, 0xe7, 0xc8);
const QColor kWave(255, 255, 255, 150);

constexpr int kTextLines = 7;
constexpr int kWaves = 3;
// The sheet sends from its upper edge.
constexpr QPointF kWaveOrigin(70, 132);

void paintBackground(QPainter& painter, const QRect& area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, kSkyTop);
    sky.setColorAt(1.0, kSkyBottom);
    painter.fillRect(area, sky);
}

void paintSheet(QPainter& painter)
{
    painter.save();
    painter.translate(16, 146);
    painter.rotate(-8);
    const QRectF sheet(0, 0, 92, 124);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRect(sheet.translated(4, 4));
    painter.setBrush(kPaper);
    painter.drawRect(sheet);
    painter.setPen(QPen(kPaperShade, 3, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < kTextLines; ++line) {
        const qreal y = 18 + line * 14;
        const qreal end = line == kTextLines - 1 ? 50 : 78;
        painter.drawLine(QPointF(12, y), QPointF(end, y));
    }
    painter.restore();
}

void paintQuill(QPainter& painter)
{
    painter.save();
    // The nib rests on the last line of the sheet; the feather leans away.
    painter.translate(92, 238);
    painter.rotate(22);
    painter.scale(0.78, 0.78);
    QPainterPath vane;
    vane.moveTo(0, 0);
    vane.cubicTo(-22, -40, -18, -110, 0, -170);
    vane.cubicTo(18, -110, 22, -40, 0, 0);
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(kQuill);
    painter.drawPath(vane);
    painter.setPen(QPen(kInk, 1.2));
    painter.drawLine(QPointF(0, 8), QPointF(0, -160));
    for (int barb = 1; barb < 9; ++barb) {
        const qreal y = -barb * 17;
        painter.drawLine(QPointF(0, y), QPointF(-9, y - 10));
        painter.drawLine(QPointF(0, y), QPointF(9, y - 10));
    }
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF({QPointF(-3, 0), QPointF(3, 0), QPointF(0, 14)}));
    painter.restore();
}

void paintWaves(QPainter& painter)
{
    painter.setBrush(Qt::NoBrush);
    for (int wave = 0; wave < kWaves; ++wave) {
        painter.setPen(QPen(kWave, 3, Qt::SolidLine, Qt::RoundCap));
        const qreal radius = 18 + wave * 16;
        painter.drawArc(
            QRectF(kWaveOrigin.x() - radius, kWaveOrigin.y() - radius, 2 * radius, 2 * radius),
            10 * 16, 70 * 16);
    }
    painter.setBrush(kPaper);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(kWaveOrigin, 5, 5);
}

void paintName(QPainter& painter, const QRect& area)
{
    QFont font = painter.font();
    font.setPointSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kPaper);
    painter.drawText(QRect(0, 16, area.width(), 30), Qt::AlignCenter, QStringLiteral("Quillon"));
}

} // namespace

QPixmap WizardPicture::paint()
{
    QPixmap picture(kSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area(QPoint(0, 0), kSize);
    paintBackground(painter, area);
    paintName(painter, area);
    paintWaves(painter);
    paintSheet(painter);
    paintQuill(painter);
    return picture;
}
