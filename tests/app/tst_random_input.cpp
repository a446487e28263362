// Random input over the whole window on a simulated controller: clicks, double clicks, drags, wheel
// turns and keys at random points of whatever is in front (the window, an open menu, a dialog),
// menu commands, and every question and file dialog answered at random. One seed replays a run;
// LM740_RANDOM_SEED and LM740_RANDOM_EVENTS choose another or a longer one.
#include "window_rig.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

namespace {

QRandomGenerator rng;
int pick(int n)
{
    return int(rng.bounded(quint32(std::max(n, 1))));
}

// A button the question offers, or a file of the test's folder (or Cancel) for a file dialog.
class RandomPrompts : public lm740::Prompts
{
public:
    using B = QMessageBox::StandardButton;
    using Bs = QMessageBox::StandardButtons;
    explicit RandomPrompts(const QString &dir) : m_dir(dir) { lm740::setPrompts(this); }
    ~RandomPrompts() override { lm740::setPrompts(nullptr); }
    B information(QWidget *, const QString &, const QString &, Bs b, B) override { return of(b); }
    B warning(QWidget *, const QString &, const QString &, Bs b, B) override { return of(b); }
    B critical(QWidget *, const QString &, const QString &, Bs b, B) override { return of(b); }
    B question(QWidget *, const QString &, const QString &, Bs b, B) override { return of(b); }
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return file();
    }
    QString getSaveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return file();
    }

private:
    static B of(Bs offered)
    {
        QList<B> all{QMessageBox::Ok};
        for (quint32 bit = 1; bit; bit <<= 1)
            if (offered & bit)
                all << B(bit);
        return all[pick(int(all.size()))];
    }
    QString file() const
    {
        const QString name = QStringList{"",      "a.set", "a.scn", "a.scs", "a.chr",
                                         "a.chs", "a.pgm", "a.pgs", "a.bin"}[pick(9)];
        return name.isEmpty() ? name : m_dir + '/' + name;
    }
    QString m_dir;
};

// The open menu, a modal dialog, the progress dialog of a pass, or else the window.
QWidget *front(QWidget *window)
{
    if (QWidget *w = QApplication::activePopupWidget())
        return w;
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible() && qobject_cast<QDialog *>(w))
            return w;
    return window;
}

const Qt::Key kKeys[] = {Qt::Key_0,      Qt::Key_2,         Qt::Key_5,      Qt::Key_9,
                         Qt::Key_A,      Qt::Key_C,         Qt::Key_V,      Qt::Key_Z,
                         Qt::Key_R,      Qt::Key_S,         Qt::Key_Return, Qt::Key_Escape,
                         Qt::Key_Tab,    Qt::Key_Up,        Qt::Key_Down,   Qt::Key_PageUp,
                         Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space,  Qt::Key_F1};
const Qt::KeyboardModifiers kMods[] = {Qt::NoModifier,      Qt::NoModifier,    Qt::NoModifier,
                                       Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier};

} // namespace

class TstRandomInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowSurvivesRandomInput();
};

