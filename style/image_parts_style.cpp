#include "image_parts_style.h"
#include "style_images.h"

#include <QGroupBox>
#include <QLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleFactory>
#include <QStyleOption>

using namespace lm740;

namespace {

const QColor kWindowColor(241, 241, 241);

bool wantsHover(const QWidget *w)
{
    return qobject_cast<const QPushButton *>(w) || qobject_cast<const QRadioButton *>(w) ||
           qobject_cast<const QSlider *>(w);
}

// Caps keep their width and take the height of the target; the stretch fills what is between.
void drawThreePart(QPainter *p, const QRect &r, const QPixmap &left, const QPixmap &stretch,
                   const QPixmap &right)
{
    if (r.isEmpty())
        return;
    const int lw = left.isNull() ? 0 : qMin(left.width(), r.width() / 2);
    const int rw = right.isNull() ? 0 : qMin(right.width(), r.width() - lw);
    if (lw > 0)
        p->drawPixmap(QRect(r.left(), r.top(), lw, r.height()), left);
    if (rw > 0)
        p->drawPixmap(QRect(r.right() - rw + 1, r.top(), rw, r.height()), right);
    const QRect middle(r.left() + lw, r.top(), r.width() - lw - rw, r.height());
    if (!stretch.isNull() && !middle.isEmpty())
        p->drawPixmap(middle, stretch);
}

QPixmap titleCapLeft()
{
    return styleImage(QStringLiteral("title_cap_left.png"));
}

QPixmap titleCapRight()
{
    return styleImage(QStringLiteral("title_cap_right.png"));
}

void polishWidget(QWidget *w)
{
    if (auto *box = qobject_cast<QGroupBox *>(w); box && box->layout()) {
        if (box->findChild<QGroupBox *>())
            box->layout()->setContentsMargins(10, 10, 10, 10);
        else
            box->layout()->setSpacing(0);
    }
    if (wantsHover(w))
        w->setAttribute(Qt::WA_Hover, true);
    if (w->isWindow()) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, kWindowColor);
        w->setPalette(pal);
    }
}

void unpolishWidget(QWidget *w)
{
    if (wantsHover(w))
        w->setAttribute(Qt::WA_Hover, false);
}

void polishPalette(QPalette &pal)
{
    pal.setColor(QPalette::Window, kWindowColor);
}

void drawButtonPanel(const QStyleOption *opt, QPainter *p)
{
    const bool down = opt->state & (QStyle::State_Sunken | QStyle::State_On);
    const QString kind =
        down ? QStringLiteral("button_pressed_") : QStringLiteral("button_normal_");
    drawThreePart(p, opt->rect, styleImage(kind + QStringLiteral("cap_left.png")),
                  styleImage(kind + QStringLiteral("stretch.png")),
                  styleImage(kind + QStringLiteral("cap_right.png")));
    if ((opt->state & QStyle::State_Enabled) && (opt->state & QStyle::State_MouseOver))
        p->fillRect(opt->rect.adjusted(3, 5, -3, -5), QColor(31, 127, 31, 63));
}

void drawRadioIndicator(const QStyleOption *opt, QPainter *p)
{
    const QRect r = opt->rect;
    if (opt->state & QStyle::State_MouseOver) {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(Qt::NoPen);
        p->setBrush(QColor(31, 127, 31, 63));
        p->drawRoundedRect(QRectF(r).adjusted(-1, -1, 1, 1), 50, 50, Qt::RelativeSize);
        p->restore();
    }
    QString name = QStringLiteral("radiobutton_off.png");
    if (opt->state & QStyle::State_Sunken)
        name = QStringLiteral("radiobutton-on.png");
    else if (opt->state & QStyle::State_On)
        name = QStringLiteral("radiobutton_on.png");
    const QPixmap pm = styleImage(name);
    if (!pm.isNull())
        p->drawPixmap(r, pm);
}

