// The two widget styles: what they set on widgets, their metrics, and what they paint from their
// images, including the selection overlay of the colour sliders and the progress bar.
#include "arthur_style.h"
#include "color_line_edit.h"
#include "color_slider.h"
#include "my_frame.h"
#include "my_style.h"
#include "style_images.h"

#include <QGroupBox>
#include <QPainter>
#include <QPixmapCache>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

class TstStyles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void bothDeriveFromTheWindowsStyle();
    void polishGivesHoverToButtonsRadiosAndSliders_data();
    void polishGivesHoverToButtonsRadiosAndSliders();
    void polishSetsGroupLayoutsAndWindowColour();
    void metricsAndSizes_data();
    void metricsAndSizes();
    void radioButtonRects();
    void selectedColourSliderShowsItsOverlay_data();
    void selectedColourSliderShowsItsOverlay();
    void verticalSliderThumbFollowsTheName_data();
    void verticalSliderThumbFollowsTheName();
    void myStyleDrawsPlainSlidersWithoutOverlay();
    void buttonPanelFromImagesWithHoverTint_data();
    void buttonPanelFromImagesWithHoverTint();
    void imagesComeThroughThePixmapCache();
    void drawingsAreMadeOncePerSizeAndLaidDownWhole();
    void missingImagesDrawNothing();
    void colourCellsShowTheirBaseColour();
    void progressBarGrooveShowsTheProgress_data();
    void progressBarGrooveShowsTheProgress();
    void groupBoxTitleMakesRoomForItsCaps();

private:
    QTemporaryDir m_images;
};

namespace {

const QColor kNormal(0, 0, 200);
const QColor kPressed(200, 0, 0);
const QColor kPlainThumb(200, 0, 200);

void writeImage(const QString &dir, const QString &name, const QSize &size, const QColor &c)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(c);
    QVERIFY(image.save(dir + "/" + name));
}

QImage renderOf(QWidget &w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(QColor(10, 10, 10));
    w.render(&image);
    return image;
}

std::unique_ptr<QStyle> makeStyle(int which)
{
    if (which == 0)
        return std::make_unique<ArthurStyle>();
    return std::make_unique<MyStyle>();
}

} // namespace

void TstStyles::initTestCase()
{
    QVERIFY(m_images.isValid());
    const QString dir = m_images.path();
    for (const char *part : {"cap_left", "stretch", "cap_right"}) {
        writeImage(dir, QString("button_normal_%1.png").arg(part), QSize(8, 26), kNormal);
        writeImage(dir, QString("button_pressed_%1.png").arg(part), QSize(8, 26), kPressed);
    }
    writeImage(dir, "slider_thumb_on_v_red.png", QSize(25, 13), QColor(255, 0, 0));
    writeImage(dir, "slider_thumb_on_v_green.png", QSize(25, 13), QColor(0, 255, 0));
    writeImage(dir, "slider_thumb_on_v_blue.png", QSize(25, 13), QColor(0, 0, 255));
    writeImage(dir, "slider_thumb_on.png", QSize(13, 25), kPlainThumb);
    writeImage(dir, "title_cap_left.png", QSize(7, 18), QColor(90, 90, 90));
    writeImage(dir, "title_cap_right.png", QSize(9, 18), QColor(90, 90, 90));
    lm740::setStyleImageRoot(dir + "/");
}

void TstStyles::cleanupTestCase()
{
    lm740::setStyleImageRoot(":/res/images/");
}

void TstStyles::bothDeriveFromTheWindowsStyle()
{
    ArthurStyle arthur;
    MyStyle my;
    QVERIFY(arthur.baseStyle());
    QCOMPARE(arthur.baseStyle()->name().toLower(), QString("windows"));
    QCOMPARE(my.baseStyle()->name().toLower(), QString("windows"));
}

void TstStyles::polishGivesHoverToButtonsRadiosAndSliders_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("ArthurStyle") << 0;
    QTest::newRow("MyStyle") << 1;
}