void TstRandomInput::windowSurvivesRandomInput()
{
    QTemporaryDir dir;
    for (const char *v : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        qputenv(v, dir.path().toLocal8Bit());
    const quint32 seed = qEnvironmentVariableIsSet("LM740_RANDOM_SEED")
                             ? quint32(qEnvironmentVariableIntValue("LM740_RANDOM_SEED"))
                             : 3;
    int left = qEnvironmentVariableIsSet("LM740_RANDOM_EVENTS")
                   ? qEnvironmentVariableIntValue("LM740_RANDOM_EVENTS")
                   : 2000;
    qInfo("seed %u, %d events", seed, left);
    rng.seed(seed);
    WindowRig rig;
    RandomPrompts prompts(dir.path());
    MainWindow &w = *rig.window;
    w.setHelpViewer({}); // F1 and the help button tell where the manual is, and start nothing
    w.resize(1000, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Each step posts the next before it acts, so that input goes on inside the event loop of a
    // dialog, menu or drag that the step opens, as a user's would; not inside the turns of the
    // event loop that QTest takes within one step.
    QEventLoop loop;
    QList<int> acting; // the event loop levels of the steps under way
    std::function<void(QWidget *, QWindow *, QDialog *)> act;
    std::function<void()> step = [&] {
        const int level = QThread::currentThread()->loopLevel();
        QWidget *top = front(&w);
        if (acting.isEmpty() && left <= 0 && top == &w && level == 1)
            return loop.quit();
        QMetaObject::invokeMethod(&loop, step, Qt::QueuedConnection);
        if (!acting.isEmpty() && acting.last() == level)
            return;
        --left;
        QWindow *win = top->windowHandle();
        auto *dialog = qobject_cast<QDialog *>(top);
        acting << level;
        if (!top->isVisible())
            top->show(); // the window closed by File > Exit comes back
        else if (left >= 0 && acting.size() < 4 && win)
            act(top, win, dialog);
        else if (dialog || !win) // winding down, or deep in loops: close what is open
            dialog ? dialog->reject() : void(top->close());
        else
            QTest::keyClick(win, Qt::Key_Escape); // and end a drag
        acting.removeLast();
    };
    act = [&](QWidget *top, QWindow *win, QDialog *dialog) {
        // Every kind of widget (class and name) is as likely as any other: the window has one
        // lamp count box but thirty of each lamp field.
        QMap<QString, QList<QWidget *>> kinds{{QString(), {top}}};
        for (QWidget *c : top->findChildren<QWidget *>())
            if (c->isVisibleTo(top) && !c->isWindow())
                kinds[c->metaObject()->className() + c->objectName()] << c;
        const QList<QWidget *> &kind = kinds[kinds.keys()[pick(int(kinds.size()))]];
        QWidget *target = kind[pick(int(kind.size()))];
        auto inside = [&] { return QPoint(pick(target->width()), pick(target->height())); };
        auto there = [&] { // a lamp scrolled out of view lies outside the window
            const QPoint p = target->mapTo(top, inside());
            return QPoint(std::clamp(p.x(), 0, top->width() - 1),
                          std::clamp(p.y(), 0, top->height() - 1));
        };
        const QPoint at = there();
        const Qt::KeyboardModifiers mods = kMods[pick(6)];
        switch (pick(14)) {
        case 0:
        case 1:
        case 2:
            return QTest::mouseClick(win, pick(8) ? Qt::LeftButton : Qt::RightButton, mods, at);
        case 3:
        case 4:
            return QTest::mouseDClick(win, Qt::LeftButton, mods, at);
        case 5:
            QTest::mousePress(win, Qt::LeftButton, mods, at);
            QTest::mouseMove(win, there());
            return QTest::mouseRelease(win, Qt::LeftButton, mods, there());
        case 6: {
            QWheelEvent wheel(inside(), target->mapToGlobal(inside()), {},
                              {0, pick(2) ? 120 : -120}, Qt::NoButton, mods, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(target, &wheel);
            return;
        }
        case 7:
        case 8:
        case 9:
            return QTest::keyClick(win, kKeys[pick(int(std::size(kKeys)))], mods);
        case 10: // a number typed over what the field holds, and applied or not
            QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
            for (const QChar c : QString::number(pick(200)))
                QTest::keyClick(win, c.toLatin1());
            return pick(3) ? void() : QTest::keyClick(win, Qt::Key_Return);
        case 11:
            if (dialog)
                return pick(2) ? dialog->accept() : dialog->reject();
            [[fallthrough]];
        default: {
            QList<QAction *> actions = w.findChildren<QAction *>();
            actions.removeIf([](QAction *a) { return !a->isEnabled() || a->menu(); });
            if (top == &w && !actions.isEmpty())
                actions[pick(int(actions.size()))]->trigger();
        }
        }
    };
    QMetaObject::invokeMethod(&loop, step, Qt::QueuedConnection);
    loop.exec();
    QCOMPARE(w.scene()->lampCount(), w.document().show().ledsNumber);
}

QTEST_MAIN(TstRandomInput)
#include "tst_random_input.moc"
