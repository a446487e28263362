// libFuzzer target for what pattern scripts hand the program: property texts (the first byte even)
// with a value a user gives one, and values that rgbMap returns (the first byte odd), built from
// the fuzzer's bytes as any shape of arrays, numbers, strings and objects.
// Besides crashes and sanitizer reports, it checks what the readers promise.
#include "pattern_engine.h"

#include <QCoreApplication>
#include <QJSEngine>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace lm740::pattern;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

class Bytes
{
public:
    Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_at >= m_size; }
    uint8_t next() { return empty() ? 0 : m_data[m_at++]; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

QJSValue valueFrom(QJSEngine &engine, Bytes &bytes, int depth)
{
    switch (bytes.next() % 8) {
    case 0: {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | bytes.next();
        double d;
        std::memcpy(&d, &bits, sizeof d); // NaN, infinities and the rest
        return QJSValue(d);
    }
    case 1:
        return QJSValue(int(int8_t(bytes.next())) * 0x10101);
    case 2:
        return QJSValue(QString::number(bytes.next()));
    case 3: {
        const int n = bytes.next() % 6;
        QJSValue array = engine.newArray(quint32(n));
        for (int i = 0; i < n && depth < 4; ++i)
            array.setProperty(quint32(i), valueFrom(engine, bytes, depth + 1));
        return array;
    }
    case 4:
        return QJSValue(QJSValue::NullValue);
    case 5:
        return QJSValue();
    case 6: {
        // An object that claims to be as long as a row.
        QJSValue object = engine.newObject();
        object.setProperty(QStringLiteral("length"), bytes.next() % 6);
        return object;
    }
    default:
        return QJSValue(bool(bytes.next() & 1));
    }
}

void fuzzProperty(const QByteArray &text)
{
    const qsizetype split = text.indexOf('\n');
    const QString property = QString::fromUtf8(text.left(split));
    const QString value = split < 0 ? QString() : QString::fromUtf8(text.mid(split + 1));
    QString error;
    const auto parsed = parseProperty(property, &error);
    check(parsed.has_value() == error.isEmpty());
    if (!parsed)
        return;
    check(!parsed->name.isEmpty() && !parsed->write.isEmpty() && !parsed->display.isEmpty());
    check(parsed->type != PatternProperty::Type::List || !parsed->values.isEmpty());
    check(parsed->minimum <= parsed->maximum);
    const auto checked = checkedValue(*parsed, value);
    if (!checked)
        return;
    // A value let through is let through again as it is, and a list's value is one of its values.
    check(checkedValue(*parsed, *checked) == checked);
    check(parsed->type != PatternProperty::Type::List || parsed->values.contains(*checked));
    if (parsed->type == PatternProperty::Type::Range) {
        const int n = checked->toInt();
        check(n >= parsed->minimum && n <= parsed->maximum);
    }
}

void fuzzFrame(Bytes &bytes)
{
    static QJSEngine engine;
    const int width = bytes.next() % 5;
    const int height = bytes.next() % 5;
    const QJSValue value = valueFrom(engine, bytes, 0);
    std::vector<QRgb> frame;
    QString error;
    const bool read = readFrame(value, width, height, &frame, &error);
    check(read == error.isEmpty());
    if (!read)
        return;
    check(frame.size() == size_t(width) * size_t(height));
    for (const QRgb rgb : frame)
        check(qAlpha(rgb) == 255);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_pattern";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0) {
        fuzzProperty(QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)));
    } else {
        Bytes bytes(data + 1, size - 1);
        fuzzFrame(bytes);
    }
    return 0;
}