void TstStyles::polishGivesHoverToButtonsRadiosAndSliders()
{
    QFETCH(int, which);
    auto style = makeStyle(which);
    QWidget window;
    auto *button = new QPushButton("OK", &window);
    auto *radio = new QRadioButton("r", &window);
    auto *slider = new ColorSlider(Qt::Vertical, &window);
    auto *edit = new ColorLineEdit(&window);
    const QList<QWidget *> hovered{button, radio, slider};
    for (QWidget *w : hovered)
        QVERIFY(!w->testAttribute(Qt::WA_Hover));
    for (QWidget *w : hovered + QList<QWidget *>{edit})
        w->setStyle(style.get());
    window.show(); // polishes
    for (QWidget *w : hovered)
        QVERIFY2(w->testAttribute(Qt::WA_Hover), w->metaObject()->className());
    QVERIFY(!edit->testAttribute(Qt::WA_Hover));

    // Taking the style away takes the hover attribute with it.
    style->unpolish(slider);
    style->unpolish(button);
    QVERIFY(!slider->testAttribute(Qt::WA_Hover));
    QVERIFY(!button->testAttribute(Qt::WA_Hover));
}

void TstStyles::polishSetsGroupLayoutsAndWindowColour()
{
    ArthurStyle style;
    QWidget window;
    auto *outer = new QGroupBox("outer", &window);
    auto *outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(1, 1, 1, 1);
    auto *inner = new QGroupBox("inner", outer);
    outerLayout->addWidget(inner);
    auto *innerLayout = new QVBoxLayout(inner);
    innerLayout->setSpacing(7);
    innerLayout->addWidget(new QPushButton("x", inner));

    window.setStyle(&style);
    outer->setStyle(&style);
    inner->setStyle(&style);
    window.ensurePolished();
    outer->ensurePolished();
    inner->ensurePolished();
    QCOMPARE(outerLayout->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(innerLayout->spacing(), 0);
    QCOMPARE(window.palette().color(QPalette::Window), QColor(241, 241, 241));

    QPalette pal;
    style.polish(pal);
    QCOMPARE(pal.color(QPalette::Window), QColor(241, 241, 241));
}

void TstStyles::metricsAndSizes_data()
{
    polishGivesHoverToButtonsRadiosAndSliders_data();
}

void TstStyles::metricsAndSizes()
{
    QFETCH(int, which);
    auto style = makeStyle(which);
    QCOMPARE(style->pixelMetric(QStyle::PM_SliderLength), 13);
    QPushButton button("Scene 1");
    button.setStyle(style.get());
    QCOMPARE(button.sizeHint().height(), 26);
    QSlider slider(Qt::Horizontal);
    slider.setStyle(style.get());
    QCOMPARE(slider.sizeHint().height(), 27);
    const std::unique_ptr<QStyle> windows(QStyleFactory::create("Windows"));
    QCOMPARE(style->pixelMetric(QStyle::PM_ButtonMargin),
             windows->pixelMetric(QStyle::PM_ButtonMargin));
}

void TstStyles::radioButtonRects()
{
    ArthurStyle style;
    QRadioButton radio("choice");
    radio.setStyle(&style);
    radio.resize(100, 20);
    QStyleOptionButton opt;
    opt.initFrom(&radio);
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonContents, &opt, &radio),
             QRect(25, 0, 70, 20));
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonClickRect, &opt, &radio),
             QRect(5, 0, 90, 20));
    // Elements of other widgets are left as the Windows style makes them.
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonContents, &opt, nullptr),
             QRect(20, 0, 80, 20));
}

void TstStyles::selectedColourSliderShowsItsOverlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("channel"); // 0 red, 1 green, 2 blue, -1 none
    QTest::newRow("SliderRed") << "SliderRed" << 0;
    QTest::newRow("SliderGreen") << "SliderGreen" << 1;
    QTest::newRow("SliderBlue") << "SliderBlue" << 2;
    QTest::newRow("other name") << "Volume" << -1;
}

