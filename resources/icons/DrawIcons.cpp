// Draws the 32 x 32 icons of the message list's context menu into the current folder,
// one PNG a resource id. Not part of the build; run it when a picture should change:
//   g++ -std=c++20 -fPIC DrawIcons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw-icons
//   QT_QPA_PLATFORM=offscreen /tmp/draw-icons
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

const QColor kInk(40, 40, 48);
const QColor kGreen(20, 140, 60);
const QColor kBlue(30, 90, 200);
const QColor kRed(200, 40, 40);
const QColor kPaper(250, 250, 245);
const QColor kGold(220, 170, 40);

void Arrow(QPainter &p, QPointF from, QPointF to, const QColor &c, double width = 3.5) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double len = 7;
    QPolygonF head;
    head << to << QPointF(to.x() - len * std::cos(a - 0.5), to.y() - len * std::sin(a - 0.5))
         << QPointF(to.x() - len * std::cos(a + 0.5), to.y() - len * std::sin(a + 0.5));
    p.setBrush(c);
    p.setPen(QPen(c, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(head);
}

void Box(QPainter &p, QRectF r, const QColor &fill = kPaper) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r, 2, 2);
}

void Person(QPainter &p, QPointF at, const QColor &c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(at.x(), at.y() - 7), 4.5, 4.5);
    QPainterPath body;
    body.moveTo(at.x() - 8, at.y() + 9);
    body.quadTo(at.x() - 8, at.y() - 1, at.x(), at.y() - 1);
    body.quadTo(at.x() + 8, at.y() - 1, at.x() + 8, at.y() + 9);
    body.closeSubpath();
    p.drawPath(body);
}

void Page(QPainter &p, QRectF r) {
    Box(p, r);
    p.setPen(QPen(QColor(150, 150, 160), 1.2));
    for (double y = r.top() + 5; y < r.bottom() - 3; y += 4) p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void Save(int id, const std::function<void(QPainter &)> &draw) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    image.save(QStringLiteral("%1.png").arg(id));
}

}  // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    // 135 outgoing: software to hardware, an arrow leaving the exchange box.
    Save(135, [](QPainter &p) {
        Box(p, QRectF(2, 8, 12, 16), QColor(210, 225, 245));
        Arrow(p, QPointF(12, 16), QPointF(29, 16), kGreen);
    });
    // 136 incoming: an arrow entering the box.
    Save(136, [](QPainter &p) {
        Box(p, QRectF(18, 8, 12, 16), QColor(210, 225, 245));
        Arrow(p, QPointF(3, 16), QPointF(19, 16), kBlue);
    });
    // 138 all: both directions.
    Save(138, [](QPainter &p) {
        Arrow(p, QPointF(3, 10), QPointF(28, 10), kGreen, 3);
        Arrow(p, QPointF(29, 22), QPointF(4, 22), kBlue, 3);
    });
    // 152 filter: a funnel.
    Save(152, [](QPainter &p) {
        QPolygonF funnel;
        funnel << QPointF(3, 5) << QPointF(29, 5) << QPointF(19, 17) << QPointF(19, 28) << QPointF(13, 25)
               << QPointF(13, 17);
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(kGold);
        p.drawPolygon(funnel);
    });
    // 148 go to: a target with an arrow into it.
    Save(148, [](QPainter &p) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kRed, 2.5));
        p.drawEllipse(QPointF(19, 16), 10, 10);
        p.drawEllipse(QPointF(19, 16), 5, 5);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(19, 16), 1.5, 1.5);
        Arrow(p, QPointF(2, 28), QPointF(16, 19), kInk, 2.5);
    });
    // 141 sequence number: a hash sign.
    Save(141, [](QPainter &p) {
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 4), QPointF(9, 28));
        p.drawLine(QPointF(22, 4), QPointF(19, 28));
        p.drawLine(QPointF(5, 11), QPointF(27, 11));
        p.drawLine(QPointF(4, 21), QPointF(26, 21));
    });
    // 147 direction: a two-headed arrow.
    Save(147, [](QPainter &p) {
        Arrow(p, QPointF(16, 16), QPointF(29, 16), kGreen);
        Arrow(p, QPointF(16, 16), QPointF(3, 16), kBlue);
    });
    // 139 message: an envelope.
    Save(139, [](QPainter &p) {
        Box(p, QRectF(3, 8, 26, 17), kPaper);
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(3, 8), QPointF(16, 18));
        p.drawLine(QPointF(29, 8), QPointF(16, 18));
    });
    // 143 time: a clock.
    Save(143, [](QPainter &p) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 16), QPointF(16, 7));
        p.drawLine(QPointF(16, 16), QPointF(23, 19));
    });
    // 144 message from: a person sending.
    Save(144, [](QPainter &p) {
        Person(p, QPointF(9, 18), kBlue);
        Arrow(p, QPointF(15, 12), QPointF(30, 12), kGreen, 3);
    });
    // 145 message to: a person receiving.
    Save(145, [](QPainter &p) {
        Person(p, QPointF(23, 18), kGreen);
        Arrow(p, QPointF(2, 12), QPointF(16, 12), kBlue, 3);
    });
    // 156 font: a large letter.
    Save(156, [](QPainter &p) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(28);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(4, 30), QPointF(28, 30));
    });
    // 155 print preview: a page under a magnifier.
    Save(155, [](QPainter &p) {
        Page(p, QRectF(3, 2, 19, 25));
        p.setPen(QPen(kInk, 2.5));
        p.setBrush(QColor(200, 230, 255, 160));
        p.drawEllipse(QPointF(19, 18), 7, 7);
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(24, 23), QPointF(29, 29));
    });
    // 151 print: a printer with a page.
    Save(151, [](QPainter &p) {
        Page(p, QRectF(9, 2, 14, 12));
        Box(p, QRectF(3, 12, 26, 12), QColor(190, 190, 200));
        Box(p, QRectF(8, 20, 16, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
    });
    return 0;
}
