// Draws every image the program carries in its resources and writes them as PNG files.
// The images are committed beside this program, so the normal build never runs it; run it after
// changing a drawing and commit the PNGs it writes:
//
//   cmake --build build --target redraw_images   (writes the PNGs into res/images)
//   cmake --build build --target images_sheet    (build/res/images_sheet.png: the pieces put
//                                                  together as the styles put them, to look at)
// or by hand: draw_images OUTPUT_DIR [--compose SHEET.png]
//
// Style pieces that belong together (caps and stretches, frame corners and edges) are cut from one
// drawing of the whole shape, so they meet without a seam whatever the stretch is scaled to.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>

namespace {

// One palette for the whole set: light pieces on the window colour (241, 241, 241), dark-blue
// ink for outlines, and the signal colours of the icons.
namespace pal {
const QColor window(241, 241, 241);
const QColor ink(52, 62, 74);
const QColor blue(47, 111, 186);
const QColor blueLight(126, 176, 232);
const QColor blueDark(28, 70, 126);
const QColor green(44, 156, 64);
const QColor greenLight(122, 214, 120);
const QColor greenDark(24, 98, 38);
const QColor red(206, 50, 42);
const QColor redLight(244, 124, 104);
const QColor redDark(128, 24, 18);
const QColor amber(230, 170, 50);
const QColor amberLight(252, 218, 122);
const QColor amberDark(150, 100, 18);
const QColor paper(253, 253, 253);
const QColor paperShade(222, 227, 233);
const QColor metal(206, 212, 220);
const QColor outline(146, 156, 168);
} // namespace pal

using ImageSet = std::map<QString, QImage>;

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void smooth(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QLinearGradient vertical(qreal y0, qreal y1, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Filled shape with a one-pixel outline; 0.5-pixel coordinates keep the outline crisp.
void fillOutlined(QPainter &p, const QPainterPath &path, const QBrush &fill, const QColor &line,
                  qreal width = 1.0)
{
    QPen pen(line, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A round badge in one colour, the ground of the info and help icons.
void badge(QPainter &p, const QColor &light, const QColor &base, const QColor &dark)
{
    QRadialGradient g(QPointF(12, 9), 20);
    g.setColorAt(0, light);
    g.setColorAt(1, base);
    QPainterPath disc;
    disc.addEllipse(QRectF(2.5, 2.5, 27, 27));
    fillOutlined(p, disc, g, dark);
    // a soft gloss on the upper half
    QPainterPath gloss;
    gloss.addEllipse(QRectF(7, 4, 18, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(4, 15, QColor(255, 255, 255, 110), QColor(255, 255, 255, 0)));
    p.drawPath(gloss);
}

// ---- tool bar and menu icons, 32 x 32 ----

QImage drawOpen()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    // back of the folder with its tab
    QPainterPath back;
    back.moveTo(3.5, 26.5);
    back.lineTo(3.5, 7.5);
    back.quadTo(3.5, 5.5, 5.5, 5.5);
    back.lineTo(11.5, 5.5);
    back.lineTo(14.5, 8.5);
    back.lineTo(25.5, 8.5);
    back.quadTo(27.5, 8.5, 27.5, 10.5);
    back.lineTo(27.5, 26.5);
    back.closeSubpath();
    fillOutlined(p, back, vertical(5, 26, pal::amber, pal::amberDark.lighter(130)), pal::amberDark);
    // a sheet of paper inside
    fillOutlined(p, roundedRect(QRectF(7.5, 10.5, 17, 10), 1), pal::paper, pal::outline);
    p.setPen(QPen(pal::paperShade.darker(115), 1));
    p.drawLine(QPointF(10, 13.5), QPointF(22, 13.5));
    p.drawLine(QPointF(10, 16.5), QPointF(19, 16.5));
    // the open front flap, tilted towards the viewer
    QPainterPath front = polygon({{7.5, 14.5}, {30.5, 14.5}, {26.5, 26.5}, {3.5, 26.5}});
    fillOutlined(p, front, vertical(14, 27, pal::amberLight, pal::amber), pal::amberDark);
    return img;
}

QImage drawSave()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    QPainterPath body;
    body.moveTo(4.5, 6.5);
    body.quadTo(4.5, 4.5, 6.5, 4.5);
    body.lineTo(24.5, 4.5);
    body.lineTo(27.5, 7.5);
    body.lineTo(27.5, 25.5);
    body.quadTo(27.5, 27.5, 25.5, 27.5);
    body.lineTo(6.5, 27.5);
    body.quadTo(4.5, 27.5, 4.5, 25.5);
    body.closeSubpath();
    fillOutlined(p, body, vertical(4, 28, pal::blueLight, pal::blue), pal::blueDark);
    // metal shutter with its window
    fillOutlined(p, roundedRect(QRectF(9.5, 4.5, 13, 8), 1), vertical(4, 13, Qt::white, pal::metal),
                 pal::ink);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::ink);
    p.drawRect(QRectF(17, 6, 3, 5));
    // label
    fillOutlined(p, roundedRect(QRectF(8.5, 16.5, 15, 11), 1), pal::paper, pal::blueDark);
    p.setPen(QPen(pal::blueLight, 1));
    p.drawLine(QPointF(11, 20.5), QPointF(21, 20.5));
    p.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
    return img;
}

QImage drawNew()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    QPainterPath sheet = polygon({{6.5, 2.5}, {19.5, 2.5}, {25.5, 8.5}, {25.5, 29.5}, {6.5, 29.5}});
    fillOutlined(p, sheet, vertical(2, 30, pal::paper, pal::paperShade), pal::ink);
    QPainterPath fold = polygon({{19.5, 2.5}, {19.5, 8.5}, {25.5, 8.5}});
    fillOutlined(p, fold, pal::paperShade, pal::ink);
    // a green plus: something new comes into being
    QPainterPath disc;
    disc.addEllipse(QRectF(15.5, 16.5, 14, 14));
    QRadialGradient g(QPointF(20, 20), 11);
    g.setColorAt(0, pal::greenLight);
    g.setColorAt(1, pal::green);
    fillOutlined(p, disc, g, pal::greenDark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(21.5, 19.5, 3, 8));
    p.drawRect(QRectF(19, 22, 8, 3));
    return img;
}

QImage drawInfo()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    badge(p, pal::blueLight, pal::blue, pal::blueDark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
    p.drawRoundedRect(QRectF(14.25, 13.5, 3.5, 11), 1, 1);
    p.drawRoundedRect(QRectF(12, 22.5, 8, 2.5), 1, 1);
    p.drawRoundedRect(QRectF(12.5, 13.5, 4, 2.5), 1, 1);
    return img;
}

QImage drawHelp()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    badge(p, pal::blueLight, pal::blue, pal::blueDark);
    QPainterPath hook;
    hook.moveTo(11.5, 12.5);
    hook.cubicTo(11.5, 7.5, 20.5, 7.5, 20.5, 12.3);
    hook.cubicTo(20.5, 15.6, 16, 15.6, 16, 19.5);
    QPen pen(Qt::white, 3.4);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 24), 2.2, 2.2);
    return img;
}

