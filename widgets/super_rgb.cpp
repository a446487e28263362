#include "super_rgb.h"
#include "logging.h"

#include <QCoreApplication>
#include <QStyle>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// What a value field may hold: one or two digits, or three digits up to 255 (leading zeros
// allowed); an empty field is on its way to a value. With the fields' maximum length of 3 no value
// above 255 can be typed. Every text a field is given goes through it, typed or written by a
// slider, so it is plain code rather than a regular expression.
class ValueValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (input.isEmpty())
            return Intermediate;
        bool digits = input.size() <= 3;
        for (const QChar c : std::as_const(input))
            digits = digits && c >= u'0' && c <= u'9';
        if (digits && (input.size() < 3 || input.toInt() <= 255))
            return Acceptable;
        pos = int(input.size());
        return Invalid;
    }
};

QString threeDigits(int value)
{
    return QString::number(value).rightJustified(3, QLatin1Char('0'));
}

// The pure colour of one channel: shift 16 red, 8 green, 0 blue.
QColor channelColor(int value, int shift)
{
    return QColor::fromRgb(qRgb(0, 0, 0) | (uint(value & 0xff) << shift));
}

// Palette changes are dear and lamps are many; skip the ones that would change nothing.
void setBaseColor(QWidget *w, const QColor &c)
{
    const QPalette &current = w->palette();
    if (current.isBrushSet(QPalette::Active, QPalette::Base) && current.color(QPalette::Base) == c)
        return;
    QPalette p = current;
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

} // namespace

SuperRGB::SuperRGB(QWidget *parent, quint8 r, quint8 g, quint8 b, quint16 index) : QWidget(parent)
{
    setupUi(this);
    fitToHeight();

    red = r;
    green = g;
    blue = b;
    lampIndex = index;
    qCDebug(lcEditor) << "Lamp " << lampIndex << " constructor";

    // White digits on the channel's own colour. Both roles go in with one palette change: the
    // panel builds 170 lamps and palette changes are what construction spends most on.
    const int shifts[3] = {16, 8, 0};
    const quint8 values[3] = {r, g, b};
    ColorLineEdit *const edits[3] = {EditRed, EditGreen, EditBlue};
    for (int i = 0; i < 3; ++i) {
        QPalette p = edits[i]->palette();
        p.setColor(QPalette::Text, Qt::white);
        p.setColor(QPalette::Base, channelColor(values[i], shifts[i]));
        edits[i]->setPalette(p);
    }

    setRedColor(r);
    setGreenColor(g);
    setBlueColor(b);
    SliderRed->setValue(r);
    SliderGreen->setValue(g);
    SliderBlue->setValue(b);

    LampGroupBox->setTitle(QCoreApplication::translate("Lamp", "L: %1").arg(int(lampIndex) + 1));
    LabelAddress1->setText(QString::number(3 * int(lampIndex) + 1));
    LabelAddress2->setText(QString::number(3 * int(lampIndex) + 2));
    LabelAddress3->setText(QString::number(3 * int(lampIndex) + 3));
    nameControls();

    // Only after setRedColor and its kin have written the fields' texts: a line edit runs its
    // validator on every text it is given, and the texts written here are valid by construction.
    valueValidator = new ValueValidator(this);
    EditRed->setValidator(valueValidator);
    EditGreen->setValidator(valueValidator);
    EditBlue->setValidator(valueValidator);

    EditRed->installEventFilter(EditRed);
    EditGreen->installEventFilter(EditGreen);
    EditBlue->installEventFilter(EditBlue);

    connect(SliderRed, &QSlider::valueChanged, this, &SuperRGB::setRedColor);
    connect(SliderGreen, &QSlider::valueChanged, this, &SuperRGB::setGreenColor);
    connect(SliderBlue, &QSlider::valueChanged, this, &SuperRGB::setBlueColor);
    connect(EditRed, &QLineEdit::textChanged, this, &SuperRGB::textRedChanged);
    connect(EditGreen, &QLineEdit::textChanged, this, &SuperRGB::textGreenChanged);
    connect(EditBlue, &QLineEdit::textChanged, this, &SuperRGB::textBlueChanged);
    connect(ButtonRPlus, &QPushButton::clicked, SliderRed, &ColorSlider::plus);
    connect(ButtonGPlus, &QPushButton::clicked, SliderGreen, &ColorSlider::plus);
    connect(ButtonBPlus, &QPushButton::clicked, SliderBlue, &ColorSlider::plus);
    connect(ButtonRMinus, &QPushButton::clicked, SliderRed, &ColorSlider::minus);
    connect(ButtonGMinus, &QPushButton::clicked, SliderGreen, &ColorSlider::minus);
    connect(ButtonBMinus, &QPushButton::clicked, SliderBlue, &ColorSlider::minus);
    connect(EditColor, &ColorLineEdit::redChanged, SliderRed, &ColorSlider::setValue);
    connect(EditColor, &ColorLineEdit::greenChanged, SliderGreen, &ColorSlider::setValue);
    connect(EditColor, &ColorLineEdit::blueChanged, SliderBlue, &ColorSlider::setValue);
    connect(SliderRed, &QSlider::sliderMoved, this, &SuperRGB::sliderRedMoved);
    connect(SliderGreen, &QSlider::sliderMoved, this, &SuperRGB::sliderGreenMoved);
    connect(SliderBlue, &QSlider::sliderMoved, this, &SuperRGB::sliderBlueMoved);
}

