// The scene, chaser and program text files: their writers, the lenient number reader all their
// loaders share, and readers that check a whole file before anything of the show changes.
// Pure functions of bytes and records, so that the window and the command-line tool share them.
#pragma once

#include "show.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace lm740::files {

// The most colour values one record of a file may carry: 3 for each of 170 lamps.
inline constexpr quint32 kMaxValues = 3 * kMaxLamps;
// Files are read whole; anything larger than this is no file of ours and is not read at all.
inline constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// The numbers of a file: the text is split at white space, every character but the digits 0..9
// is dropped from each piece, and the pieces left empty vanish. So labels, colons and "#" marks
// disappear, a minus sign is lost and digits inside a word join up.
struct Numbers
{
    std::vector<quint32> values;  // in file order; a number too large for 32 bits is held as 0
    qsizetype firstTooLarge = -1; // index of the first number too large for 32 bits, or -1
    // The pieces whose number is not what they say, in file order: a minus sign was lost ("-5")
    // or digits apart joined up ("1x2", "1.5"). A label before the digits ("Values:6") is no
    // change.
    struct Altered
    {
        qsizetype index; // into values
        QByteArray piece;
    };
    std::vector<Altered> altered;
};
Numbers readNumbers(QByteArrayView text);

enum class Format { Scene, Scenes, Chaser, Chasers, Program, Programs };

// A value of a file that its field could not keep as the file says it: a number that lost its sign
// or joined up, an 8-bit field above 255 (its low 8 bits are kept), a colour value above 255 (the
// lamp is black) and a time the controller cannot hold (it counts whole tenths of a second in 16
// bits). The show keeps what it always kept; this only says so.
struct Change
{
    int record = 0; // scene, chaser or program of the file, from 0; -1 for the file's header
    int step = -1;  // the program step, or -1
    int lamp = -1;  // the lamp of a colour, or -1
    QString field;  // "cross-fade", "time", "red", "colour", ...
    QString read;   // as the file writes it
    QString stored; // as the show keeps it
    // The show keeps the value whole; only the controller and the settings image cannot (a time
    // that is no whole tenth of a second or beyond 16 bits of them).
    bool controllerOnly = false;
};

// What a file holds, checked whole. Each record carries `values / 3` colours in slots from 0; a
// value above 255 in a colour makes that slot an invalid colour (black). Values left over when
// `values` is not a multiple of 3 are dropped per record.
struct TextFile
{
    Format format = Format::Scene;
    int values = 0;                                     // colour values per record, 0..510
    std::vector<ColorArray> scenes;                     // Scene: 1, Scenes: up to 10
    std::vector<t_chaser> chasers;                      // Chaser: 1, Chasers: up to 4
    std::vector<std::vector<t_program_scene>> programs; // Program: 1, Programs: up to 4; each
                                                        // up to 31 steps
    std::vector<Change> changes;                        // in file order

    // The lamp count the file carries into the whole show (before the spin box's lower bound).
    int lamps() const { return values / 3; }
};

// Readers: true with *file filled when the whole file is sound. A file is refused when it has too
// few numbers, a number too large for 32 bits anywhere, more than 510 values per record, more
// scenes, chasers, programs or steps than the show holds, or a number count that does not match
// its header; *why then says which, in a sentence for logs and the command line.
bool readSceneFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readScenesFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readChaserFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readChasersFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readProgramFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readProgramsFile(QByteArrayView bytes, TextFile *file, QString *why = nullptr);
bool readTextFile(Format format, QByteArrayView bytes, TextFile *file, QString *why = nullptr);

// Stores a read file into the show: a scene file into the current scene, a chaser file into the
// current chaser, a program file into the current program, the set files into the first records.
// Only the colours of lamps below file.lamps() are replaced; the records and steps the file does
// not carry, and the lamp count, stay as they are.
void storeInShow(const TextFile &file, Show &show);

// A change in words, naming the record it goes into in `show` (the current one for the files of one
// record), e.g. "chaser 1 cross-fade 300 stored as 44".
QString describeChange(const TextFile &file, const Change &change, const Show &show);
// The first `named` of `described` joined for one line, with how many more there are.
QString namedChanges(const QStringList &described, int named = 3);

// Writers: the text of a file, CR LF after every line, for the first `lamps` lamps (1..170).
QByteArray writeSceneFile(const ColorArray &scene, int lamps);
QByteArray writeScenesFile(const std::array<ColorArray, kSceneCount> &scenes, int lamps);
QByteArray writeChaserFile(const t_chaser &chaser, int lamps);
QByteArray writeChasersFile(const std::array<t_chaser, kChaserCount> &chasers, int lamps);
QByteArray writeProgramFile(const t_program &program, int lamps);
QByteArray writeProgramsFile(const std::array<t_program, kProgramCount> &programs, int lamps);

// The text of a file of `format` from the show: a scene, chaser or program file holds the current
// one, the set files all of them.
QByteArray writeTextFile(Format format, const Show &show, int lamps);

// The file's name with `suffix` (such as ".scn") appended unless it already ends with it, case
// sensitively: "show.SCN" becomes "show.SCN.scn".
QString withSuffix(const QString &fileName, const QString &suffix);

// Reads a whole file of at most kMaxFileSize bytes. False with *error set when it cannot be read
// or is larger.
bool readWholeFile(const QString &fileName, QByteArray *bytes, QString *error = nullptr);
// Writes a whole file or nothing: the file it replaces stays as it was until the new one is
// complete. False with *error set when it could not be written.
bool writeWholeFile(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);

} // namespace lm740::files
