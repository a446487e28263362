// Draws the user manual's pictures from the program itself, so that they show the program as it
// is: the window on each tab, one lamp control with its parts named, a pass's progress dialog
// over the window, and the Pattern and Layout dialogs with a rainbow playing on a grid. Run by
// tools/manual_pictures.sh, once per language. usage: manual_pictures OUTDIR [en|pl]   (on any Qt
// platform; the script uses offscreen)
#include "layout_dialog.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "pattern_actions.h"
#include "pattern_dialog.h"
#include "prompts.h"
#include "sim_bus.h"
#include "sim_controller.h"
#include "super_rgb.h"
#include "translations.h"
#include "window_widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

// Answers every file dialog with one file and every question with its default.
class Answers : public lm740::Prompts
{
public:
    explicit Answers(const QString &file) : m_file(file) {}
    QMessageBox::StandardButton information(QWidget *, const QString &, const QString &,
                                            QMessageBox::StandardButtons,
                                            QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
    QMessageBox::StandardButton warning(QWidget *, const QString &, const QString &,
                                        QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
    QMessageBox::StandardButton critical(QWidget *, const QString &, const QString &,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        return QMessageBox::Ok;
    }
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        return QMessageBox::Yes;
    }
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_file;
    }
    QString getSaveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return m_file;
    }

private:
    QString m_file;
};

bool save(const QPixmap &picture, const QString &dir, const char *name)
{
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "manual_pictures: could not write %s\n", qPrintable(path));
    return false;
}

// A show worth looking at: a rainbow over the lamps, a chaser with a short pattern, a program.
void colourTheShow(MainWindow &w)
{
    for (int lamp = 0; lamp < lm740::kMaxLamps; ++lamp) {
        const QColor rainbow = QColor::fromHsv((lamp * 12) % 360, 255, 255);
        w.document().show().sceneColors[0][lamp] = rainbow;
        w.document().show().chasers[0].colors[lamp] =
            lamp % 5 < 2 ? QColor(255, 160, 0) : QColor(20, 0, 60);
        for (int step = 0; step < 3; ++step)
            w.document().show().programs[0].scenes[step].colors[lamp] =
                QColor::fromHsv((lamp * 6 + step * 120) % 360, 220, 255);
    }
    w.document().show().chasers[0].pattern_len = 5;
    w.document().show().chasers[0].repeat_number = 6;
    w.document().show().programs[0].scenes[2].scene_laststep = 1;
}