void TstStyles::selectedColourSliderShowsItsOverlay()
{
    QFETCH(QString, name);
    QFETCH(int, channel);
    ArthurStyle style;
    ColorSlider slider(Qt::Vertical);
    slider.setObjectName(name);
    slider.setStyle(&style);
    slider.resize(25, 256);
    slider.setValue(255); // thumb at the top, out of the way
    const QPoint probe(12, 200);
    const QPoint outside(1, 200); // the overlay leaves 4 pixels free at each side

    const QColor before = renderOf(slider).pixelColor(probe);
    slider.setSelected(true);
    const QImage selected = renderOf(slider);
    const QColor on = selected.pixelColor(probe);
    if (channel < 0) {
        QCOMPARE(on, before);
    } else {
        const int channels[3] = {on.red(), on.green(), on.blue()};
        for (int c = 0; c < 3; ++c) {
            if (c != channel)
                QVERIFY2(channels[channel] > channels[c] + 60, qPrintable(on.name()));
        }
        QCOMPARE(selected.pixelColor(outside), renderOf(slider).pixelColor(outside));
    }
    slider.setSelected(false);
    QCOMPARE(renderOf(slider).pixelColor(probe), before);
}

void TstStyles::verticalSliderThumbFollowsTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("thumb");
    QTest::newRow("SliderRed") << "SliderRed" << QColor(255, 0, 0);
    QTest::newRow("SliderGreen") << "SliderGreen" << QColor(0, 255, 0);
    QTest::newRow("SliderBlue") << "SliderBlue" << QColor(0, 0, 255);
    QTest::newRow("other name") << "Other" << QColor(0, 0, 255);
    QTest::newRow("no name") << "" << QColor(0, 0, 255);
}

void TstStyles::verticalSliderThumbFollowsTheName()
{
    QFETCH(QString, name);
    QFETCH(QColor, thumb);
    ArthurStyle style;
    QSlider slider(Qt::Vertical);
    slider.setRange(0, 255);
    slider.setObjectName(name);
    slider.setStyle(&style);
    slider.resize(25, 256);
    slider.setValue(0);
    // The thumb is where value 0 sits, at the bottom, 13 pixels long.
    const QImage shot = renderOf(slider);
    int top = -1;
    int length = 0;
    for (int y = 0; y < shot.height(); ++y) {
        if (shot.pixelColor(12, y) == thumb) {
            if (top < 0)
                top = y;
            ++length;
        }
    }
    QCOMPARE(length, 13);
    QVERIFY(top > 200);
}

void TstStyles::myStyleDrawsPlainSlidersWithoutOverlay()
{
    MyStyle style;
    ColorSlider slider(Qt::Vertical);
    slider.setObjectName("SliderGreen");
    slider.setStyle(&style);
    slider.resize(25, 256);
    slider.setValue(0);
    const QImage plain = renderOf(slider);
    slider.setSelected(true);
    QCOMPARE(renderOf(slider), plain);
    bool thumbSeen = false;
    for (int y = 200; y < 256 && !thumbSeen; ++y)
        thumbSeen = plain.pixelColor(12, y) == kPlainThumb;
    QVERIFY(thumbSeen);
}

void TstStyles::buttonPanelFromImagesWithHoverTint_data()
{
    polishGivesHoverToButtonsRadiosAndSliders_data();
}

void TstStyles::buttonPanelFromImagesWithHoverTint()
{
    QFETCH(int, which);
    auto style = makeStyle(which);
    QImage image(60, 26, QImage::Format_ARGB32);
    const auto paint = [&](QStyle::State state) {
        image.fill(Qt::white);
        QPainter p(&image);
        QStyleOptionButton opt;
        opt.rect = image.rect();
        opt.state = state;
        style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p);
    };
    paint(QStyle::State_Enabled | QStyle::State_Raised);
    QCOMPARE(image.pixelColor(30, 13), kNormal);
    QCOMPARE(image.pixelColor(2, 13), kNormal);  // left cap
    QCOMPARE(image.pixelColor(58, 13), kNormal); // right cap
    paint(QStyle::State_Enabled | QStyle::State_Sunken);
    QCOMPARE(image.pixelColor(30, 13), kPressed);
    paint(QStyle::State_Enabled | QStyle::State_On);
    QCOMPARE(image.pixelColor(30, 13), kPressed);

    paint(QStyle::State_Enabled | QStyle::State_MouseOver);
    const QColor tinted = image.pixelColor(30, 13);
    QVERIFY(tinted != kNormal);
    QVERIFY(tinted.green() > kNormal.green());
    QCOMPARE(image.pixelColor(1, 13), kNormal); // the tint stays 3 pixels in
    paint(QStyle::State_MouseOver);             // disabled: no tint
    QCOMPARE(image.pixelColor(30, 13), kNormal);
}

