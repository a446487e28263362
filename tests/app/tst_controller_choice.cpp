// The window with several controllers: the USB menu's Controller submenu, the status text that
// names the chosen one, and a status poll that follows it by name, says when it is gone and never
// moves to another by itself; with one controller none of it shows.
#include "controller_chooser.h"
#include "main_window.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "simulated_lm740_view.h"
#include "window_widgets.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace lm740;

class TstControllerChoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void oneControllerShowsNoChoice();
    void choosingAmongSeveral_data();
    void choosingAmongSeveral();
    void keepsToTheOneItWorkedWith();

private:
    // The entries of the submenu as "label", with "*" for the checked one and "-" for a disabled
    // one; empty when the submenu is hidden.
    QStringList entries() const
    {
        QMenu *menu = m_window->session().chooser()->menu();
        if (!menu->menuAction()->isVisible())
            return {};
        QStringList out;
        for (QAction *a : menu->actions())
            out << a->text() + (a->isChecked() ? "*" : "") + (a->isEnabled() ? "" : "-");
        return out;
    }
    QString status() const { return m_window->widgets().connectionLabel->text(); }
    // The simulated controllers' dock, as it was started with each of them.
    void showSimulated()
    {
        for (std::size_t i = 0; i < m_controllers.size(); ++i) {
            SimOptions faults;
            if (i == 1)
                faults.serial = "B1"; // as the dock tells it among its faults
            m_window->showSimulatedController(*m_controllers[i], faults,
                                              m_rig->bus.socketOf(*m_controllers[i]));
        }
    }
    // Its title, the release on its LCD, its faults and the last request in its list: which
    // controller it watches.
    QString watched() const
    {
        const SimulatedLm740View *view = m_window->widgets().simulatorView;
        const QAbstractItemModel *requests = view->requestModel();
        return view->windowTitle() + ", " + view->lcdLines().value(1) + ", " +
               view->faultLines().join('/') + ", " +
               requests->data(requests->index(0, 0)).toString();
    }
    // Which memories the lamp count 12 reached, as "a", "b", ...
    QString write()
    {
        m_window->UsbSetByte(layout::kLampsNumber, 12);
        QString reached;
        for (int i = 0; i < int(m_controllers.size()); ++i)
            if (m_controllers[i]->byteAt(layout::kLampsNumber) == 12) {
                reached += QChar('a' + i);
                m_controllers[i]->setByteAt(layout::kLampsNumber, 30);
            }
        return reached;
    }
    void poll() { m_window->USBCheckStatus(); }
    void choose(const QString &label)
    {
        for (QAction *a : m_window->session().chooser()->menu()->actions())
            if (a->text() == label)
                a->trigger();
    }
    void plug(int count)
    {
        for (int n = 0; n < count; ++n) {
            const std::size_t i = m_controllers.size();
            SimController &c =
                i == 0 ? m_rig->controller : *m_extra.emplace_back(new SimController);
            if (i == 1)
                c.setRelease(0, 15);
            m_controllers.push_back(&c);
            m_rig->bus.plug(c);
        }
    }

    std::unique_ptr<SimRig> m_rig;
    std::vector<std::unique_ptr<SimController>> m_extra;
    std::vector<SimController *> m_controllers;
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<MainWindow> m_window;
};

void TstControllerChoice::init()
{
    m_rig = std::make_unique<SimRig>(SimRig::Start::Unplugged);
    m_rig->makeDefaultBus();
    m_prompts = std::make_unique<RecordingPrompts>();
}

void TstControllerChoice::cleanup()
{
    m_window.reset();
    m_prompts.reset();
    for (SimController *c : m_controllers)
        m_rig->bus.unplug(*c);
    m_controllers.clear();
    m_extra.clear();
    m_rig.reset();
}

void TstControllerChoice::oneControllerShowsNoChoice()
{
    plug(1);
    m_window = std::make_unique<MainWindow>();
    showSimulated();
    QCOMPARE(status(), QStringLiteral("Lm740 Connected"));
    QCOMPARE(entries(), QStringList());
    QCOMPARE(write(), QStringLiteral("a"));
    poll();
    QCOMPARE(watched(), QStringLiteral("Simulated Lm740, rel_0_16, none, Identify"));
}

