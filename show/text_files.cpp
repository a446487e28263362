#include "text_files.h"

#include "safe_file.h"

#include <algorithm>

namespace lm740::files {

namespace {

// White space as the loaders have always split it: the Latin-1 space characters.
bool isSpace(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0x85 || u == 0xA0;
}

bool fail(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

// Walks the numbers of a file that has been checked to hold enough of them, noting each value
// its field does not keep as the file says it.
class Cursor
{
public:
    Cursor(const Numbers &numbers, qsizetype first, TextFile *file)
        : m_numbers(numbers), m_pos(first), m_altered(numbers.altered.begin()),
          m_changes(file->changes)
    {
        // An altered number of the header changed the file's shape already; it is said too.
        for (auto a = numbers.altered.begin(); a != numbers.altered.end() && a->index < first; ++a)
            m_changes.push_back({-1, -1, -1, QStringLiteral("number %1").arg(a->index + 1),
                                 QString::fromLatin1(a->piece),
                                 QString::number(numbers.values[std::size_t(a->index)])});
    }

    // The record (and program step) the values that follow go into.
    void at(int record, int step = -1)
    {
        m_record = record;
        m_step = step;
    }

    // A time in milliseconds, kept whole in the records; the controller and the settings image
    // hold its low 16 bits in tenths of a second.
    quint32 time()
    {
        const Read r = next();
        const QString ms = QStringLiteral("%1 ms");
        if (!r.piece.isEmpty())
            note(QStringLiteral("time"), -1, ms.arg(r.text()), ms.arg(r.value));
        const quint32 kept = (r.value & 0xFFFF) / 100 * 100;
        if (kept != r.value)
            note(QStringLiteral("time"), -1, ms.arg(r.value), ms.arg(kept), true);
        return r.value;
    }

    // An 8-bit field: its low 8 bits.
    quint8 byte(const char *field)
    {
        const Read r = next();
        const auto kept = quint8(r.value & 0xFF);
        if (kept != r.value || !r.piece.isEmpty())
            note(QLatin1String(field), -1, r.text(), QString::number(kept));
        return kept;
    }

    // `values` colour values: whole triples become colours from slot 0, a value above 255 making
    // its slot invalid; one or two left over are skipped, so they never reach the next record.
    void colors(quint32 values, ColorArray &colors)
    {
        static const QString names[] = {QStringLiteral("red"), QStringLiteral("green"),
                                        QStringLiteral("blue")};
        for (quint32 lamp = 0; lamp < values / 3; ++lamp) {
            const Read rgb[] = {next(), next(), next()};
            const bool black = rgb[0].value > 255 || rgb[1].value > 255 || rgb[2].value > 255;
            colors[lamp] =
                black ? QColor() : QColor(int(rgb[0].value), int(rgb[1].value), int(rgb[2].value));
            if (black)
                note(
                    QStringLiteral("colour"), int(lamp),
                    QStringList{rgb[0].text(), rgb[1].text(), rgb[2].text()}.join(QLatin1Char(' ')),
                    QStringLiteral("black"));
            else
                for (int i = 0; i < 3; ++i)
                    if (!rgb[i].piece.isEmpty())
                        note(names[i], int(lamp), rgb[i].text(), QString::number(rgb[i].value));
        }
        m_pos += values % 3;
    }

private:
    struct Read
    {
        quint32 value;
        QByteArray piece; // the piece of the file when its number is not what it says
        QString text() const
        {
            return piece.isEmpty() ? QString::number(value) : QString::fromLatin1(piece);
        }
    };

    Read next()
    {
        const auto end = m_numbers.altered.end();
        while (m_altered != end && m_altered->index < m_pos)
            ++m_altered;
        Read r{m_numbers.values[std::size_t(m_pos)], {}};
        if (m_altered != end && m_altered->index == m_pos)
            r.piece = m_altered->piece;
        ++m_pos;
        return r;
    }

    void note(const QString &field, int lamp, const QString &read, const QString &stored,
              bool controllerOnly = false)
    {
        m_changes.push_back({m_record, m_step, lamp, field, read, stored, controllerOnly});
    }

    const Numbers &m_numbers;
    qsizetype m_pos;
    std::vector<Numbers::Altered>::const_iterator m_altered;
    std::vector<Change> &m_changes;
    int m_record = 0;
    int m_step = -1;
};

// The checks every reader makes before it stores anything: enough numbers for the header, every
// number within 32 bits, at most 510 values per record.
bool checkHeader(const Numbers &numbers, qsizetype headerNumbers, QString *why)
{
    const auto count = qsizetype(numbers.values.size());
    if (count == 0)
        return fail(why, QStringLiteral("the file holds no number"));
    if (count < headerNumbers)
        return fail(why, QStringLiteral("the file holds %1 numbers, its header alone needs %2")
                             .arg(count)
                             .arg(headerNumbers));
    if (numbers.firstTooLarge >= 0)
        return fail(why, QStringLiteral("number %1 of the file does not fit in 32 bits")
                             .arg(numbers.firstTooLarge + 1));
    if (numbers.values[0] > kMaxValues)
        return fail(why, QStringLiteral("%1 colour values per record, at most %2 fit")
                             .arg(numbers.values[0])
                             .arg(kMaxValues));
    return true;
}

bool checkCapacity(quint32 declared, int capacity, const char *what, QString *why)
{
    if (declared <= quint32(capacity))
        return true;
    return fail(why, QStringLiteral("the file declares %1 %2, the show holds %3")
                         .arg(declared)
                         .arg(QLatin1String(what))
                         .arg(capacity));
}

// The counts are products of 32-bit header numbers, so they are worked out in 64 bits.
bool checkCount(const Numbers &numbers, quint64 expected, QString *why)
{
    if (numbers.values.size() == expected)
        return true;
    return fail(why, QStringLiteral("the file holds %1 numbers where its header announces %2")
                         .arg(numbers.values.size())
                         .arg(expected));
}

void readChaser(Cursor &cursor, quint32 values, t_chaser &chaser)
{
    chaser.time = cursor.time();
    chaser.direction = cursor.byte("direction");
    chaser.pattern_len = cursor.byte("pattern length");
    chaser.repeat_number = cursor.byte("repeat");
    chaser.xfade = cursor.byte("cross-fade");
    cursor.colors(values, chaser.colors);
}

void readSteps(Cursor &cursor, int program, quint32 values, quint32 steps,
               std::vector<t_program_scene> &out)
{
    out.resize(steps);
    for (std::size_t s = 0; s < out.size(); ++s) {
        t_program_scene &step = out[s];
        cursor.at(program, int(s));
        step.scene_time = cursor.time();
        step.scene_xfade = cursor.byte("cross-fade");
        step.scene_laststep = cursor.byte("last step");
        cursor.colors(values, step.colors);
    }
}

void start(TextFile *file, Format format, quint32 values)
{
    *file = TextFile();
    file->format = format;
    file->values = int(values);
    // The lamp count the file carries is raised to the least there is where it is applied.
    if (file->lamps() < kMinLamps)
        file->changes.push_back({-1, -1, -1, QStringLiteral("lamp count"),
                                 QString::number(file->lamps()), QString::number(kMinLamps)});
}

void storeColors(const ColorArray &from, int lamps, ColorArray &to)
{
    std::copy_n(from.begin(), boundedLampCount(lamps), to.begin());
}

void storeChaser(const t_chaser &from, int lamps, t_chaser &to)
{
    storeColors(from.colors, lamps, to.colors);
    to.time = from.time;
    to.xfade = from.xfade;
    to.direction = from.direction;
    to.pattern_len = from.pattern_len;
    to.repeat_number = from.repeat_number;
}

void storeSteps(const std::vector<t_program_scene> &from, int lamps, t_program &to)
{
    for (std::size_t s = 0; s < from.size() && s < to.scenes.size(); ++s) {
        storeColors(from[s].colors, lamps, to.scenes[s].colors);
        to.scenes[s].scene_time = from[s].scene_time;
        to.scenes[s].scene_xfade = from[s].scene_xfade;
        to.scenes[s].scene_laststep = from[s].scene_laststep;
    }
}

// ---- writing ----

void appendLine(QByteArray &out, const char *label, quint32 value)
{
    out += label;
    out += QByteArray::number(value);
    out += "\r\n";
}

void appendMarkLine(QByteArray &out, const char *label, int marks)
{
    out += label;
    out += QByteArray(marks, '#');
    out += "\r\n";
}

void appendColors(QByteArray &out, const ColorArray &colors, int lamps)
{
    for (int lamp = 0; lamp < lamps; ++lamp) {
        const QColor &c = colors[lamp];
        appendLine(out, "", quint32(c.red()));
        appendLine(out, "", quint32(c.green()));
        appendLine(out, "", quint32(c.blue()));
    }
}

void appendChaserBody(QByteArray &out, const t_chaser &chaser, int lamps)
{
    appendLine(out, "Chaser_time ", chaser.time);
    appendLine(out, "chaser_direction ", chaser.direction);
    appendLine(out, "chaser_pattern_len ", chaser.pattern_len);
    appendLine(out, "chaser_repeat_number ", chaser.repeat_number);
    appendLine(out, "chaser_xfade ", chaser.xfade);
    appendColors(out, chaser.colors, lamps);
}

void appendSteps(QByteArray &out, const t_program &program, int lamps)
{
    for (int s = 0; s < kProgramSteps; ++s) {
        const t_program_scene &step = program.scenes[s];
        appendMarkLine(out, "Next scene ", s);
        appendLine(out, "scene_time ", step.scene_time);
        appendLine(out, "scene_xfade ", step.scene_xfade);
        appendLine(out, "scene_laststep ", step.scene_laststep);
        appendColors(out, step.colors, lamps);
    }
}

// A writer's lamp count: what the arrays hold, and at least one lamp.
int writtenLamps(int lamps)
{
    return std::max(kMinLamps, boundedLampCount(lamps));
}

} // namespace

Numbers readNumbers(QByteArrayView text)
{
    Numbers numbers;
    quint64 value = 0;
    bool digits = false, tooLarge = false, joined = false, minus = false;
    qsizetype pieceStart = 0;
    char before = ' '; // the character before the current one within the piece
    const auto endPiece = [&](qsizetype end) {
        if (digits) {
            if (tooLarge && numbers.firstTooLarge < 0)
                numbers.firstTooLarge = qsizetype(numbers.values.size());
            if (!tooLarge && (joined || (minus && value != 0)))
                numbers.altered.push_back(
                    {qsizetype(numbers.values.size()),
                     text.sliced(pieceStart, end - pieceStart).toByteArray()});
            numbers.values.push_back(tooLarge ? 0 : quint32(value));
        }
        value = 0;
        digits = tooLarge = joined = minus = false;
        pieceStart = end + 1;
        before = ' ';
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isSpace(c)) {
            endPiece(i);
            continue;
        }
        if (c >= '0' && c <= '9') {
            const bool afterDigit = before >= '0' && before <= '9';
            if (!digits)
                minus = before == '-';
            else if (!afterDigit)
                joined = true;
            digits = true;
            if (!tooLarge) {
                value = value * 10 + quint64(c - '0');
                tooLarge = value > 0xFFFFFFFFu;
            }
        }
        before = c;
    }
    endPiece(text.size());
    return numbers;
}

bool readSceneFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 1, why))
        return false;
    const quint32 values = n.values[0];
    if (!checkCount(n, quint64(values) + 1, why))
        return false;
    start(file, Format::Scene, values);
    Cursor cursor(n, 1, file);
    cursor.colors(values, file->scenes.emplace_back());
    return true;
}