void SuperRGB::fitToHeight()
{
    // The form places its parts at fixed heights; in layouts instead, the control takes the height
    // the strip gives it, down to what its parts need with short sliders.
    constexpr int kShortestSlider = 80;
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(LampGroupBox);
    auto *inner = new QVBoxLayout(LampGroupBox);
    inner->setContentsMargins(2, 17, 3, 2); // the parts' place inside the frame in the form
    inner->addWidget(verticalLayout);
    for (ColorSlider *slider : {SliderRed, SliderGreen, SliderBlue}) {
        slider->setMinimumHeight(kShortestSlider);
        slider->setMaximumHeight(QWIDGETSIZE_MAX);
        slider->setSizePolicy(slider->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    }
    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(LampGroupBox)}) {
        w->setMinimumHeight(0);
        w->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void SuperRGB::nameControls()
{
    // A screen reader meets a strip of up to 170 lamps: each control says whose and which it is.
    const QString lamp = QCoreApplication::translate("Lamp", "Lamp %1").arg(int(lampIndex) + 1);
    auto name = [&lamp](QWidget *w, const char *text, const QString &channel) {
        w->setAccessibleName(QCoreApplication::translate("Lamp", text).arg(lamp, channel));
    };
    EditColor->setAccessibleName(QCoreApplication::translate("Lamp", "%1, colour").arg(lamp));
    const QString channels[3] = {QCoreApplication::translate("Lamp", "red"),
                                 QCoreApplication::translate("Lamp", "green"),
                                 QCoreApplication::translate("Lamp", "blue")};
    QWidget *const controls[3][4] = {{SliderRed, EditRed, ButtonRPlus, ButtonRMinus},
                                     {SliderGreen, EditGreen, ButtonGPlus, ButtonGMinus},
                                     {SliderBlue, EditBlue, ButtonBPlus, ButtonBMinus}};
    for (int c = 0; c < 3; ++c) {
        name(controls[c][0], QT_TRANSLATE_NOOP("Lamp", "%1, %2"), channels[c]);
        name(controls[c][1], QT_TRANSLATE_NOOP("Lamp", "%1, %2 value"), channels[c]);
        name(controls[c][2], QT_TRANSLATE_NOOP("Lamp", "%1, %2 up"), channels[c]);
        name(controls[c][3], QT_TRANSLATE_NOOP("Lamp", "%1, %2 down"), channels[c]);
    }
}

bool SuperRGB::isRedSelected() const
{
    return SliderRed->isSelected();
}

bool SuperRGB::isGreenSelected() const
{
    return SliderGreen->isSelected();
}

bool SuperRGB::isBlueSelected() const
{
    return SliderBlue->isSelected();
}

void SuperRGB::applyStyle(QStyle *style)
{
    LampGroupBox->setStyle(style);
    const QList<QWidget *> inside = LampGroupBox->findChildren<QWidget *>();
    for (QWidget *w : inside)
        w->setStyle(style);
}

template <class F> void SuperRGB::asOneColor(F &&set)
{
    ++colorHeld;
    set();
    if (--colorHeld == 0 && colorOwed) {
        colorOwed = false;
        updateRGBColor();
    }
}

void SuperRGB::setChannel(quint8 &channel, int value, ColorLineEdit *edit, int shift)
{
    channel = quint8(value);
    if (colorHeld > 0)
        colorOwed = true;
    else
        updateRGBColor();
    // The field shows the stored byte, so a value outside 0..255 reaches the slider wrapped
    // rather than clamped, and slider, field and colour end up agreeing.
    // A text written again costs a layout and a validation, and loading a show writes every
    // channel of every lamp.
    if (!echoGuard) {
        const QString text = threeDigits(channel);
        if (edit->text() != text)
            edit->setText(text);
    }
    echoGuard = false;
    setBaseColor(edit, channelColor(channel, shift));
}

void SuperRGB::setRedColor(int value)
{
    setChannel(red, value, EditRed, 16);
}

void SuperRGB::setGreenColor(int value)
{
    setChannel(green, value, EditGreen, 8);
}

void SuperRGB::setBlueColor(int value)
{
    setChannel(blue, value, EditBlue, 0);
}

void SuperRGB::typedChannel(const QString &text, ColorSlider *slider, ColorLineEdit *edit,
                            int shift)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return;
    echoGuard = true;
    slider->setValue(value);
    echoGuard = false;
    // The slider has clamped whatever the text said; colour the field after what was taken.
    setBaseColor(edit, channelColor(slider->value(), shift));
}

