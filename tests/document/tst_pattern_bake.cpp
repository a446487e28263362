// A pattern baked into each kind of item as one step of the document: which frame lands on which
// item, what the layout and a selection leave alone, a program's steps fitted, and the undo.
#include "pattern_step.h"

#include <QtTest>

using namespace lm740;

Q_DECLARE_METATYPE(BakeTarget)

namespace {

// What changed from `a` to `b`, item by item: "p0.28 f3 n4 0=500 5=1" is program 1 step 29, whose
// lamp 1 now shows frame 3 (its red channel), with 4 lamps changed, time 500 and the last-step
// mark.
QString changes(const Show &a, const Show &b)
{
    QStringList out;
    forEachItem([&](Item item) {
        const QString name =
            QStringLiteral("scp")[int(item.kind)] + QString::number(item.number) +
            (item.kind == ItemKind::ProgramStep ? '.' + QString::number(item.step) : QString());
        int lamps = 0;
        for (int lamp = 0; lamp < kColorSlots; ++lamp)
            lamps += colorsOf(a, item)[lamp] != colorsOf(b, item)[lamp];
        QString text = lamps ? QStringLiteral(" f%1 n%2").arg(colorsOf(b, item)[0].red()).arg(lamps)
                             : QString();
        for (Field f : kFields)
            if (fieldOf(a, item, f) != fieldOf(b, item, f))
                text += QStringLiteral(" %1=%2").arg(int(f)).arg(*fieldOf(b, item, f));
        if (!text.isEmpty())
            out << name + text;
    });
    return out.join(", ");
}

BakeTarget into(BakeTarget::Into kind, int number, int frame = 0, int firstStep = 0,
                Fit fit = Fit::Sample, QList<int> lamps = {})
{
    return {kind, number, frame, firstStep, 500, 50, fit, lamps};
}

} // namespace

class TstPatternBake : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachTargetOneStep_data();
    void eachTargetOneStep();
};

void TstPatternBake::eachTargetOneStep_data()
{
    QTest::addColumn<BakeTarget>("target");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("lamps");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("expected"); // changes(), or "error"
    QTest::addColumn<int>("fitted");
    using I = BakeTarget::Into;

    QTest::newRow("scene, lamps past the grid")
        << into(I::Scene, 3, 2) << "grid:3x2" << 8 << 3 << "s3 f2 n6" << 0;
    QTest::newRow("chaser") << into(I::Chaser, 1) << "grid:2x2:serpentine" << 4 << 1 << "c1 f0 n4"
                            << 0;
    QTest::newRow("selection") << into(I::Scene, 0, 1, 0, Fit::Cut, {1, 3, 7}) << "strip" << 4 << 2
                               << "s0 f250 n2" << 0;
    const QString step = QStringLiteral(" n4 0=500 1=50");
    QTest::newRow("program, sampled")
        << into(I::Program, 0, 0, 28) << "strip" << 4 << 10
        << "p0.28 f0" + step + ", p0.29 f3" + step + ", p0.30 f6" + step + " 5=1"
        << int(BakeOutcome::Fitted::Sampled);
    QTest::newRow("program, cut") << into(I::Program, 0, 0, 28, Fit::Cut) << "strip" << 4 << 10
                                  << "p0.28 f0" + step + ", p0.29 f1" + step + ", p0.30 f2" + step +
                                         " 5=1"
                                  << int(BakeOutcome::Fitted::Cut);
    QTest::newRow("program, all fit, the mark moves")
        << into(I::Program, 1) << "strip" << 4 << 2
        << "p1.0 f0" + step + ", p1.1 f1" + step + " 5=1, p1.30 5=0" << 0;
    QTest::newRow("no scene 11") << into(I::Scene, 10) << "strip" << 4 << 1 << "error" << 0;
    QTest::newRow("no chaser 0") << into(I::Chaser, -1) << "strip" << 4 << 1 << "error" << 0;
    QTest::newRow("no frame 3") << into(I::Chaser, 0, 3) << "strip" << 4 << 3 << "error" << 0;
    QTest::newRow("no frames") << into(I::Scene, 0) << "strip" << 4 << 0 << "error" << 0;
    QTest::newRow("no step 32") << into(I::Program, 0, 0, 31) << "strip" << 4 << 1 << "error" << 0;
    QTest::newRow("no step 0") << into(I::Program, 0, 0, -1) << "strip" << 4 << 1 << "error" << 0;
    BakeTarget slow = into(I::Program, 0), fast = slow, over = slow, under = slow;
    slow.stepTime = kMaxItemTimeMs + 1;
    fast.stepTime = -1;
    over.xfade = 101;
    under.xfade = -1;
    for (const BakeTarget &t : {slow, fast, over, under})
        QTest::newRow("time or cross-fade outside") << t << "strip" << 4 << 1 << "error" << 0;
}

void TstPatternBake::eachTargetOneStep()
{
    QFETCH(BakeTarget, target);
    QFETCH(QString, layout);
    QFETCH(int, lamps);
    QFETCH(int, frames);
    QFETCH(QString, expected);
    QFETCH(int, fitted);

    ShowDocument doc;
    doc.show().setShowDefaults();
    doc.show().ledsNumber = lamps;
    forEachItem([&](Item item) { colorsOf(doc.show(), item).fill(QColor(250, 0, 0)); });
    markLastStep(doc.show().programs[1], 30, true);
    doc.reset();
    const Show before = doc.show();

    PatternFrames drawn{4, 2, frames, {}, {}};
    for (int f = 0; f < frames; ++f) {
        drawn.steps.push_back(f);
        drawn.frames.push_back({});
        for (int cell = 0; cell < 8; ++cell)
            drawn.frames.back().push_back(qRgb(f, cell, 200));
    }
    // A frame of the wrong size is refused whatever the target.
    QVERIFY(!bakePatternStep(doc, "Bad", {2, 2, 1, {0}, {{1, 2, 3}}}, Layout(), target));
    BakeOutcome outcome;
    QString error;
    const bool baked = bakePatternStep(doc, "Rainbow", drawn, *Layout::fromShape(layout, lamps),
                                       target, &outcome, &error);
    QCOMPARE(baked ? changes(before, doc.show()) : QStringLiteral("error"), expected);
    QCOMPARE(error.isEmpty(), baked);
    QCOMPARE(doc.undoStack().count(), baked ? 1 : 0);
    if (!baked)
        return;
    QCOMPARE(int(outcome.fitted), fitted);
    QCOMPARE(doc.undoStack().text(0), "Apply pattern Rainbow");
    QCOMPARE(doc.itemOfStep(0)->number, target.number);
    doc.undo();
    QCOMPARE(changes(before, doc.show()), QString());
    doc.redo();
    QCOMPARE(changes(before, doc.show()), expected);
}

QTEST_GUILESS_MAIN(TstPatternBake)
#include "tst_pattern_bake.moc"