void drawGroupBoxFrameAt(QPainter *p, const QRect &r)
{
    const QPixmap tl = styleImage(QStringLiteral("groupframe_topleft.png"));
    const QPixmap tr = styleImage(QStringLiteral("groupframe_topright.png"));
    const QPixmap bl = styleImage(QStringLiteral("groupframe_bottom_left.png"));
    const QPixmap br = styleImage(QStringLiteral("groupframe_bottom_right.png"));
    const QPixmap top = styleImage(QStringLiteral("groupframe_top_stretch.png"));
    const QPixmap bottom = styleImage(QStringLiteral("groupframe_bottom_stretch.png"));
    const QPixmap left = styleImage(QStringLiteral("groupframe_left_stretch.png"));
    const QPixmap right = styleImage(QStringLiteral("groupframe_right_stretch.png"));
    const QPixmap title = styleImage(QStringLiteral("title_stretch.png"));

    // Corner sizes; an image that is missing takes no room.
    const int cw = qMin(qMax(tl.width(), bl.width()), r.width() / 2);
    const int cwr = qMin(qMax(tr.width(), br.width()), r.width() / 2);
    const int ch = qMin(qMax(tl.height(), tr.height()), r.height() / 2);
    const int chb = qMin(qMax(bl.height(), br.height()), r.height() / 2);

    p->save();
    QPainterPath outline;
    const qreal radius = qMax(4, qMin(cw, ch));
    outline.addRoundedRect(QRectF(r), radius, radius);
    p->setClipPath(outline, Qt::IntersectClip);

    if (!tl.isNull())
        p->drawPixmap(QRect(r.left(), r.top(), cw, ch), tl);
    if (!tr.isNull())
        p->drawPixmap(QRect(r.right() - cwr + 1, r.top(), cwr, ch), tr);
    if (!bl.isNull())
        p->drawPixmap(QRect(r.left(), r.bottom() - chb + 1, cw, chb), bl);
    if (!br.isNull())
        p->drawPixmap(QRect(r.right() - cwr + 1, r.bottom() - chb + 1, cwr, chb), br);

    const int innerW = r.width() - cw - cwr;
    const int innerH = r.height() - ch - chb;
    if (innerW > 0) {
        // The band behind the title, across the top between the corners; the frame's top edge
        // goes over it so that the outline stays unbroken.
        if (!title.isNull())
            p->drawPixmap(QRect(r.left() + cw, r.top(), innerW, qMin(title.height(), ch)), title);
        if (!top.isNull())
            p->drawPixmap(QRect(r.left() + cw, r.top(), innerW, top.height()), top);
        if (!bottom.isNull())
            p->drawPixmap(
                QRect(r.left() + cw, r.bottom() - bottom.height() + 1, innerW, bottom.height()),
                bottom);
    }
    if (innerH > 0) {
        if (!left.isNull())
            p->drawPixmap(QRect(r.left(), r.top() + ch, left.width(), innerH), left);
        if (!right.isNull())
            p->drawPixmap(QRect(r.right() - right.width() + 1, r.top() + ch, right.width(), innerH),
                          right);
    }
    p->restore();
}

// Every lamp of the strip has a frame of one size: it is composed once for each size.
void drawGroupBoxFrame(const QStyleOption *opt, QPainter *p)
{
    const QPaintDevice *device = p->device();
    const QPixmap frame = styleDrawing(
        QStringLiteral("groupframe"), opt->rect.size(), device ? device->devicePixelRatio() : 1.0,
        [](QPainter &q, const QRect &r) { drawGroupBoxFrameAt(&q, r); });
    layDown(p, opt->rect.topLeft(), frame);
}

QRect groupBoxLabelRect(const QStyleOptionComplex *opt)
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(opt);
    if (!box)
        return {};
    const QPixmap capL = titleCapLeft();
    const QPixmap capR = titleCapRight();
    const QFontMetrics fm = box->fontMetrics;
    const int width = fm.horizontalAdvance(box->text) + capL.width() + capR.width();
    const int height = qMax(fm.height(), qMax(capL.height(), capR.height()));
    const QRect r = box->rect;
    int x = r.left();
    const Qt::Alignment h = Qt::Alignment(box->textAlignment) & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        x = r.left() + (r.width() - width) / 2;
    else if (h & Qt::AlignRight)
        x = r.right() - width + 1;
    return QRect(x, r.top(), width, height);
}