// The controller as a small box with its display and keys.
void controller(QPainter &p)
{
    fillOutlined(p, roundedRect(QRectF(2.5, 1.5, 27, 15), 2.5),
                 vertical(1, 17, QColor(104, 114, 126), QColor(58, 66, 76)), pal::ink);
    fillOutlined(p, roundedRect(QRectF(5.5, 4.5, 21, 5), 1),
                 vertical(4, 10, QColor(190, 236, 196), QColor(132, 196, 146)), QColor(30, 36, 44));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i == 0 ? pal::redLight : pal::metal);
        p.drawRoundedRect(QRectF(6 + i * 4.3, 11.5, 3, 2.5), 0.8, 0.8);
    }
}

// A fat arrow along x = 16 from y0 to y1, pointing to y1; big enough to read in a menu.
void verticalArrow(QPainter &p, qreal y0, qreal y1, const QColor &light, const QColor &base,
                   const QColor &dark)
{
    const qreal dir = y1 > y0 ? 1 : -1;
    const qreal neck = y1 - dir * 8.5;
    QPainterPath arrow =
        polygon({{12, y0}, {20, y0}, {20, neck}, {26.5, neck}, {16, y1}, {5.5, neck}, {12, neck}});
    fillOutlined(p, arrow, vertical(y0, y1, dir > 0 ? light : base, dir > 0 ? base : light), dark);
}

QImage drawRead()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    controller(p);
    verticalArrow(p, 13.5, 30.5, pal::greenLight, pal::green, pal::greenDark);
    return img;
}

QImage drawWrite()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    controller(p);
    verticalArrow(p, 30.5, 12.5, pal::redLight, pal::red, pal::redDark);
    return img;
}