bool readScenesFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 2, why))
        return false;
    const quint32 values = n.values[0], scenes = n.values[1];
    if (!checkCapacity(scenes, kSceneCount, "scenes", why) ||
        !checkCount(n, quint64(values) * scenes + 2, why))
        return false;
    start(file, Format::Scenes, values);
    Cursor cursor(n, 2, file);
    for (quint32 s = 0; s < scenes; ++s) {
        cursor.at(int(s));
        cursor.colors(values, file->scenes.emplace_back());
    }
    return true;
}

bool readChaserFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 6, why))
        return false;
    const quint32 values = n.values[0];
    if (!checkCount(n, quint64(values) + 6, why))
        return false;
    start(file, Format::Chaser, values);
    Cursor cursor(n, 1, file);
    readChaser(cursor, values, file->chasers.emplace_back());
    return true;
}

bool readChasersFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 2, why))
        return false;
    const quint32 values = n.values[0], chasers = n.values[1];
    if (!checkCapacity(chasers, kChaserCount, "chasers", why) ||
        !checkCount(n, (quint64(values) + 5) * chasers + 2, why))
        return false;
    start(file, Format::Chasers, values);
    Cursor cursor(n, 2, file);
    for (quint32 c = 0; c < chasers; ++c) {
        cursor.at(int(c));
        readChaser(cursor, values, file->chasers.emplace_back());
    }
    return true;
}

