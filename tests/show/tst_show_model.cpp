// The show's records start as a fresh program shows them, and the last-step mark stays unique.
#include "show.h"

#include <QtTest>

#include <memory>

using namespace lm740;

class TstShowModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void freshShowHasTheDocumentedDefaults();
    void slot170IsNeverTouchedByDefaults();
    void lastStepMarkIsUniqueWithinAProgram();
    void recordsCompareByValue();
};

void TstShowModel::freshShowHasTheDocumentedDefaults()
{
    auto show = std::make_unique<Show>();
    QVERIFY(!show->sceneColors[0][0].isValid()); // unset until the defaults are applied
    show->setShowDefaults();

    QCOMPARE(show->ledsNumber, 30);
    QCOMPARE(show->actualSceneNumber, 0);
    QCOMPARE(show->actualChaserNumber, 0);
    QCOMPARE(show->actualProgramNumber, 0);
    QCOMPARE(show->actualProgramSceneNumber, 0);
    for (const ColorArray &scene : show->sceneColors) {
        QCOMPARE(scene[0], QColor(0, 0, 0));
        QCOMPARE(scene[169], QColor(0, 0, 0));
    }
    for (const t_chaser &c : show->chasers) {
        QCOMPARE(c.time, 1000u);
        QCOMPARE(c.xfade, quint8(100));
        QCOMPARE(c.direction, quint8(1));
        QCOMPARE(c.pattern_len, quint8(1));
        QCOMPARE(c.repeat_number, quint8(1));
        QCOMPARE(c.colors[169].alpha(), 255);
    }
    for (const t_program &p : show->programs) {
        for (const t_program_scene &s : p.scenes) {
            QCOMPARE(s.scene_time, 1000u);
            QCOMPARE(s.scene_xfade, quint8(100));
            QCOMPARE(s.scene_laststep, quint8(0));
            QCOMPARE(s.colors[0], QColor(0, 0, 0));
        }
    }
    QVERIFY(!show->chaserSimColors[0].isValid());
}

void TstShowModel::slot170IsNeverTouchedByDefaults()
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    QVERIFY(!show->sceneColors[9][170].isValid());
    QVERIFY(!show->chasers[3].colors[170].isValid());
    QVERIFY(!show->programs[3].scenes[30].colors[170].isValid());
    // An invalid colour reads as black.
    QCOMPARE(show->sceneColors[9][170].red(), 0);
}

void TstShowModel::lastStepMarkIsUniqueWithinAProgram()
{
    auto program = std::make_unique<t_program>();
    setDefaults(*program);
    markLastStep(*program, 4, true);
    markLastStep(*program, 8, true);
    int marked = 0;
    for (const t_program_scene &s : program->scenes)
        marked += s.scene_laststep;
    QCOMPARE(marked, 1);
    QCOMPARE(program->scenes[8].scene_laststep, quint8(1));

    markLastStep(*program, 8, false);
    QCOMPARE(program->scenes[8].scene_laststep, quint8(0));
    markLastStep(*program, 31, true); // out of range: clears, marks nothing, writes nothing
    for (const t_program_scene &s : program->scenes)
        QCOMPARE(s.scene_laststep, quint8(0));
}

void TstShowModel::recordsCompareByValue()
{
    t_chaser a, b;
    setDefaults(a);
    setDefaults(b);
    QVERIFY(a == b);
    b.colors[5] = QColor(1, 2, 3);
    QVERIFY(!(a == b));
    b = a;
    b.repeat_number = 2;
    QVERIFY(!(a == b));
}

QTEST_APPLESS_MAIN(TstShowModel)
#include "tst_show_model.moc"
