// Every image the window and the styles name is compiled in with the size the styles expect, the
// pieces that the styles put together meet without a seam, and the forms name only files and
// images that are there.
#include "image_carrier.h"
#include "images.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QImage load(const QString &name)
{
    return loadCarriedImage(name).convertToFormat(QImage::Format_ARGB32);
}

bool sameColumn(const QImage &a, int ax, const QImage &b, int bx)
{
    if (a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        if (a.pixel(ax, y) != b.pixel(bx, y))
            return false;
    }
    return true;
}

bool sameRow(const QImage &a, int ay, const QImage &b, int by)
{
    if (a.width() != b.width())
        return false;
    for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, ay) != b.pixel(x, by))
            return false;
    }
    return true;
}

int opaquePixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 128;
    }
    return n;
}

} // namespace

class TstImages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyImageIsCompiledInWithItsSize_data();
    void everyImageIsCompiledInWithItsSize();
    void iconsAreDrawnAndLeaveTheirCornersClear_data();
    void iconsAreDrawnAndLeaveTheirCornersClear();
    void capsAndStretchMeetWithoutASeam_data();
    void capsAndStretchMeetWithoutASeam();
    void frameCornersAndEdgesMeetWithoutASeam();
    void slidersBarsStretchAndThumbsLieOnThem();
    void formsNameOnlyWhatExists_data();
    void formsNameOnlyWhatExists();
};

void TstImages::everyImageIsCompiledInWithItsSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const QSize icon(32, 32);
    for (const char *name : {"open.png", "save.png", "new.png", "info.png", "help.png", "read.png",
                             "write.png", "player_play.png", "player_stop.png", "synchro_red.png",
                             "synchro_green.png", "blackout.png"})
        QTest::newRow(name) << QString(name) << icon;
    QTest::newRow("USB green 64x64.png") << QString("USB green 64x64.png") << QSize(64, 64);
    QTest::newRow("vexlo5.png") << QString("vexlo5.png") << QSize(64, 64);

    // Buttons are 26 high, the height the styles give a push button.
    for (const char *state : {"normal", "pressed"}) {
        const QString base = QString("button_%1_").arg(state);
        QTest::newRow(qPrintable(base + "cap_left")) << base + "cap_left.png" << QSize(8, 26);
        QTest::newRow(qPrintable(base + "stretch")) << base + "stretch.png" << QSize(4, 26);
        QTest::newRow(qPrintable(base + "cap_right")) << base + "cap_right.png" << QSize(8, 26);
    }
    // Radio indicators have the Windows style's indicator size, so they are drawn unscaled;
    // "radiobutton-on" (pressed) and "radiobutton_on" (on) are two different images.
    for (const char *name : {"radiobutton_off.png", "radiobutton_on.png", "radiobutton-on.png"})
        QTest::newRow(name) << QString(name) << QSize(12, 12);
    for (const char *name : {"groupframe_topleft.png", "groupframe_topright.png",
                             "groupframe_bottom_left.png", "groupframe_bottom_right.png"})
        QTest::newRow(name) << QString(name) << QSize(8, 8);
    QTest::newRow("top stretch") << "groupframe_top_stretch.png" << QSize(4, 8);
    QTest::newRow("bottom stretch") << "groupframe_bottom_stretch.png" << QSize(4, 8);
    QTest::newRow("left stretch") << "groupframe_left_stretch.png" << QSize(8, 4);
    QTest::newRow("right stretch") << "groupframe_right_stretch.png" << QSize(8, 4);
    QTest::newRow("title_cap_left") << "title_cap_left.png" << QSize(12, 20);
    QTest::newRow("title_stretch") << "title_stretch.png" << QSize(4, 20);
    QTest::newRow("title_cap_right") << "title_cap_right.png" << QSize(12, 20);
    // Thumbs are 13 along the slider, the styles' slider length, and as thick as the slider
    // they are drawn into: horizontal sliders are 27 high, the lamps' colour sliders 25 wide and
    // 256 high. Drawn into those rects, nothing is scaled.
    QTest::newRow("slider_bar") << "slider_bar.png" << QSize(200, 27);
    QTest::newRow("slider_thumb_on") << "slider_thumb_on.png" << QSize(13, 27);
    QTest::newRow("slider_bar_vertical") << "slider_bar_vertical.png" << QSize(25, 256);
    for (const char *name :
         {"slider_thumb_on_v_red.png", "slider_thumb_on_v_green.png", "slider_thumb_on_v_blue.png"})
        QTest::newRow(name) << QString(name) << QSize(25, 13);
}