// One lamp control, enlarged, with its parts named beside it.
QPixmap namedLamp(SuperRGB *lamp, bool polish)
{
    struct Part
    {
        QWidget *widget;
        const char *english;
        const char *polish;
    };
    const Part parts[] = {
        {lamp->LampGroupBox, "lamp number", "numer lampy"},
        {lamp->EditColor, "colour field: double-click or drag",
         "pole koloru: dwuklik lub przeciągnij"},
        {lamp->EditGreen, "value fields (0-255)", "pola wartości (0-255)"},
        {lamp->ButtonGPlus, "plus buttons: +1", "przyciski plus: +1"},
        {lamp->SliderGreen, "red, green, blue sliders", "suwaki: czerwony, zielony, niebieski"},
        {lamp->ButtonGMinus, "minus buttons: -1", "przyciski minus: -1"},
        {lamp->LabelAddress2, "DMX addresses", "adresy DMX"},
    };
    constexpr int kScale = 2;
    constexpr int kLabels = 330;
    const QPixmap control = lamp->grab();
    QPixmap out(control.width() * kScale + kLabels, control.height() * kScale + 20);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(QRect(0, 10, control.width() * kScale, control.height() * kScale), control);
    QFont font = p.font();
    font.setPixelSize(15);
    p.setFont(font);
    const int textX = control.width() * kScale + 40;
    for (const Part &part : parts) {
        QPoint at = part.widget->mapTo(lamp, part.widget->rect().center()) * kScale;
        if (part.widget == lamp->LampGroupBox)
            at = QPoint(at.x(), 18);
        at += QPoint(0, 10);
        const int textY = std::clamp(at.y(), 20, out.height() - 10);
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(at, QPoint(textX - 6, textY));
        p.drawEllipse(at, 3, 3);
        p.setPen(Qt::black);
        p.drawText(QPoint(textX, textY + 5),
                   polish ? QString::fromUtf8(part.polish) : QString::fromUtf8(part.english));
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: manual_pictures OUTDIR [en|pl]\n", stderr);
        return 2;
    }
    const bool polish = argc > 2 && QByteArray(argv[2]) == "pl";
    // The controller on a simulated bus.
    lm740::SimController controller;
    lm740::SimBus bus;
    bus.plug(controller);
    lm740::setDefaultUsbBus(&bus);

    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    lm740::Translations translations;
    if (polish)
        translations.install(app, QLocale(QLocale::Polish));
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    QTemporaryDir scratch;
    Answers answers(scratch.filePath(QStringLiteral("memory.set")));
    lm740::setPrompts(&answers);

    bool ok = true;
    {
        MainWindow w;
        w.resize(900, 760);
        w.show();
        colourTheShow(w);
        w.document().setGlobals(30, w.document().show().sceneTime);
        // The lamp controls follow the window's first paint.
        for (int i = 0; i < 500 && w.scene()->lampsBuilt() < w.scene()->lampCount(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const char *tabs[] = {"window-scenes.png", "window-chasers.png", "window-programs.png"};
        for (int tab = 0; tab < 3; ++tab) {
            w.TabWidget->setCurrentIndex(tab);
            for (int i = 0; i < 40; ++i) // the preview strip fades in
                w.widgets().dockWidget->tick();
            QCoreApplication::processEvents();
            ok = save(w.grab(), outDir, tabs[tab]) && ok;
        }
        w.TabWidget->setCurrentIndex(0);
        QCoreApplication::processEvents();
        ok = save(namedLamp(w.scene()->lamp(2), polish), outDir, "lamp-control.png") && ok;

        // File > Read Settings, caught halfway: the dialog as it stands over the window.
        QPixmap pass;
        QTimer hook;
        hook.setInterval(0);
        QObject::connect(&hook, &QTimer::timeout, [&] {
            // The simulated controller answers at once: a moment per turn lets the pass be seen.
            if (pass.isNull())
                QThread::msleep(2);
            for (QWidget *top : QApplication::topLevelWidgets()) {
                auto *d = qobject_cast<QProgressDialog *>(top);
                if (!d || !d->isVisible() || d->value() < 200 || !pass.isNull())
                    continue;
                pass = w.grab();
                QPainter p(&pass);
                // The dialog where it stands over the window, under a plain title bar with its
                // title (the platform draws none of its own here).
                constexpr int kBar = 22;
                const QPoint at = d->geometry().topLeft() - w.geometry().topLeft();
                const QRect bar(at - QPoint(0, kBar), QSize(d->width(), kBar));
                p.fillRect(bar.united(QRect(at, d->size())).adjusted(-2, -2, 2, 2),
                           QColor(60, 60, 60));
                p.fillRect(bar, QColor(70, 100, 150));
                p.setPen(Qt::white);
                p.drawText(bar, Qt::AlignCenter, d->windowTitle());
                p.drawPixmap(at, d->grab());
                d->cancel();
            }
        });
        hook.start();
        w.File_Read_Settings(false);
        hook.stop();
        ok = !pass.isNull() && save(pass, outDir, "pass-progress.png") && ok;
    }
    {
        // 170 lamps on a 10 x 17 serpentine grid, a rainbow baked into program 1 and playing.
        MainWindow w;
        w.resize(900, 760);
        w.show();
        w.document().setGlobals(170, w.document().show().sceneTime);
        const lm740::Layout grid =
            *lm740::Layout::fromShape(QStringLiteral("grid:10x17:serpentine"), 170);
        {
            LayoutDialog layout(nullptr, 170, &w);
            layout.kind->setCurrentIndex(LayoutDialog::Serpentine);
            layout.widthSpin->setValue(10);
            layout.heightSpin->setValue(17);
            layout.resize(560, 620);
            layout.show();
            QCoreApplication::processEvents();
            ok = save(layout.grab(), outDir, "layout-dialog.png") && ok;
            w.findChild<PatternActions *>()->layout.set(layout.chosen());
        }
        {
            PatternDialog pattern(w.document(), grid, {}, &w);
            pattern.chooseScript(QStringLiteral("Rainbow"));
            // 31 steps: the whole program.
            qobject_cast<QSpinBox *>(pattern.propertyField(QStringLiteral("steps")))->setValue(31);
            pattern.targetKind->setCurrentIndex(PatternDialog::Program);
            pattern.resize(980, 560);
            pattern.show();
            for (int i = 0; i < 5; ++i)
                pattern.tick();
            QCoreApplication::processEvents();
            ok = save(pattern.grab(), outDir, "pattern-dialog.png") && ok;
            pattern.apply();
        }
        // Made taller by hand, as the manual says a user may, so that the cells show.
        w.resizeDocks({w.widgets().dockWidget}, {200}, Qt::Vertical);
        w.TabWidget->setCurrentIndex(2);
        w.start_program_simulation(true);
        for (int i = 0; i < 60; ++i)
            w.widgets().dockWidget->tick();
        QCoreApplication::processEvents();
        ok = save(w.grab(QRect(0, 0, w.width(), 445)), outDir, "grid-preview.png") && ok;
    }
    lm740::setPrompts(nullptr);
    lm740::setDefaultUsbBus(nullptr);
    return ok ? 0 : 1;
}
