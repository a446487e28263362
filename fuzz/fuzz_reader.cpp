// One libFuzzer target per reader of files users give the program. The build compiles this file
// once for each, with LM740_FUZZ_TARGET naming the reader: 0 the number reader, 1 to 6 the scene,
// scene set, chaser, chaser set, program and program set readers, 7 the settings image reader,
// 8 the upgrade file reader.
// Besides crashes and sanitizer reports, each target checks what its reader promises.
#include "settings_image.h"
#include "text_files.h"
#include "upgrade_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <memory>

#ifndef LM740_FUZZ_TARGET
#error "LM740_FUZZ_TARGET must name the reader"
#endif

using namespace lm740;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void fuzzNumbers(QByteArrayView bytes)
{
    const files::Numbers numbers = files::readNumbers(bytes);
    // Every number needs a digit, so there are never more numbers than digits.
    qsizetype digits = 0;
    for (const char c : bytes)
        digits += (c >= '0' && c <= '9');
    check(qsizetype(numbers.values.size()) <= digits);
    check(numbers.firstTooLarge < qsizetype(numbers.values.size()));
}

void fuzzText(files::Format format, QByteArrayView bytes)
{
    files::TextFile file;
    if (!files::readTextFile(format, bytes, &file))
        return;
    check(file.values >= 0 && file.values <= int(files::kMaxValues));
    check(file.scenes.size() <= kSceneCount && file.chasers.size() <= kChaserCount &&
          file.programs.size() <= kProgramCount);
    for (const auto &steps : file.programs)
        check(steps.size() <= kProgramSteps);

    // What is stored and written again reads back to the same text.
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    files::storeInShow(file, *show);
    const int lamps = file.lamps();
    if (lamps < kMinLamps)
        return;
    const QByteArray once = files::writeTextFile(format, *show, lamps);
    files::TextFile again;
    check(files::readTextFile(format, once, &again));
    check(again.lamps() == lamps);
    files::storeInShow(again, *show);
    check(files::writeTextFile(format, *show, lamps) == once);
}

void fuzzImage(QByteArrayView bytes)
{
    // Through a real file, as the window reads it.
    static const QString path = QDir::temp().filePath(
        QStringLiteral("lm740-fuzz-%1.set").arg(QCoreApplication::applicationPid()));
    {
        QFile out(path);
        check(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(out.write(bytes.data(), bytes.size()) == bytes.size());
    }
    QByteArray image;
    const bool read = image::readSettingsFile(path, &image);
    check(read == (bytes.size() == layout::kImageSize));
    if (!read)
        return;

    auto show = std::make_unique<Show>();
    image::HeaderValues header;
    check(image::unpackShow(image, *show, &header));
    check(header.lamps == quint8(bytes[layout::kLampsNumber]));
    // Packing what was loaded and loading it again changes nothing.
    const QByteArray packed =
        image::packShow(*show, header.lamps, header.sceneTime, image::HeaderStyle::Save);
    auto again = std::make_unique<Show>();
    check(image::unpackShow(packed, *again, nullptr));
    check(again->sceneColors == show->sceneColors && again->chasers == show->chasers &&
          again->programs == show->programs);
}

void fuzzUpgrade(QByteArrayView bytes)
{
    const QByteArray file = bytes.toByteArray();
    // Nothing longer than the checksum and the read-back cover passes.
    const bool right = upgrade::checksumIsRight(file);
    check(!right || (file.size() >= 2 && file.size() <= upgrade::kMaxFileSize));
    check(upgrade::imageOf(file).size() <= upgrade::kMaxFileSize);
    upgrade::Header header;
    if (upgrade::readHeader(file, &header) == upgrade::HeaderError::None) {
        check(header.nameLine.contains(upgrade::kProductName) && header.release >= 0);
        check(header.imageOffset > 0 && header.imageOffset <= file.size());
        check(file.at(header.imageOffset - 1) == '\0');
    }
    // A file of ours around any image up to the limit passes the check.
    const QByteArray ours = upgrade::makeFile("fw_1_05", file.left(upgrade::kMaxFileSize - 17));
    check(upgrade::checksumIsRight(ours));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    switch (const int target = LM740_FUZZ_TARGET) {
    case 0:
        fuzzNumbers(bytes);
        break;
    case 7:
        fuzzImage(bytes);
        break;
    case 8:
        fuzzUpgrade(bytes);
        break;
    default:
        fuzzText(files::Format(target - 1), bytes);
        break;
    }
    return 0;
}