QImage drawPlay()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    QPainterPath tri = polygon({{8.5, 5.5}, {27.5, 16}, {8.5, 26.5}});
    fillOutlined(p, tri, vertical(5, 27, pal::greenLight, pal::green), pal::greenDark, 1.4);
    return img;
}

QImage drawStop()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    fillOutlined(p, roundedRect(QRectF(6.5, 6.5, 19, 19), 3),
                 vertical(6, 26, pal::redLight, pal::red), pal::redDark);
    return img;
}

// Two arrows chasing each other round a circle: bring the two sides in step.
QImage drawSynchro(const QColor &light, const QColor &base, const QColor &dark)
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    const QPointF c(16, 16);
    const qreal r = 10;
    for (int half = 0; half < 2; ++half) {
        const qreal start = half * 180 + 25;
        const qreal span = 120;
        QPainterPath arc;
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        arc.arcMoveTo(box, start);
        arc.arcTo(box, start, span);
        QPen outer(dark, 5.6, Qt::SolidLine, Qt::FlatCap);
        p.setPen(outer);
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setPen(QPen(QBrush(vertical(4, 28, light, base)), 3.6, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(arc);
        // arrow head at the end of the arc, pointing along the turn (counter-clockwise on screen)
        const qreal a = (start + span) * std::numbers::pi / 180.0;
        const QPointF tip0(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        const QPointF along(-std::sin(a), -std::cos(a)); // tangent, direction of travel
        const QPointF across(std::cos(a), -std::sin(a)); // outward normal
        const QPointF tip = tip0 + along * 5.5;
        QPainterPath head = polygon({tip, tip0 + across * 5.5, tip0 - across * 5.5});
        fillOutlined(p, head, base, dark);
    }
    return img;
}

QImage drawBlackout()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    smooth(p);
    // an unlit bulb
    QPainterPath glass;
    glass.moveTo(12.5, 21.5);
    glass.cubicTo(12.5, 17.5, 6.5, 16, 6.5, 11);
    glass.cubicTo(6.5, 5.5, 11, 2.5, 16, 2.5);
    glass.cubicTo(21, 2.5, 25.5, 5.5, 25.5, 11);
    glass.cubicTo(25.5, 16, 19.5, 17.5, 19.5, 21.5);
    glass.closeSubpath();
    QRadialGradient g(QPointF(13, 8), 14);
    g.setColorAt(0, QColor(110, 118, 128));
    g.setColorAt(1, QColor(30, 34, 40));
    fillOutlined(p, glass, g, QColor(20, 24, 28));
    fillOutlined(p, roundedRect(QRectF(12.5, 21.5, 7, 7), 1.5),
                 vertical(21, 29, Qt::white, pal::metal.darker(125)), pal::ink);
    p.setPen(QPen(pal::ink, 1));
    p.drawLine(QPointF(13, 24), QPointF(19, 24));
    p.drawLine(QPointF(13, 26.5), QPointF(19, 26.5));
    // struck through: the output goes dark
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 27), QPointF(27, 5));
    p.setPen(QPen(pal::red, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 27), QPointF(27, 5));
    return img;
}

// ---- 64 x 64 images ----