void SuperRGB::textRedChanged(QString text)
{
    typedChannel(text, SliderRed, EditRed, 16);
}

void SuperRGB::textGreenChanged(QString text)
{
    typedChannel(text, SliderGreen, EditGreen, 8);
}

void SuperRGB::textBlueChanged(QString text)
{
    typedChannel(text, SliderBlue, EditBlue, 0);
}

void SuperRGB::redPlusPlus()
{
    SliderRed->plus();
}

void SuperRGB::greenPlusPlus()
{
    SliderGreen->plus();
}

void SuperRGB::bluePlusPlus()
{
    SliderBlue->plus();
}

void SuperRGB::redMinusMinus()
{
    SliderRed->minus();
}

void SuperRGB::greenMinusMinus()
{
    SliderGreen->minus();
}

void SuperRGB::blueMinusMinus()
{
    SliderBlue->minus();
}

void SuperRGB::updateRGBColor()
{
    color = QColor(red, green, blue, 255);
    setBaseColor(EditColor, color);
    emit colorChanged(color);
}

void SuperRGB::setRGB(uint r, uint g, uint b)
{
    // Values beyond int would wrap negative; the slider clamps what is left.
    asOneColor([&] {
        SliderRed->setValue(int(qMin(r, 255u)));
        SliderGreen->setValue(int(qMin(g, 255u)));
        SliderBlue->setValue(int(qMin(b, 255u)));
    });
}

void SuperRGB::setValueIfSelected(int value)
{
    asOneColor([&] {
        SliderRed->setValueIfSelected(value);
        SliderGreen->setValueIfSelected(value);
        SliderBlue->setValueIfSelected(value);
    });
}

void SuperRGB::sliderRedMoved(int value)
{
    if (!SliderRed->isSelected())
        return;
    qCDebug(lcEditor) << "selected emit value: " << value << objectName();
    emit selectedSliderValueChange(value);
}

void SuperRGB::sliderGreenMoved(int value)
{
    if (!SliderGreen->isSelected())
        return;
    qCDebug(lcEditor) << "selected emit value: " << value << objectName();
    emit selectedSliderValueChange(value);
}

void SuperRGB::sliderBlueMoved(int value)
{
    if (!SliderBlue->isSelected())
        return;
    qCDebug(lcEditor) << "selected emit value: " << value << objectName();
    emit selectedSliderValueChange(value);
}

void SuperRGB::setAll(bool state)
{
    SliderRed->setSelected(state);
    SliderGreen->setSelected(state);
    SliderBlue->setSelected(state);
}

void SuperRGB::selectRed(bool state)
{
    SliderRed->setSelected(state);
}

void SuperRGB::selectGreen(bool state)
{
    SliderGreen->setSelected(state);
}

void SuperRGB::selectBlue(bool state)
{
    SliderBlue->setSelected(state);
}

void SuperRGB::changePercentifSelected(int percent)
{
    asOneColor([&] {
        SliderRed->changePercentifSelected(percent);
        SliderGreen->changePercentifSelected(percent);
        SliderBlue->changePercentifSelected(percent);
    });
}
