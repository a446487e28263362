// Proves that the test environment reports leaks: this test leaks on purpose, from a test slot
// that QtTest calls through Qt's own code, as every test function is called. CTest expects
// LeakSanitizer's report in its output, so a suppression that hides our leaks behind the Qt
// frames above them makes it fail.
#include <QtTest>

namespace {

// Out of line, so the objects are made here and not folded into the caller.
Q_NEVER_INLINE void leakObjects()
{
    for (int i = 0; i < 32; ++i) {
        auto *lost = new QObject;
        lost->setObjectName(QStringLiteral("leaked on purpose %1").arg(i));
    }
}

} // namespace

class TstLeakCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void leaksAreReported() { leakObjects(); }
};

QTEST_GUILESS_MAIN(TstLeakCheck)
#include "tst_leak_check.moc"