QImage drawUsb()
{
    QImage img = canvas(64, 64);
    QPainter p(&img);
    smooth(p);
    // the trident, drawn twice: a dark rim, then the green stroke
    QPainterPath trident;
    trident.moveTo(32, 53);
    trident.lineTo(32, 15);
    trident.moveTo(32, 46);
    trident.lineTo(14, 35);
    trident.lineTo(14, 28);
    trident.moveTo(32, 38);
    trident.lineTo(50, 28);
    trident.lineTo(50, 24);
    QPainterPath ends;
    ends.addEllipse(QPointF(32, 54), 7.5, 7.5);
    ends.addEllipse(QPointF(14, 23), 6, 6);
    ends.addRect(QRectF(44.5, 13.5, 11, 11));
    ends.addPath(polygon({{32, 2.5}, {42, 17}, {22, 17}}));
    for (int pass = 0; pass < 2; ++pass) {
        const bool rim = pass == 0;
        QPen pen(rim ? pal::greenDark : pal::green, rim ? 9.5 : 6.5, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(trident);
        p.setPen(rim ? QPen(pal::greenDark, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                     : Qt::NoPen);
        p.setBrush(rim ? QBrush(pal::greenDark)
                       : QBrush(vertical(3, 60, pal::greenLight, pal::green)));
        p.drawPath(ends);
    }
    return img;
}

// The program's own logo: an RGB lamp whose three colours add up to white where they overlap.
QImage drawLogo()
{
    QImage img = canvas(64, 64);
    QPainter p(&img);
    smooth(p);
    fillOutlined(p, roundedRect(QRectF(2.5, 2.5, 59, 59), 12),
                 vertical(2, 62, QColor(74, 82, 94), QColor(22, 26, 32)), QColor(16, 18, 22));
    // lens ring
    p.setPen(QPen(QColor(255, 255, 255, 46), 2));
    p.setBrush(QColor(6, 8, 10));
    p.drawEllipse(QPointF(32, 32), 25, 25);

    QImage light = canvas(64, 64);
    {
        QPainter lp(&light);
        smooth(lp);
        lp.setCompositionMode(QPainter::CompositionMode_Plus);
        lp.setPen(Qt::NoPen);
        const struct
        {
            QPointF centre;
            QColor colour;
        } beams[] = {{{32, 24.5}, QColor(255, 24, 24)},
                     {{25.5, 36}, QColor(24, 230, 48)},
                     {{38.5, 36}, QColor(40, 72, 255)}};
        for (const auto &b : beams) {
            QRadialGradient g(b.centre, 13.5);
            g.setColorAt(0, b.colour);
            g.setColorAt(0.8, b.colour);
            QColor edge = b.colour;
            edge.setAlpha(0);
            g.setColorAt(1, edge);
            lp.setBrush(g);
            lp.drawEllipse(b.centre, 13.5, 13.5);
        }
    }
    p.drawImage(0, 0, light);
    // a highlight on the housing
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(3, 20, QColor(255, 255, 255, 60), QColor(255, 255, 255, 0)));
    p.drawRoundedRect(QRectF(6, 4, 52, 16), 10, 10);
    return img;
}

// ---- style pieces ----

constexpr int ButtonCap = 8;
constexpr int ButtonHeight = 26;
constexpr int StretchLength = 4;
constexpr int TitleCap = 12;
constexpr int TitleHeight = 20;
constexpr int FrameCorner = 8;
// The styles draw grooves and thumbs into rects as thick as the slider, without smoothing, so the
// pieces are drawn at the sizes they meet: horizontal sliders are 27 high, the lamps' colour
// sliders 25 wide and 256 high, and a thumb is 13 long (the styles' slider length).
constexpr int HorizontalThickness = 27;
constexpr int VerticalThickness = 25;
constexpr int VerticalLength = 256;
constexpr int SliderLength = 13;
constexpr int RadioSize = 12; // the indicator size of the Windows style the styles fall back on

// Cuts a shape drawn at cap + stretch + cap width into its three horizontal pieces.
void cutThree(ImageSet &set, const QImage &whole, int cap, const QString &left,
              const QString &stretch, const QString &right)
{
    const int h = whole.height();
    set[left] = whole.copy(0, 0, cap, h);
    set[stretch] = whole.copy(cap, 0, StretchLength, h);
    set[right] = whole.copy(cap + StretchLength, 0, cap, h);
}

QImage drawButton(bool pressed)
{
    const int w = 2 * ButtonCap + StretchLength;
    QImage img = canvas(w, ButtonHeight);
    QPainter p(&img);
    smooth(p);
    const QRectF body(0.5, 0.5, w - 1, ButtonHeight - 2);
    // a soft shadow under the lower edge
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, pressed ? 18 : 34));
    p.drawRoundedRect(body.translated(0, 1), 4.5, 4.5);
    if (pressed) {
        QLinearGradient g = vertical(0, ButtonHeight, QColor(176, 204, 238), QColor(216, 232, 250));
        fillOutlined(p, roundedRect(body, 4.5), g, QColor(68, 114, 172));
        // sunk: a shade along the top inside
        p.setPen(QPen(QColor(40, 80, 140, 60), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 3.5, 3.5);
    } else {
        QLinearGradient g(0, 0, 0, ButtonHeight);
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(0.48, QColor(247, 248, 250));
        g.setColorAt(0.52, QColor(236, 239, 243));
        g.setColorAt(1, QColor(222, 227, 233));
        fillOutlined(p, roundedRect(body, 4.5), g, pal::outline);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 3.5, 3.5);
    }
    return img;
}

