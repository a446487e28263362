// Writes upgrade files of our own for tests and trials on the simulated controller: any image
// (one of ours, or the bytes of a file), with a correct header and checksum.
#include "safe_file.h"
#include "upgrade_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace lm740;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("make_upgrade_file"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes an Lm740 upgrade file: a name line, a release line, a zero byte, the image and "
        "its CRC-16. Without --image the image is one of ours, which names its release so that "
        "the simulated controller reports it after the upgrade."));
    parser.addHelpOption();
    const QCommandLineOption release(QStringLiteral("release"),
                                     QStringLiteral("Release line, e.g. fw_0_17 (the default)."),
                                     QStringLiteral("text"), QStringLiteral("fw_0_17"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Bytes of our own image (default 20000)."),
                                  QStringLiteral("bytes"), QStringLiteral("20000"));
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Take the image from this file instead."),
                                   QStringLiteral("file"));
    const QCommandLineOption name(QStringLiteral("name"),
                                  QStringLiteral("Name line (default Lm740)."),
                                  QStringLiteral("text"), QStringLiteral("Lm740"));
    parser.addOptions({release, size, image, name});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The .upg file."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    QByteArray bytes;
    if (parser.isSet(image)) {
        QFile in(parser.value(image));
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make_upgrade_file: %s: %s\n", qPrintable(in.fileName()),
                         qPrintable(in.errorString()));
            return 1;
        }
        bytes = in.readAll();
    } else {
        bool ok = false;
        const int n = parser.value(size).toInt(&ok);
        if (!ok || n < 0) {
            std::fprintf(stderr, "make_upgrade_file: --size wants a number of bytes\n");
            return 2;
        }
        bytes = upgrade::makeImage(parser.value(release).toLatin1(), n);
    }

    const QByteArray file =
        upgrade::makeFile(parser.value(release).toLatin1(), bytes, parser.value(name).toLatin1());
    if (bytes.size() + 2 < upgrade::kMinImageSize)
        std::fprintf(stderr,
                     "make_upgrade_file: warning: an image of %lld bytes with its checksum, fewer "
                     "than the %lld of the smallest firmware; the program will refuse it\n",
                     qlonglong(bytes.size() + 2), qlonglong(upgrade::kMinImageSize));
    if (file.size() > upgrade::kMaxFileSize)
        std::fprintf(stderr,
                     "make_upgrade_file: warning: %lld bytes, more than the %lld an Lm740 "
                     "upgrade file may have; the program will refuse it\n",
                     qlonglong(file.size()), qlonglong(upgrade::kMaxFileSize));
    const QString out = parser.positionalArguments().constFirst();
    QString error;
    if (!files::writeFileSafely(out, file, &error)) {
        std::fprintf(stderr, "make_upgrade_file: %s: %s\n", qPrintable(out), qPrintable(error));
        return 1;
    }
    return 0;
}