void TstImages::everyImageIsCompiledInWithItsSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(lm740::imagePath(name), ":/res/images/" + name);
    const QImage img = load(name);
    QVERIFY2(!img.isNull(), qPrintable(name + " does not load from the resources"));
    QCOMPARE(img.size(), size);
    QVERIFY(img.hasAlphaChannel());
    // the styles name their images without the slash after the colon
    QVERIFY(QFile::exists(":res/images/" + name));
    QCOMPARE(QImage(":res/images/" + name).convertToFormat(QImage::Format_ARGB32), img);
}

void TstImages::iconsAreDrawnAndLeaveTheirCornersClear_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"open.png", "save.png", "new.png", "info.png", "help.png", "read.png",
                             "write.png", "player_play.png", "player_stop.png", "synchro_red.png",
                             "synchro_green.png", "blackout.png", "USB green 64x64.png"})
        QTest::newRow(name) << QString(name);
}

void TstImages::iconsAreDrawnAndLeaveTheirCornersClear()
{
    QFETCH(QString, name);
    const QImage img = load(name);
    QVERIFY(!img.isNull());
    const int area = img.width() * img.height();
    QVERIFY2(opaquePixels(img) > area / 6, "the icon is (almost) empty");
    QVERIFY2(opaquePixels(img) < area, "the icon has no transparent ground");
    for (const QPoint &corner :
         {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(0, img.height() - 1),
          QPoint(img.width() - 1, img.height() - 1)})
        QCOMPARE(qAlpha(img.pixel(corner)), 0);
}

void TstImages::capsAndStretchMeetWithoutASeam_data()
{
    QTest::addColumn<QString>("base");
    QTest::newRow("normal button") << "button_normal_";
    QTest::newRow("pressed button") << "button_pressed_";
    QTest::newRow("title") << "title_";
}