void TstControllerChoice::choosingAmongSeveral_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("two") << 2;
    QTest::newRow("three") << 3;
}

void TstControllerChoice::choosingAmongSeveral()
{
    QFETCH(int, count);
    plug(count);
    m_window = std::make_unique<MainWindow>();
    showSimulated();
    // Nobody has chosen: none is reached, and the status says what to do.
    QCOMPARE(status(),
             QStringLiteral("%1 Lm740s connected: choose one in USB > Controller").arg(count));
    QVERIFY(!m_window->session().answered());
    QStringList expected{"1-1 (rel_0_16)", "1-2 (rel_0_15)", "1-3 (rel_0_16)"};
    expected = expected.mid(0, count);
    QCOMPARE(entries(), expected);
    QCOMPARE(write(), QString());
    QVERIFY(m_prompts->calls.isEmpty());
    QCOMPARE(watched(), QStringLiteral("Simulated Lm740 1-1, rel_0_16, none, Identify (repeated)"));

    choose(QStringLiteral("1-2 (rel_0_15)"));
    QCOMPARE(status(), QStringLiteral("Lm740 1-2 (rel_0_15) Connected"));
    QVERIFY(m_window->session().answered());
    QCOMPARE(m_prompts->texts(), QStringList{"Plase upgrade device to version 16"});
    expected[1] += "*";
    QCOMPARE(entries(), expected);
    QCOMPARE(write(), QStringLiteral("b"));
    QCOMPARE(watched(),
             QStringLiteral("Simulated Lm740 1-2, rel_0_15, serial number B1, Write byte"));

    // Gone: said so, and nothing reaches the others.
    m_rig->bus.unplug(*m_controllers[1]);
    poll();
    QCOMPARE(status(), QStringLiteral("Lm740 1-2 is gone"));
    QVERIFY(!m_window->session().answered());
    QCOMPARE(write(), QString());
    expected.removeAt(1);
    QCOMPARE(entries(), expected + QStringList{"1-2 (gone)*-"});
    QCOMPARE(watched(),
             QStringLiteral("Simulated Lm740 1-2, rel_0_15, serial number B1, Write byte"));

    // Back in its socket: followed again.
    m_rig->bus.plug(*m_controllers[1]);
    poll();
    QCOMPARE(status(), QStringLiteral("Lm740 1-2 (rel_0_15) Connected"));
    QCOMPARE(write(), QStringLiteral("b"));

    choose(QStringLiteral("1-1 (rel_0_16)"));
    QCOMPARE(status(), QStringLiteral("Lm740 1-1 (rel_0_16) Connected"));
    QCOMPARE(write(), QStringLiteral("a"));
    QCOMPARE(watched(), QStringLiteral("Simulated Lm740 1-1, rel_0_16, none, Write byte"));
}

void TstControllerChoice::keepsToTheOneItWorkedWith()
{
    plug(1);
    m_window = std::make_unique<MainWindow>();
    QCOMPARE(write(), QStringLiteral("a"));
    // Another one comes: the window stays with the first, and now names it.
    plug(1);
    poll();
    QCOMPARE(status(), QStringLiteral("Lm740 1-1 (rel_0_16) Connected"));
    QCOMPARE(entries(), QStringList({"1-1 (rel_0_16)*", "1-2 (rel_0_15)"}));
    QCOMPARE(write(), QStringLiteral("a"));
    // The first goes: the window never moves to the second by itself.
    m_rig->bus.unplug(m_rig->controller);
    poll();
    QCOMPARE(status(), QStringLiteral("Lm740 1-1 is gone"));
    QCOMPARE(write(), QString());
    // The user chooses the second: its older firmware is told, as the first one's would have been.
    QVERIFY(m_prompts->calls.isEmpty());
    choose(QStringLiteral("1-2 (rel_0_15)"));
    QCOMPARE(status(), QStringLiteral("Lm740 1-2 (rel_0_15) Connected"));
    QCOMPARE(m_prompts->texts(), QStringList{"Plase upgrade device to version 16"});
}

QTEST_MAIN(TstControllerChoice)
#include "tst_controller_choice.moc"