void drawGroupBox(const QStyle *base, const QStyle *proxy, const QStyleOptionComplex *opt,
                  QPainter *p, const QWidget *w)
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(opt);
    if (!box) {
        base->drawComplexControl(QStyle::CC_GroupBox, opt, p, w);
        return;
    }
    QStyleOptionGroupBox rest(*box);
    rest.subControls &= ~QStyle::SC_GroupBoxLabel;
    base->drawComplexControl(QStyle::CC_GroupBox, &rest, p, w);

    if (!(box->subControls & QStyle::SC_GroupBoxLabel) || box->text.isEmpty())
        return;
    const QRect label =
        proxy->subControlRect(QStyle::CC_GroupBox, opt, QStyle::SC_GroupBoxLabel, w);
    drawThreePart(p, label, titleCapLeft(), styleImage(QStringLiteral("title_stretch.png")),
                  titleCapRight());
    const QColor textColor =
        box->textColor.isValid() ? box->textColor : box->palette.color(QPalette::WindowText);
    p->save();
    p->setPen(textColor);
    p->drawText(label, Qt::AlignCenter | Qt::TextShowMnemonic, box->text);
    p->restore();
}

void drawPlainSlider(const QStyle *proxy, const QStyleOptionComplex *opt, QPainter *p,
                     const QWidget *w)
{
    const QRect groove = proxy->subControlRect(QStyle::CC_Slider, opt, QStyle::SC_SliderGroove, w);
    const QRect handle = proxy->subControlRect(QStyle::CC_Slider, opt, QStyle::SC_SliderHandle, w);
    const QPixmap bar = styleImage(QStringLiteral("slider_bar.png"));
    const QPixmap thumb = styleImage(QStringLiteral("slider_thumb_on.png"));
    if (!bar.isNull() && (opt->subControls & QStyle::SC_SliderGroove))
        p->drawPixmap(groove, bar);
    if (!thumb.isNull() && (opt->subControls & QStyle::SC_SliderHandle))
        p->drawPixmap(handle, thumb);
}

QRect adjustSubElementRect(QStyle::SubElement element, const QStyleOption *opt, const QWidget *w,
                           QRect fromBase)
{
    QRect r = fromBase;
    if (element == QStyle::SE_RadioButtonContents)
        r = opt->rect.adjusted(20, 0, 0, 0);
    else if (element == QStyle::SE_RadioButtonClickRect)
        r = opt->rect;
    if (qobject_cast<const QRadioButton *>(w))
        r.adjust(5, 0, -5, 0);
    return r;
}

bool sharedPixelMetric(QStyle::PixelMetric metric, int *value)
{
    if (metric == QStyle::PM_SliderLength) {
        *value = 13;
        return true;
    }
    return false;
}

QSize adjustSize(QStyle::ContentsType type, QSize fromBase)
{
    if (type == QStyle::CT_PushButton)
        fromBase.setHeight(26);
    else if (type == QStyle::CT_Slider)
        fromBase.setHeight(27);
    return fromBase;
}

} // namespace

ImagePartsStyle::ImagePartsStyle(QObject *parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
{
    setParent(parent);
}

void ImagePartsStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    polishWidget(widget);
}

void ImagePartsStyle::unpolish(QWidget *widget)
{
    unpolishWidget(widget);
    QProxyStyle::unpolish(widget);
}

void ImagePartsStyle::polish(QPalette &palette)
{
    QProxyStyle::polish(palette);
    polishPalette(palette);
}

QRect ImagePartsStyle::subElementRect(SubElement element, const QStyleOption *option,
                                      const QWidget *widget) const
{
    return adjustSubElementRect(element, option, widget,
                                QProxyStyle::subElementRect(element, option, widget));
}

QRect ImagePartsStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    if (control == CC_GroupBox && subControl == SC_GroupBoxLabel)
        return groupBoxLabelRect(option);
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

int ImagePartsStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                                 const QWidget *widget) const
{
    int value = 0;
    if (sharedPixelMetric(metric, &value))
        return value;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize ImagePartsStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                        const QSize &size, const QWidget *widget) const
{
    return adjustSize(type, QProxyStyle::sizeFromContents(type, option, size, widget));
}

void ImagePartsStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                    QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_PanelButtonCommand:
        drawButtonPanel(option, painter);
        return;
    case PE_IndicatorRadioButton:
        drawRadioIndicator(option, painter);
        return;
    case PE_FrameGroupBox:
        drawGroupBoxFrame(option, painter);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void ImagePartsStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                         QPainter *painter, const QWidget *widget) const
{
    if (control == CC_Slider) {
        drawPlainSlider(this, option, painter, widget);
        return;
    }
    if (control == CC_GroupBox) {
        drawGroupBox(baseStyle(), this, option, painter, widget);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
