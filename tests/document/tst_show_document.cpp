// The show document: a step holds only what changed and undoes and redoes exactly; the panel's
// edits gather into one step per gesture, named after what they changed; nested changes make one
// step; what was kept decides whether the show counts as modified.
#include "show_document.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace lm740;

namespace {

void fillShow(Show &show)
{
    show.setShowDefaults();
    forEachItem([&](Item item) {
        ColorArray &colors = colorsOf(show, item);
        for (int lamp = 0; lamp < kMaxLamps; ++lamp)
            colors[size_t(lamp)] = QColor(item.number * 20 + item.step, lamp, int(item.kind) * 90);
    });
}

using Work = std::function<void(Show &)>;

} // namespace

Q_DECLARE_METATYPE(Work)

class TstShowDocument : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stepsUndoAndRedoExactly_data();
    void stepsUndoAndRedoExactly();
    void panelEditsGatherByGesture();
    void keptValuesDecideModified();
    void currentItemFollowsEveryChoice();
};

void TstShowDocument::stepsUndoAndRedoExactly_data()
{
    QTest::addColumn<Work>("work");
    QTest::addColumn<int>("lamps");  // lamp colours the step holds
    QTest::addColumn<int>("fields"); // fields the step holds
    QTest::newRow("one lamp of the last step")
        << Work([](Show &s) { s.programs[3].scenes[30].colors[169] = Qt::red; }) << 1 << 0;
    QTest::newRow("chaser time beyond the panel")
        << Work([](Show &s) { s.chasers[2].time = 75000; }) << 0 << 1;
    QTest::newRow("direction and pattern") << Work([](Show &s) {
        s.chasers[0].direction = 3;
        s.chasers[0].pattern_len = 255;
    }) << 0 << 2;
    QTest::newRow("last-step mark moves") << Work([](Show &s) {
        markLastStep(s.programs[1], 4, true);
        markLastStep(s.programs[1], 9, true);
    }) << 0 << 1;
    QTest::newRow("spare slot 170")
        << Work([](Show &s) { s.sceneColors[9][170] = Qt::blue; }) << 1 << 0;
    QTest::newRow("lamp count and scene time") << Work([](Show &s) {
        s.ledsNumber = 170;
        s.sceneTime = 60;
    }) << 0 << 0;
    QTest::newRow("whole show") << Work([](Show &s) {
        forEachItem([&](Item item) { colorsOf(s, item).fill(QColor(1, 2, 3)); });
    }) << (kSceneCount + kChaserCount + kProgramCount * kProgramSteps) * kColorSlots
                                << 0;
}

void TstShowDocument::stepsUndoAndRedoExactly()
{
    QFETCH(Work, work);
    QFETCH(int, lamps);
    QFETCH(int, fields);
    ShowDocument doc;
    fillShow(doc.show());
    doc.reset();
    const Show before = doc.show();
    QSignalSpy changed(&doc, &ShowDocument::itemChanged);

    QVERIFY(doc.change(QStringLiteral("step"), Item::scene(0), work));
    const Show after = doc.show();
    QCOMPARE(doc.undoStack().count(), 1);
    const ShowDelta delta = ShowDelta::between(before, after);
    QCOMPARE(delta.lampCount(), lamps);
    int fieldCount = 0;
    for (const ShowDelta::ItemChange &c : delta.items)
        fieldCount += int(c.fields.size());
    QCOMPARE(fieldCount, fields);
    QCOMPARE(changed.size(), int(delta.items.size()));

    doc.undo();
    QVERIFY(sameRecords(doc.show(), before));
    QVERIFY(!doc.isModified());
    doc.redo();
    QVERIFY(sameRecords(doc.show(), after));
    QVERIFY(doc.isModified());
    for (const ShowDelta::ItemChange &c : delta.items)
        QVERIFY(doc.isModified(c.item));

    // Nothing changed, no step; a change inside another is part of the outer step.
    QVERIFY(!doc.change(QStringLiteral("none"), Item::scene(0), [](Show &) {}));
    doc.change(QStringLiteral("outer"), Item::scene(0), [&](Show &s) {
        s.sceneColors[1][0] = Qt::green;
        doc.change(QStringLiteral("inner"), Item::scene(1),
                   [](Show &inner) { inner.sceneColors[1][1] = Qt::green; });
    });
    QCOMPARE(doc.undoStack().count(), 2);
    QCOMPARE(doc.undoStack().undoText(), QStringLiteral("outer"));
    doc.undo();
    QVERIFY(sameRecords(doc.show(), after));
}