bool readProgramFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 3, why))
        return false;
    const quint32 values = n.values[0], steps = n.values[1];
    if (!checkCapacity(steps, kProgramSteps, "steps", why) ||
        !checkCount(n, (quint64(values) + 3) * steps + 2, why))
        return false;
    start(file, Format::Program, values);
    Cursor cursor(n, 2, file);
    readSteps(cursor, 0, values, steps, file->programs.emplace_back());
    return true;
}

bool readProgramsFile(QByteArrayView bytes, TextFile *file, QString *why)
{
    const Numbers n = readNumbers(bytes);
    if (!checkHeader(n, 3, why))
        return false;
    const quint32 values = n.values[0], steps = n.values[1], programs = n.values[2];
    if (!checkCapacity(steps, kProgramSteps, "steps", why) ||
        !checkCapacity(programs, kProgramCount, "programs", why) ||
        !checkCount(n, quint64(programs) * steps * (quint64(values) + 3) + 3, why))
        return false;
    start(file, Format::Programs, values);
    Cursor cursor(n, 3, file);
    for (quint32 p = 0; p < programs; ++p)
        readSteps(cursor, int(p), values, steps, file->programs.emplace_back());
    return true;
}

bool readTextFile(Format format, QByteArrayView bytes, TextFile *file, QString *why)
{
    switch (format) {
    case Format::Scene:
        return readSceneFile(bytes, file, why);
    case Format::Scenes:
        return readScenesFile(bytes, file, why);
    case Format::Chaser:
        return readChaserFile(bytes, file, why);
    case Format::Chasers:
        return readChasersFile(bytes, file, why);
    case Format::Program:
        return readProgramFile(bytes, file, why);
    case Format::Programs:
        return readProgramsFile(bytes, file, why);
    }
    return false;
}

