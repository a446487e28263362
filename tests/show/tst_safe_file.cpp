// The one writer and reader of files: a failed write (a file-size limit stands in for a full disk)
// leaves the old file whole and says the system's reason; what is not a regular file is neither
// replaced nor waited on; links and permissions survive a replacement.
#include "safe_file.h"

#include "file_size_limit.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace lm740;

class TstSafeFile : public QObject
{
    Q_OBJECT

private slots:
    void writesWholeOrNotAtAll_data();
    void writesWholeOrNotAtAll();
    void replacementKeepsLinksAndPermissions();
    void readsRegularFilesOnly_data();
    void readsRegularFilesOnly();
};

namespace {

enum class Target { Old, Missing, MissingFolder, Fifo, Folder };

QStringList entries(const QTemporaryDir &dir)
{
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

} // namespace

void TstSafeFile::writesWholeOrNotAtAll_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("limit"); // a file-size limit, 0 for none
    QTest::addColumn<QString>("reason");

    QTest::newRow("replaces") << Target::Old << 0 << QString();
    QTest::newRow("new file") << Target::Missing << 0 << QString();
    // The limit lets a part of the new bytes through: the write that fails is not the first.
    QTest::newRow("full") << Target::Old << 5000 << QString("File too large");
    QTest::newRow("full, new file") << Target::Missing << 1 << QString("File too large");
    QTest::newRow("no folder") << Target::MissingFolder << 0
                               << QString("No such file or directory");
    QTest::newRow("fifo") << Target::Fifo << 0 << QString("it is not a regular file");
    QTest::newRow("folder") << Target::Folder << 0 << QString("it is not a regular file");
}

void TstSafeFile::writesWholeOrNotAtAll()
{
    QFETCH(Target, target);
    QFETCH(int, limit);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString name =
        dir.filePath(target == Target::MissingFolder ? "gone/show.set" : "show.set");
    const QByteArray old(3000, 'o');
    if (target == Target::Old)
        QVERIFY(files::writeFileSafely(name, old));
    if (target == Target::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
    if (target == Target::Folder)
        QVERIFY(QDir(dir.path()).mkdir("show.set"));
    const QStringList before = entries(dir);

    const QByteArray bytes(131072, 'n');
    QString error;
    bool written = false;
    QCOMPARE(files::canWriteFileSafely(name, &error), reason.isEmpty() || limit);
    QCOMPARE(error, limit ? QString() : reason);
    {
        std::optional<FileSizeLimit> full;
        if (limit)
            full.emplace(rlim_t(limit));
        written = files::writeFileSafely(name, bytes, &error);
    }
    QCOMPARE(written, reason.isEmpty());
    QCOMPARE(error, reason);

    if (target == Target::Missing && !written)
        QVERIFY(!QFileInfo::exists(name));
    else if (target == Target::Missing)
        QCOMPARE(entries(dir), QStringList{"show.set"});
    else
        QCOMPARE(entries(dir), before); // nothing left beside it
    QByteArray back;
    if (written || target == Target::Old) {
        QVERIFY(files::readRegularFile(name, 1 << 20, &back));
        QCOMPARE(back, written ? bytes : old);
    }
    QFileInfo info(name);
    QCOMPARE(info.isDir(), target == Target::Folder);
    QCOMPARE(info.isFile(), target != Target::Fifo && target != Target::Folder && info.exists());
}

void TstSafeFile::replacementKeepsLinksAndPermissions()
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.set");
    const QString link = dir.filePath("link.set");
    QVERIFY(files::writeFileSafely(real, "old"));
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(real, link));

    QVERIFY(files::writeFileSafely(link, "new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QByteArray back;
    QVERIFY(files::readRegularFile(real, 100, &back));
    QCOMPARE(back, QByteArray("new"));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(real).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0640));

    // A new file takes the user's umask as any other program's would.
    const mode_t mask = ::umask(027);
    QVERIFY(files::writeFileSafely(dir.filePath("new.set"), "x"));
    ::umask(mask);
    QCOMPARE(::stat(QFile::encodeName(dir.filePath("new.set")).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0640));
}

void TstSafeFile::readsRegularFilesOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size");

    QTest::newRow("whole") << "file" << QString() << QByteArray("0123456789") << qint64(10);
    QTest::newRow("cut at the limit")
        << "long" << QString() << QByteArray("0123456789ab") << qint64(20);
    QTest::newRow("missing") << "missing"
                             << "No such file or directory" << QByteArray() << qint64(-1);
    // Neither waits for a writer.
    QTest::newRow("fifo") << "fifo"
                          << "it is not a regular file" << QByteArray() << qint64(-1);
    QTest::newRow("device") << "/dev/zero"
                            << "it is not a regular file" << QByteArray() << qint64(-1);
    QTest::newRow("folder") << "."
                            << "it is not a regular file" << QByteArray() << qint64(-1);
}

void TstSafeFile::readsRegularFilesOnly()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QTemporaryDir dir;
    QVERIFY(files::writeFileSafely(dir.filePath("file"), "0123456789"));
    QVERIFY(files::writeFileSafely(dir.filePath("long"), "0123456789abcdefghij"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0644), 0);

    QByteArray read = "untouched";
    qint64 readSize = -1;
    QString error;
    const bool ok = files::readRegularFile(name.startsWith('/') ? name : dir.filePath(name), 12,
                                           &read, &readSize, &error);
    QCOMPARE(ok, reason.isEmpty());
    QCOMPARE(error, reason);
    QCOMPARE(readSize, size);
    QCOMPARE(read, ok ? bytes : QByteArray("untouched"));
}

QTEST_GUILESS_MAIN(TstSafeFile)
#include "tst_safe_file.moc"