void TstShowDocument::panelEditsGatherByGesture()
{
    ShowDocument doc;
    fillShow(doc.show());
    doc.reset();
    QUndoStack &stack = doc.undoStack();
    const Item chaser = Item::chaser(1);
    const ColorArray original = doc.show().chasers[1].colors;

    // A drag over two lamps that ends where it began: no step, nothing modified.
    for (const QColor &c : {QColor(1, 0, 0), QColor(2, 0, 0), original[4]}) {
        doc.editLamp(chaser, 4, c);
        doc.editLamp(chaser, 5, c == original[4] ? original[5] : c);
        QCoreApplication::processEvents();
    }
    QCOMPARE(stack.count(), 0);
    QVERIFY(!doc.isModified());

    // One drag: many values over three lamps, in several turns of the event loop, one gesture.
    for (int v = 0; v < 50; ++v) {
        for (int lamp : {4, 5, 6})
            doc.editLamp(chaser, lamp, QColor(v, 0, 0));
        QCoreApplication::processEvents();
    }
    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.undoText(), QStringLiteral("Change 3 lamps"));
    // A value typed into a field is a step of its own, even in the same gesture.
    doc.editField(chaser, Field::Time, 75000);
    doc.editField(chaser, Field::Time, 7500);
    doc.closeEdit();
    QCOMPARE(stack.count(), 2);
    QCOMPARE(stack.undoText(), QStringLiteral("Change time"));
    QCOMPARE(doc.show().chasers[1].time, 7500u);
    // A new gesture, a paste over one lamp.
    doc.newGesture();
    doc.nameEdit(ShowDocument::EditName::Paste);
    doc.editLamp(chaser, 0, Qt::white);
    doc.closeEdit();
    QCOMPARE(stack.undoText(), QStringLiteral("Paste lamp 1"));
    // The next gesture is named again from what it changes; a scene has no fields to edit.
    doc.newGesture();
    doc.editLamp(Item::scene(2), 7, Qt::white);
    doc.editField(Item::scene(2), Field::Time, 5);
    doc.editLamp(Item(ItemKind::Scene, kSceneCount, 0), 0, Qt::white);
    doc.closeEdit();
    QCOMPARE(stack.count(), 4);
    QCOMPARE(stack.undoText(), QStringLiteral("Change lamp 8"));

    doc.undo();
    doc.undo();
    doc.undo();
    QCOMPARE(doc.show().chasers[1].time, 1000u);
    QCOMPARE(doc.show().chasers[1].colors[6], QColor(49, 0, 0));
    doc.undo();
    QCOMPARE(doc.show().chasers[1].colors, original);
    QVERIFY(!doc.isModified());
    // An edit after an undo drops the steps that could be redone.
    doc.editLamp(chaser, 1, Qt::black);
    doc.closeEdit();
    QVERIFY(!stack.canRedo());
}

void TstShowDocument::keptValuesDecideModified()
{
    ShowDocument doc;
    doc.reset();
    QSignalSpy modified(&doc, &ShowDocument::modifiedChanged);
    const Item step = Item::programStep(2, 30);
    doc.editLamp(step, 0, Qt::red);
    doc.editLamp(Item::scene(0), 0, Qt::red);
    doc.closeEdit();
    QVERIFY(doc.isModified());
    QVERIFY(doc.isModified(step));
    QCOMPARE(modified.size(), 1);
    // Keeping one item leaves the other's edit unkept.
    doc.keep(step);
    QVERIFY(!doc.isModified(step));
    QVERIFY(doc.isModified());
    doc.keep(Item::scene(0));
    QVERIFY(!doc.isModified());
    // An undo back to what was kept is modified again (the kept state has the edit).
    doc.undo();
    QVERIFY(doc.isModified());
    doc.redo();
    QVERIFY(!doc.isModified());
    // The globals are kept apart from the items.
    doc.change(QStringLiteral("count"), step, [](Show &s) { s.ledsNumber = 3; });
    QVERIFY(doc.isModified());
    QVERIFY(!doc.isModified(step));
    doc.keepGlobals();
    QVERIFY(!doc.isModified());
    doc.change(QStringLiteral("time"), step, [](Show &s) { s.sceneTime = 9; });
    doc.keepAll();
    QVERIFY(!doc.isModified());
    QCOMPARE(modified.size(), 8);
}

void TstShowDocument::currentItemFollowsEveryChoice()
{
    // Any run of choices, valid or not: the document agrees with a plain model of them, and
    // tells its views once for each choice that changed something.
    ShowDocument doc;
    QSignalSpy told(&doc, &ShowDocument::currentChanged);
    QRandomGenerator random(25);
    ItemKind kind = ItemKind::Scene;
    std::array<Item, 3> chosen{Item::scene(0), Item::chaser(0), Item::programStep(0, 0)};
    std::array<int, kProgramCount> steps{};
    int changes = 0;
    for (int round = 0; round < 2000; ++round) {
        const Item item{ItemKind(random.bounded(3)), random.bounded(-1, 11),
                        random.bounded(-1, 32)};
        const bool bring = random.bounded(2) == 0;
        bring ? doc.setCurrent(item) : doc.choose(item);
        if (item.valid() &&
            (!(chosen[size_t(item.kind)] == item) || (bring && item.kind != kind))) {
            ++changes;
            chosen[size_t(item.kind)] = item;
            kind = bring ? item.kind : kind;
            if (item.kind == ItemKind::ProgramStep)
                steps[size_t(item.number)] = item.step;
        }
        QVERIFY(doc.current() == chosen[size_t(kind)]);
        for (int p = 0; p < kProgramCount; ++p)
            QCOMPARE(doc.chosenStep(p), steps[size_t(p)]);
    }
    QCOMPARE(told.size(), changes);
    // The lamp count is cut to what the controller takes; the scene time is stored as given.
    doc.setGlobals(0, 75, QStringLiteral("x"));
    QCOMPARE(std::pair(doc.show().ledsNumber, doc.show().sceneTime), std::pair(kMinLamps, 75));
    doc.setGlobals(500, 2);
    QCOMPARE(doc.show().ledsNumber, kMaxLamps);
    QCOMPARE(doc.undoStack().count(), 2);
}

QTEST_MAIN(TstShowDocument)
#include "tst_show_document.moc"