void storeInShow(const TextFile &file, Show &show)
{
    const int lamps = file.lamps();
    switch (file.format) {
    case Format::Scene:
        if (!file.scenes.empty())
            storeColors(file.scenes[0], lamps, show.sceneColors[show.actualSceneNumber]);
        break;
    case Format::Scenes:
        for (std::size_t s = 0; s < file.scenes.size() && s < show.sceneColors.size(); ++s)
            storeColors(file.scenes[s], lamps, show.sceneColors[s]);
        break;
    case Format::Chaser:
        if (!file.chasers.empty())
            storeChaser(file.chasers[0], lamps, show.chasers[show.actualChaserNumber]);
        break;
    case Format::Chasers:
        for (std::size_t c = 0; c < file.chasers.size() && c < show.chasers.size(); ++c)
            storeChaser(file.chasers[c], lamps, show.chasers[c]);
        break;
    case Format::Program:
        if (!file.programs.empty())
            storeSteps(file.programs[0], lamps, show.programs[show.actualProgramNumber]);
        break;
    case Format::Programs:
        for (std::size_t p = 0; p < file.programs.size() && p < show.programs.size(); ++p)
            storeSteps(file.programs[p], lamps, show.programs[p]);
        break;
    }
}

QString describeChange(const TextFile &file, const Change &change, const Show &show)
{
    const int record = change.record + 1;
    QString where;
    switch (file.format) {
    case Format::Scene:
    case Format::Scenes:
        where = QStringLiteral("scene %1")
                    .arg(file.format == Format::Scene ? show.actualSceneNumber + 1 : record);
        break;
    case Format::Chaser:
    case Format::Chasers:
        where = QStringLiteral("chaser %1")
                    .arg(file.format == Format::Chaser ? show.actualChaserNumber + 1 : record);
        break;
    case Format::Program:
    case Format::Programs:
        where = QStringLiteral("program %1 step %2")
                    .arg(file.format == Format::Program ? show.actualProgramNumber + 1 : record)
                    .arg(change.step + 1);
        break;
    }
    if (change.record < 0)
        where = QStringLiteral("header");
    if (change.lamp >= 0)
        where += QStringLiteral(" lamp %1").arg(change.lamp + 1);
    return QStringLiteral("%1 %2 %3 stored as %4")
        .arg(where, change.field, change.read, change.stored);
}