QImage drawTitle()
{
    const int w = 2 * TitleCap + StretchLength;
    QImage img = canvas(w, TitleHeight);
    QPainter p(&img);
    smooth(p);
    const QRectF plate(0.5, 0.5, w - 1, TitleHeight - 1);
    const qreal radius = (TitleHeight - 1) / 2.0;
    QLinearGradient g = vertical(0, TitleHeight, QColor(252, 253, 255), QColor(208, 222, 238));
    fillOutlined(p, roundedRect(plate, radius), g, QColor(118, 144, 176));
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(plate.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    return img;
}

// A rounded frame with an etched line, cut into 4 corners and 4 edges; the inside stays clear so
// the group box shows the window colour.
void drawFrame(ImageSet &set)
{
    const int n = 2 * FrameCorner + StretchLength;
    QImage img = canvas(n, n);
    {
        QPainter p(&img);
        smooth(p);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 190), 1));
        p.drawRoundedRect(QRectF(2.5, 2.5, n - 4, n - 4), 4, 4);
        p.setPen(QPen(QColor(150, 160, 172), 1));
        p.drawRoundedRect(QRectF(1.5, 1.5, n - 4, n - 4), 4, 4);
    }
    const int c = FrameCorner;
    const int far = FrameCorner + StretchLength;
    set["groupframe_topleft.png"] = img.copy(0, 0, c, c);
    set["groupframe_topright.png"] = img.copy(far, 0, c, c);
    set["groupframe_bottom_left.png"] = img.copy(0, far, c, c);
    set["groupframe_bottom_right.png"] = img.copy(far, far, c, c);
    set["groupframe_top_stretch.png"] = img.copy(c, 0, StretchLength, c);
    set["groupframe_bottom_stretch.png"] = img.copy(c, far, StretchLength, c);
    set["groupframe_left_stretch.png"] = img.copy(0, c, c, StretchLength);
    set["groupframe_right_stretch.png"] = img.copy(far, c, c, StretchLength);
}

QImage drawRadio(bool on, bool pressed)
{
    QImage img = canvas(RadioSize, RadioSize);
    QPainter p(&img);
    smooth(p);
    const qreal c = RadioSize / 2.0;
    QPainterPath ring;
    ring.addEllipse(QRectF(0.5, 0.5, RadioSize - 1, RadioSize - 1));
    if (pressed) {
        fillOutlined(p, ring, vertical(0, RadioSize, QColor(188, 210, 238), QColor(228, 238, 250)),
                     QColor(68, 114, 172));
    } else {
        fillOutlined(p, ring, vertical(0, RadioSize, Qt::white, pal::paperShade), pal::outline);
    }
    if (on || pressed) {
        QRadialGradient g(QPointF(c - 1, c - 1), 4);
        g.setColorAt(0, pressed ? pal::blue : pal::blueLight);
        g.setColorAt(1, pressed ? pal::blueDark : pal::blue);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(c, c), 2.7, 2.7);
    }
    return img;
}

// The slider groove along x: a narrow sunk channel in the middle of the slider's thickness.
QImage drawGroove(int length, int thickness)
{
    QImage img = canvas(length, thickness);
    QPainter p(&img);
    smooth(p);
    const qreal mid = thickness / 2.0;
    const QRectF channel(0.5, mid - 3, length - 1, 6);
    // the lower lip catches the light
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(channel.translated(0, 1), 3, 3);
    fillOutlined(
        p, roundedRect(channel, 3),
        vertical(channel.top(), channel.bottom(), QColor(172, 180, 190), QColor(226, 230, 236)),
        QColor(124, 134, 146));
    return img;
}

// A thumb lying across a slider of the given thickness: SliderLength pixels in the direction of
// travel, a little narrower than the slider, with a grip line at the value it marks.
QImage drawThumb(bool vertical_, int thickness, const QColor &light, const QColor &base,
                 const QColor &dark)
{
    const int w = vertical_ ? thickness : SliderLength;
    const int h = vertical_ ? SliderLength : thickness;
    QImage img = canvas(w, h);
    QPainter p(&img);
    smooth(p);
    const QRectF body = vertical_ ? QRectF(1.5, 0.5, w - 3, h - 1) : QRectF(0.5, 3.5, w - 1, h - 7);
    fillOutlined(p, roundedRect(body, 3), vertical(body.top(), body.bottom(), light, base), dark);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 2, 2);
    const qreal mid = SliderLength / 2;
    if (vertical_) {
        p.setPen(QPen(dark, 1));
        p.drawLine(QPointF(body.left() + 4, mid + 0.5), QPointF(body.right() - 4, mid + 0.5));
        p.setPen(QPen(QColor(255, 255, 255, 150), 1));
        p.drawLine(QPointF(body.left() + 4, mid + 1.5), QPointF(body.right() - 4, mid + 1.5));
    } else {
        p.setPen(QPen(dark, 1));
        p.drawLine(QPointF(mid + 0.5, body.top() + 4), QPointF(mid + 0.5, body.bottom() - 4));
        p.setPen(QPen(QColor(255, 255, 255, 150), 1));
        p.drawLine(QPointF(mid + 1.5, body.top() + 4), QPointF(mid + 1.5, body.bottom() - 4));
    }
    return img;
}