// The styles scale the stretch to any width between the caps: that only looks right when all its
// columns are alike and the caps end with exactly that column.
void TstImages::capsAndStretchMeetWithoutASeam()
{
    QFETCH(QString, base);
    const QImage left = load(base + "cap_left.png");
    const QImage stretch = load(base + "stretch.png");
    const QImage right = load(base + "cap_right.png");
    QVERIFY(!left.isNull() && !stretch.isNull() && !right.isNull());
    QCOMPARE(left.height(), stretch.height());
    QCOMPARE(right.height(), stretch.height());
    for (int x = 1; x < stretch.width(); ++x)
        QVERIFY2(sameColumn(stretch, 0, stretch, x), qPrintable(QString("column %1").arg(x)));
    QVERIFY2(sameColumn(left, left.width() - 1, stretch, 0), "seam between left cap and stretch");
    QVERIFY2(sameColumn(right, 0, stretch, 0), "seam between stretch and right cap");
    QVERIFY2(opaquePixels(stretch) > stretch.width() * stretch.height() / 2,
             "the stretch is not a plate");
    // left and right are mirror images in outline: same clear corners
    QCOMPARE(qAlpha(left.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(right.pixel(right.width() - 1, 0)), 0);
}

void TstImages::frameCornersAndEdgesMeetWithoutASeam()
{
    const QImage tl = load("groupframe_topleft.png");
    const QImage tr = load("groupframe_topright.png");
    const QImage bl = load("groupframe_bottom_left.png");
    const QImage br = load("groupframe_bottom_right.png");
    const QImage top = load("groupframe_top_stretch.png");
    const QImage bottom = load("groupframe_bottom_stretch.png");
    const QImage leftEdge = load("groupframe_left_stretch.png");
    const QImage rightEdge = load("groupframe_right_stretch.png");
    for (const QImage *img : {&tl, &tr, &bl, &br, &top, &bottom, &leftEdge, &rightEdge})
        QVERIFY(!img->isNull());

    for (int x = 1; x < top.width(); ++x) {
        QVERIFY(sameColumn(top, 0, top, x));
        QVERIFY(sameColumn(bottom, 0, bottom, x));
    }
    for (int y = 1; y < leftEdge.height(); ++y) {
        QVERIFY(sameRow(leftEdge, 0, leftEdge, y));
        QVERIFY(sameRow(rightEdge, 0, rightEdge, y));
    }
    QVERIFY2(sameColumn(tl, tl.width() - 1, top, 0), "top left corner / top edge");
    QVERIFY2(sameColumn(tr, 0, top, 0), "top edge / top right corner");
    QVERIFY2(sameColumn(bl, bl.width() - 1, bottom, 0), "bottom left corner / bottom edge");
    QVERIFY2(sameColumn(br, 0, bottom, 0), "bottom edge / bottom right corner");
    QVERIFY2(sameRow(tl, tl.height() - 1, leftEdge, 0), "top left corner / left edge");
    QVERIFY2(sameRow(bl, 0, leftEdge, 0), "left edge / bottom left corner");
    QVERIFY2(sameRow(tr, tr.height() - 1, rightEdge, 0), "top right corner / right edge");
    QVERIFY2(sameRow(br, 0, rightEdge, 0), "right edge / bottom right corner");

    // Each edge carries a line, and its inner side is clear: the group box shows the window
    // colour inside, whatever the stretched edges cover.
    QVERIFY(opaquePixels(top) > 0 && opaquePixels(bottom) > 0);
    QVERIFY(opaquePixels(leftEdge) > 0 && opaquePixels(rightEdge) > 0);
    QCOMPARE(qAlpha(top.pixel(0, top.height() - 1)), 0);
    QCOMPARE(qAlpha(bottom.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(leftEdge.pixel(leftEdge.width() - 1, 0)), 0);
    QCOMPARE(qAlpha(rightEdge.pixel(0, 0)), 0);
}

void TstImages::slidersBarsStretchAndThumbsLieOnThem()
{
    // Bars are scaled along the slider: apart from their rounded ends every slice is alike.
    const QImage bar = load("slider_bar.png");
    const QImage vbar = load("slider_bar_vertical.png");
    QVERIFY(!bar.isNull() && !vbar.isNull());
    for (int x = 8; x < bar.width() - 8; ++x)
        QVERIFY2(sameColumn(bar, 8, bar, x), qPrintable(QString("bar column %1").arg(x)));
    for (int y = 8; y < vbar.height() - 8; ++y)
        QVERIFY2(sameRow(vbar, 8, vbar, y), qPrintable(QString("vertical bar row %1").arg(y)));
    QVERIFY(opaquePixels(bar.copy(8, 0, 1, bar.height())) > 0);
    QVERIFY(opaquePixels(vbar.copy(0, 8, vbar.width(), 1)) > 0);

    // The three colour thumbs are told apart by their channel.
    struct Thumb
    {
        const char *name;
        int channel; // 0 red, 1 green, 2 blue
    };
    for (const Thumb &t :
         {Thumb{"slider_thumb_on_v_red.png", 0}, Thumb{"slider_thumb_on_v_green.png", 1},
          Thumb{"slider_thumb_on_v_blue.png", 2}}) {
        const QImage img = load(t.name);
        QVERIFY(!img.isNull());
        const QRgb c = img.pixel(img.width() / 2, img.height() / 4);
        const int v[3] = {qRed(c), qGreen(c), qBlue(c)};
        for (int other = 0; other < 3; ++other) {
            if (other != t.channel)
                QVERIFY2(v[t.channel] > v[other] + 40, t.name);
        }
    }
}

void TstImages::formsNameOnlyWhatExists_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("main window") << "app/main_window.ui";
    QTest::newRow("lamp") << "widgets/lamp.ui";
}

void TstImages::formsNameOnlyWhatExists()
{
    QFETCH(QString, form);
    QFile file(QStringLiteral(LM740_SOURCE_DIR "/") + form);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString formDir = QFileInfo(file).absolutePath();
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        // Files next to the form (resource collections, included forms) ...
        for (const char *attribute : {"resource", "location"}) {
            const QString name = xml.attributes().value(QLatin1String(attribute)).toString();
            if (!name.isEmpty())
                QVERIFY2(QFileInfo::exists(formDir + '/' + name), qPrintable(name));
        }
        // ... and the compiled-in images of its icons and pixmaps.
        const QStringView element = xml.name();
        if (element == u"normaloff" || element == u"normalon" || element == u"pixmap") {
            const QString path = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            QVERIFY2(path.startsWith(u":/") && !QImage(path).isNull(), qPrintable(path));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

QTEST_GUILESS_MAIN(TstImages)
#include "tst_images.moc"