QString namedChanges(const QStringList &described, int named)
{
    QString text = described.mid(0, named).join(QStringLiteral("; "));
    if (described.size() > named)
        text += QStringLiteral(" and %1 more").arg(described.size() - named);
    return text;
}

QByteArray writeSceneFile(const ColorArray &scene, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(16 + 15 * lamps);
    appendLine(out, "Values:", quint32(3 * lamps));
    appendColors(out, scene, lamps);
    return out;
}

QByteArray writeScenesFile(const std::array<ColorArray, kSceneCount> &scenes, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(48 + kSceneCount * (16 + 15 * lamps));
    appendLine(out, "SceneValues:", quint32(3 * lamps));
    appendLine(out, "NumberOfScenes:", kSceneCount);
    for (const ColorArray &scene : scenes) {
        out += "Next scene\r\n\r\n";
        appendColors(out, scene, lamps);
    }
    return out;
}

QByteArray writeChaserFile(const t_chaser &chaser, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(128 + 15 * lamps);
    appendLine(out, "ChaserValues:", quint32(3 * lamps));
    appendChaserBody(out, chaser, lamps);
    return out;
}

QByteArray writeChasersFile(const std::array<t_chaser, kChaserCount> &chasers, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(48 + kChaserCount * (128 + 15 * lamps));
    appendLine(out, "Values:", quint32(3 * lamps));
    appendLine(out, "NumberOfChasers:", kChaserCount);
    for (int c = 0; c < kChaserCount; ++c) {
        appendMarkLine(out, "Next chaser ", c);
        appendChaserBody(out, chasers[c], lamps);
    }
    return out;
}

QByteArray writeProgramFile(const t_program &program, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(48 + kProgramSteps * (110 + 15 * lamps));
    appendLine(out, "SceneValues:", quint32(3 * lamps));
    appendLine(out, "NumberOfScenes:", kProgramSteps);
    appendSteps(out, program, lamps);
    return out;
}

QByteArray writeProgramsFile(const std::array<t_program, kProgramCount> &programs, int lamps)
{
    lamps = writtenLamps(lamps);
    QByteArray out;
    out.reserve(64 + kProgramCount * (16 + kProgramSteps * (110 + 15 * lamps)));
    appendLine(out, "SceneValues:", quint32(3 * lamps));
    appendLine(out, "NumberOfScenes:", kProgramSteps);
    appendLine(out, "NumberOfPrograms:", kProgramCount);
    for (int p = 0; p < kProgramCount; ++p) {
        appendMarkLine(out, "Next program ", p);
        appendSteps(out, programs[p], lamps);
    }
    return out;
}

QByteArray writeTextFile(Format format, const Show &show, int lamps)
{
    switch (format) {
    case Format::Scene:
        return writeSceneFile(show.sceneColors[show.actualSceneNumber], lamps);
    case Format::Scenes:
        return writeScenesFile(show.sceneColors, lamps);
    case Format::Chaser:
        return writeChaserFile(show.chasers[show.actualChaserNumber], lamps);
    case Format::Chasers:
        return writeChasersFile(show.chasers, lamps);
    case Format::Program:
        return writeProgramFile(show.programs[show.actualProgramNumber], lamps);
    case Format::Programs:
        return writeProgramsFile(show.programs, lamps);
    }
    return {};
}

QString withSuffix(const QString &fileName, const QString &suffix)
{
    return fileName.endsWith(suffix, Qt::CaseSensitive) ? fileName : fileName + suffix;
}

bool readWholeFile(const QString &fileName, QByteArray *bytes, QString *error)
{
    // One byte more than the limit tells a file that is too large without reading all of it.
    QByteArray read;
    if (!readRegularFile(fileName, kMaxFileSize + 1, &read, nullptr, error))
        return false;
    if (read.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileSize);
        return false;
    }
    *bytes = std::move(read);
    return true;
}

bool writeWholeFile(const QString &fileName, const QByteArray &bytes, QString *error)
{
    return writeFileSafely(fileName, bytes, error);
}

} // namespace lm740::files