ImageSet drawAll()
{
    ImageSet set;
    set["open.png"] = drawOpen();
    set["save.png"] = drawSave();
    set["new.png"] = drawNew();
    set["info.png"] = drawInfo();
    set["help.png"] = drawHelp();
    set["read.png"] = drawRead();
    set["write.png"] = drawWrite();
    set["player_play.png"] = drawPlay();
    set["player_stop.png"] = drawStop();
    set["synchro_red.png"] = drawSynchro(pal::redLight, pal::red, pal::redDark);
    set["synchro_green.png"] = drawSynchro(pal::greenLight, pal::green, pal::greenDark);
    set["blackout.png"] = drawBlackout();
    set["USB green 64x64.png"] = drawUsb();
    set["vexlo5.png"] = drawLogo();

    cutThree(set, drawButton(false), ButtonCap, "button_normal_cap_left.png",
             "button_normal_stretch.png", "button_normal_cap_right.png");
    cutThree(set, drawButton(true), ButtonCap, "button_pressed_cap_left.png",
             "button_pressed_stretch.png", "button_pressed_cap_right.png");
    cutThree(set, drawTitle(), TitleCap, "title_cap_left.png", "title_stretch.png",
             "title_cap_right.png");
    drawFrame(set);

    set["radiobutton_off.png"] = drawRadio(false, false);
    set["radiobutton_on.png"] = drawRadio(true, false);
    set["radiobutton-on.png"] = drawRadio(true, true);

    const int h = HorizontalThickness;
    const int v = VerticalThickness;
    set["slider_bar.png"] = drawGroove(200, h);
    // drawn lying down, then stood up so the light still falls from the top left
    set["slider_bar_vertical.png"] =
        drawGroove(VerticalLength, v).transformed(QTransform().rotate(-90));
    set["slider_thumb_on.png"] = drawThumb(false, h, pal::blueLight, pal::blue, pal::blueDark);
    set["slider_thumb_on_v_red.png"] = drawThumb(true, v, pal::redLight, pal::red, pal::redDark);
    set["slider_thumb_on_v_green.png"] =
        drawThumb(true, v, pal::greenLight, pal::green, pal::greenDark);
    set["slider_thumb_on_v_blue.png"] =
        drawThumb(true, v, pal::blueLight, pal::blue, pal::blueDark);
    return set;
}

// ---- the look-over sheet: the pieces put together the way the widget styles put them ----

void drawThree(QPainter &p, const ImageSet &set, const QRect &r, const QString &left,
               const QString &stretch, const QString &right)
{
    const QImage &l = set.at(left);
    const QImage &s = set.at(stretch);
    const QImage &rt = set.at(right);
    p.drawImage(r.topLeft(), l);
    p.drawImage(QRect(r.x() + l.width(), r.y(), r.width() - l.width() - rt.width(), l.height()), s);
    p.drawImage(QPoint(r.right() + 1 - rt.width(), r.y()), rt);
}

void drawButtonAt(QPainter &p, const ImageSet &set, const QRect &r, bool pressed, bool hover,
                  const QString &text)
{
    const QString kind = pressed ? "button_pressed_" : "button_normal_";
    drawThree(p, set, r, kind + "cap_left.png", kind + "stretch.png", kind + "cap_right.png");
    if (hover)
        p.fillRect(r.adjusted(3, 5, -3, -5), QColor(31, 127, 31, 63));
    p.setPen(Qt::black);
    p.drawText(QRect(r.x(), r.y(), r.width(), ButtonHeight - 1), Qt::AlignCenter, text);
}