void TstStyles::imagesComeThroughThePixmapCache()
{
    QPixmapCache::clear();
    const QString key = lm740::styleImageRoot() + "button_pressed_stretch.png";
    QPixmap cached;
    QVERIFY(!QPixmapCache::find(key, &cached));
    ArthurStyle style;
    QPushButton button;
    button.setStyle(&style);
    button.resize(60, 26);
    button.setDown(true);
    const QImage shot = renderOf(button);
    QCOMPARE(shot.pixelColor(30, 13), kPressed);
    QVERIFY(QPixmapCache::find(key, &cached));
    QCOMPARE(cached.size(), QSize(8, 26));
}

void TstStyles::drawingsAreMadeOncePerSizeAndLaidDownWhole()
{
    int drawn = 0;
    const auto lines = [&drawn](QPainter &p, const QRect &r) { // a colour of its own on each line
        ++drawn;
        for (int y = r.top(); y <= r.bottom(); ++y)
            p.fillRect(QRect(r.left(), y, r.width(), 1), QColor(y, 255 - y, 7 * y % 256, 200));
    };
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap tall = lm740::styleDrawing("lines", QSize(9, 150), ratio, lines);
        QCOMPARE(lm740::styleDrawing("lines", QSize(9, 150), ratio, lines).cacheKey(),
                 tall.cacheKey());
        QCOMPARE(tall.size(), QSize(9, 150) * ratio);
        QImage banded(40, 400, QImage::Format_ARGB32_Premultiplied), whole = banded;
        for (QImage *image : {&banded, &whole}) {
            image->fill(Qt::white);
            QPainter p(image);
            p.setClipRegion(QRegion(0, 0, 40, 100) + QRegion(5, 100, 30, 300));
            image == &banded ? lm740::layDown(&p, QPoint(3, 20), tall)
                             : p.drawPixmap(QPoint(3, 20), tall);
        }
        QCOMPARE(banded, whole);
    }
    QCOMPARE(drawn, 2);
}

void TstStyles::missingImagesDrawNothing()
{
    QTemporaryDir empty;
    lm740::setStyleImageRoot(empty.path() + "/");
    QVERIFY(lm740::styleImage("button_normal_stretch.png").isNull());
    QImage image(60, 26, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        QStyleOptionButton opt;
        opt.rect = image.rect();
        opt.state = QStyle::State_Enabled;
        ArthurStyle().drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p);
        QStyleOptionFrame frame;
        frame.rect = image.rect();
        ArthurStyle().drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &p);
    }
    QImage white(60, 26, QImage::Format_ARGB32);
    white.fill(Qt::white);
    QCOMPARE(image, white);
    lm740::setStyleImageRoot(m_images.path() + "/");
}

void TstStyles::colourCellsShowTheirBaseColour()
{
    ArthurStyle arthur;
    MyStyle my;

    MyFrame cell(nullptr, QColor(200, 30, 40), 3);
    cell.setFrameShape(QFrame::StyledPanel);
    cell.setFrameShadow(QFrame::Sunken);
    cell.resize(20, 25);
    cell.setStyle(&arthur);
    QCOMPARE(renderOf(cell).pixelColor(10, 12), QColor(200, 30, 40));
    cell.setColor(QColor(0, 90, 0));
    QCOMPARE(renderOf(cell).pixelColor(10, 12), QColor(0, 90, 0));
    // The rounded corner lies outside the cell's colour.
    QVERIFY(renderOf(cell).pixelColor(0, 0) != QColor(0, 90, 0));
    // A white lamp stays visible against the light background around the cells: its outline
    // stands out from both.
    cell.setColor(Qt::white);
    const int edge = qGray(renderOf(cell).pixelColor(0, 12).rgb());
    QVERIFY(edge < qGray(cell.palette().color(QPalette::Window).rgb()) - 60);
    // As a rounded rectangle drawn directly would show it, at any size and colour.
    for (const QSize size : {QSize(20, 25), QSize(3, 20), QSize(57, 24)}) {
        cell.resize(size);
        cell.setColor(QColor(30, 160, 220));
        const QImage drawn = renderOf(cell);
        QImage direct(drawn.size(), QImage::Format_ARGB32_Premultiplied);
        direct.fill(cell.palette().color(QPalette::Window));
        QPainter p(&direct);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(128, 128, 128), 1));
        p.setBrush(QColor(30, 160, 220));
        p.drawRoundedRect(QRectF(cell.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 25, 25,
                          Qt::RelativeSize);
        p.end();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y), b = direct.pixel(x, y);
                QVERIFY2(std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
                             std::abs(qBlue(a) - qBlue(b)) <= 3,
                         qPrintable(QString("%1x%2 at %3,%4")
                                        .arg(size.width())
                                        .arg(size.height())
                                        .arg(x)
                                        .arg(y)));
            }
    }
    cell.setStyle(&my); // frame panels are left to the Windows style
    QVERIFY(renderOf(cell).pixelColor(10, 12) != QColor(0, 90, 0));

    ColorLineEdit edit;
    edit.setFrame(false);
    edit.resize(60, 21);
    QPalette pal = edit.palette();
    pal.setColor(QPalette::Base, QColor(0, 0, 180));
    edit.setPalette(pal);
    edit.setStyle(&arthur);
    const QImage shot = renderOf(edit);
    QCOMPARE(shot.pixelColor(30, 10), QColor(0, 0, 180));
    QVERIFY(shot.pixelColor(0, 0) != QColor(0, 0, 180));
}