void drawFrameAt(QPainter &p, const ImageSet &set, const QRect &r, const QString &title)
{
    const int c = FrameCorner;
    const QRect inner = r.adjusted(c, c, -c, -c);
    p.drawImage(r.topLeft(), set.at("groupframe_topleft.png"));
    p.drawImage(QPoint(inner.right() + 1, r.y()), set.at("groupframe_topright.png"));
    p.drawImage(QPoint(r.x(), inner.bottom() + 1), set.at("groupframe_bottom_left.png"));
    p.drawImage(inner.bottomRight() + QPoint(1, 1), set.at("groupframe_bottom_right.png"));
    p.drawImage(QRect(inner.x(), r.y(), inner.width(), c), set.at("groupframe_top_stretch.png"));
    p.drawImage(QRect(inner.x(), inner.bottom() + 1, inner.width(), c),
                set.at("groupframe_bottom_stretch.png"));
    p.drawImage(QRect(r.x(), inner.y(), c, inner.height()), set.at("groupframe_left_stretch.png"));
    p.drawImage(QRect(inner.right() + 1, inner.y(), c, inner.height()),
                set.at("groupframe_right_stretch.png"));
    const int textWidth = p.fontMetrics().horizontalAdvance(title);
    const QRect plate(r.x() + (r.width() - textWidth) / 2 - TitleCap, r.y() - TitleHeight / 2 + 2,
                      textWidth + 2 * TitleCap, TitleHeight);
    drawThree(p, set, plate, "title_cap_left.png", "title_stretch.png", "title_cap_right.png");
    p.setPen(Qt::black);
    p.drawText(plate, Qt::AlignCenter, title);
}

void drawVerticalSlider(QPainter &p, const ImageSet &set, const QRect &r, const QString &thumb,
                        double value, const QColor &selection)
{
    const QImage &bar = set.at("slider_bar_vertical.png");
    const int w = qMin(bar.width(), r.width());
    p.drawImage(QRect(r.x() + (r.width() - w) / 2, r.y(), w, r.height()), bar);
    if (selection.isValid()) {
        const QRectF band = QRectF(r).adjusted(4, 0, -4, 0);
        QLinearGradient g(band.topLeft(), band.topRight());
        QColor c = selection;
        c.setAlpha(128);
        g.setColorAt(0, c);
        g.setColorAt(0.5, QColor(255, 255, 255, 90));
        g.setColorAt(1, c);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(band, 4, 4);
    }
    const int y = r.y() + int((1.0 - value) * (r.height() - SliderLength));
    p.drawImage(QRect(r.x(), y, r.width(), SliderLength), set.at(thumb));
}

QImage compose(const ImageSet &set)
{
    QImage sheet(560, 470, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(pal::window);
    QPainter p(&sheet);
    // icons are scaled smoothly, as QIcon does; the styles draw their pieces unsmoothed
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);

    // icons in a row, as a tool bar shows them
    int x = 10;
    for (const char *name : {"open.png", "save.png", "new.png", "info.png", "help.png", "read.png",
                             "write.png", "player_play.png", "player_stop.png", "synchro_red.png",
                             "synchro_green.png", "blackout.png"}) {
        p.drawImage(QPoint(x, 8), set.at(name));
        p.drawImage(QRect(x + 4, 44, 24, 24), set.at(name));
        p.drawImage(QRect(x + 8, 72, 16, 16), set.at(name));
        x += 36;
    }
    p.drawImage(QPoint(440, 6), set.at("USB green 64x64.png"));
    p.drawImage(QRect(510, 44, 24, 24), set.at("USB green 64x64.png"));
    p.drawImage(QPoint(440, 80), set.at("vexlo5.png"));
    p.drawImage(QRect(510, 80, 32, 32), set.at("vexlo5.png"));
    p.drawImage(QRect(510, 116, 16, 16), set.at("vexlo5.png"));

    p.setRenderHint(QPainter::SmoothPixmapTransform, false);

    // buttons of the sizes the window uses: scene buttons, narrow step buttons, wide buttons
    drawButtonAt(p, set, QRect(10, 100, 70, ButtonHeight), false, false, "Scene 1");
    drawButtonAt(p, set, QRect(86, 100, 70, ButtonHeight), true, false, "Scene 2");
    drawButtonAt(p, set, QRect(162, 100, 70, ButtonHeight), false, true, "Scene 3");
    for (int i = 0; i < 6; ++i)
        drawButtonAt(p, set, QRect(240 + i * 20, 100, 20, ButtonHeight), i == 2, false,
                     QString::number(i + 1));
    drawButtonAt(p, set, QRect(10, 134, 240, ButtonHeight), false, false, "OK");
    drawButtonAt(p, set, QRect(256, 134, 40, ButtonHeight), true, true, "OK");

    // a lamp control: frame with title, three colour sliders, one of them selected
    drawFrameAt(p, set, QRect(10, 180, 110, 280), "Lamp 5");
    const QSize lampSlider(VerticalThickness, VerticalLength);
    drawVerticalSlider(p, set, QRect(QPoint(27, 194), lampSlider), "slider_thumb_on_v_red.png", 0.8,
                       QColor());
    drawVerticalSlider(p, set, QRect(QPoint(52, 194), lampSlider), "slider_thumb_on_v_green.png",
                       0.35, QColor(0, 255, 0));
    drawVerticalSlider(p, set, QRect(QPoint(77, 194), lampSlider), "slider_thumb_on_v_blue.png",
                       0.0, QColor());

    // a second frame with radio buttons and a horizontal slider
    drawFrameAt(p, set, QRect(140, 180, 250, 140), "Chaser");
    const char *radios[] = {"radiobutton_off.png", "radiobutton_on.png", "radiobutton-on.png"};
    const char *labels[] = {"Off", "On", "Pressed"};
    for (int i = 0; i < 3; ++i) {
        p.drawImage(QPoint(160, 202 + i * 24), set.at(radios[i]));
        p.setPen(Qt::black);
        p.drawText(QRect(180, 200 + i * 24, 100, 16), Qt::AlignVCenter, labels[i]);
    }
    const QRect groove(160, 280, 210, HorizontalThickness);
    p.drawImage(groove, set.at("slider_bar.png"));
    p.drawImage(QRect(groove.x() + 120, groove.y(), SliderLength, groove.height()),
                set.at("slider_thumb_on.png"));

    // vertical sliders of other heights, as the bar is scaled to any height
    drawVerticalSlider(p, set, QRect(420, 150, VerticalThickness, 170),
                       "slider_thumb_on_v_blue.png", 0.5, QColor(0, 0, 255));
    drawVerticalSlider(p, set, QRect(450, 150, VerticalThickness, 310), "slider_thumb_on_v_red.png",
                       1.0, QColor(255, 0, 0));
    drawVerticalSlider(p, set, QRect(480, 150, VerticalThickness, 100),
                       "slider_thumb_on_v_green.png", 0.2, QColor());
    return sheet;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// `image` as a PNG whose rows are unfiltered and stored, not deflated: a few kilobytes more in the
// program, but the window reads its icons and style pieces at start-up without inflating or
// unfiltering them. The pixels are the same as from QImage::save.
QByteArray storedPng(const QImage &image)
{
    const QImage rgba =
        image.convertToFormat(QImage::Format_ARGB32).convertToFormat(QImage::Format_RGBA8888);
    QByteArray rows;
    for (int y = 0; y < rgba.height(); ++y) {
        rows.append('\0'); // filter type: none
        rows.append(reinterpret_cast<const char *>(rgba.constScanLine(y)), rgba.width() * 4);
    }
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    const auto chunk = [&png](const char *type, const QByteArray &data) {
        const QByteArray typed = QByteArray(type, 4) + data;
        png += bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
    };
    // 8 bits a channel, red, green, blue and alpha; deflate, no interlacing
    chunk("IHDR", bigEndian(quint32(rgba.width())) + bigEndian(quint32(rgba.height())) +
                      QByteArray("\x08\x06\x00\x00\x00", 5));
    chunk("IDAT", qCompress(rows, 0).mid(4)); // level 0 stores; qCompress puts the size first
    chunk("IEND", {});
    return png;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args.at(2) == "--compose")) {
        std::fprintf(stderr, "usage: draw_images OUTPUT_DIR [--compose SHEET.png]\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    const ImageSet set = drawAll();
    for (const auto &[name, image] : set) {
        const QString path = out.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(storedPng(image)) < 0 || !file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("%zu images written to %s\n", set.size(), qPrintable(out.path()));
    if (args.size() == 4) {
        const QImage sheet = compose(set);
        const QString sheetPath = args.at(3);
        if (!sheet.save(sheetPath, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetPath));
            return 1;
        }
        std::printf("look-over sheet written to %s\n", qPrintable(sheetPath));
    }
    return 0;
}