void TstStyles::progressBarGrooveShowsTheProgress_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("filledWidth");
    QTest::newRow("half") << 0 << 100 << 50 << 100;
    QTest::newRow("full") << 0 << 100 << 100 << 200;
    QTest::newRow("zero") << 0 << 100 << 0 << 0;
    QTest::newRow("reset bar") << 0 << 100 << -1 << 0;
    QTest::newRow("busy range") << 0 << 0 << 0 << 0;
    QTest::newRow("offset range") << 100 << 300 << 150 << 50;
    QTest::newRow("beyond maximum") << 0 << 100 << 400 << 200;
    QTest::newRow("large numbers") << 0 << 2000000000 << 1000000000 << 100;
}

void TstStyles::progressBarGrooveShowsTheProgress()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, filledWidth);
    ArthurStyle style;
    QImage image(200, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        QStyleOptionProgressBar opt;
        opt.rect = image.rect();
        opt.minimum = minimum;
        opt.maximum = maximum;
        opt.progress = value;
        opt.state = QStyle::State_Enabled;
        style.drawControl(QStyle::CE_ProgressBarGroove, &opt, &p);
        style.drawControl(QStyle::CE_ProgressBarContents, &opt, &p);
    }
    int filled = 0;
    while (filled < image.width() && image.pixelColor(filled, 10) != QColor(Qt::white))
        ++filled;
    QVERIFY2(qAbs(filled - filledWidth) <= 1, qPrintable(QString::number(filled)));
    if (filledWidth == 200) {
        QVERIFY(image.pixelColor(2, 10).green() < 40);    // black at the left
        QVERIFY(image.pixelColor(197, 10).green() > 220); // green at the right
        QVERIFY(image.pixelColor(197, 10).red() < 20);
    }

    // The bar as the window shows it draws the same way.
    QProgressBar bar;
    bar.setStyle(&style);
    bar.setTextVisible(false);
    bar.resize(200, 20);
    bar.setRange(minimum, maximum);
    bar.setValue(value);
    renderOf(bar);
}

void TstStyles::groupBoxTitleMakesRoomForItsCaps()
{
    ArthurStyle style;
    QGroupBox box("L: 170");
    box.setAlignment(Qt::AlignHCenter);
    box.setStyle(&style);
    box.resize(80, 420);
    QStyleOptionGroupBox opt;
    opt.initFrom(&box);
    opt.text = box.title();
    opt.textAlignment = box.alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        style.subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, &box);
    QCOMPARE(label.width(), box.fontMetrics().horizontalAdvance("L: 170") + 7 + 9);
    QVERIFY(qAbs(label.left() + label.width() / 2 - 40) <= 1); // centred
    QVERIFY(label.left() >= 0 && label.right() < 80);
    const QImage shot = renderOf(box);
    QCOMPARE(shot.pixelColor(label.left() + 2, label.center().y()), QColor(90, 90, 90));
}

QTEST_MAIN(TstStyles)
#include "tst_styles.moc"
