#include "pattern_property.h"

#include <array>

namespace lm740::pattern {

namespace {

constexpr std::array<const char *, 4> kTypeNames{"list", "range", "integer", "string"};

template <class T> std::optional<T> fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return std::nullopt;
}

// A whole number as a user or a script writes it ("12", "-3", " 7 "), within int.
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QString typeName(PatternProperty::Type type)
{
    return QString::fromLatin1(kTypeNames[size_t(type)]);
}

std::optional<PatternProperty> parseProperty(const QString &text, QString *error)
{
    PatternProperty property;
    QString type;
    QString values;
    bool hasValues = false;
    for (const QString &part : text.split(QLatin1Char('|'))) {
        const qsizetype colon = part.indexOf(QLatin1Char(':'));
        const QString key = part.left(colon).trimmed();
        const QString value = colon < 0 ? QString() : part.mid(colon + 1).trimmed();
        if (key == QLatin1String("name"))
            property.name = value;
        else if (key == QLatin1String("type"))
            type = value;
        else if (key == QLatin1String("display"))
            property.display = value;
        else if (key == QLatin1String("values"))
            values = value, hasValues = true;
        else if (key == QLatin1String("write"))
            property.write = value;
        else if (key == QLatin1String("read"))
            property.read = value;
        // Other keys are left for scripts written for newer programs; they change nothing here.
    }
    if (property.name.isEmpty())
        return fail<PatternProperty>(error, QStringLiteral("a property has no name"));
    const QString what = QStringLiteral("property \"%1\": ").arg(property.name);
    if (property.write.isEmpty())
        return fail<PatternProperty>(error, what + QStringLiteral("no write function"));
    if (property.display.isEmpty())
        property.display = property.name;

    qsizetype index = 0;
    while (index < qsizetype(kTypeNames.size()) && type != QLatin1String(kTypeNames[index]))
        ++index;
    if (index == qsizetype(kTypeNames.size()))
        return fail<PatternProperty>(error, what + QStringLiteral("type \"%1\" is none of list, "
                                                                  "range, integer, string")
                                                       .arg(type));
    property.type = PatternProperty::Type(index);

    if (property.type == PatternProperty::Type::List) {
        property.values = values.split(QLatin1Char(','));
        for (QString &v : property.values)
            v = v.trimmed();
        if (!hasValues || values.isEmpty())
            return fail<PatternProperty>(error, what + QStringLiteral("a list needs its values"));
    } else if (property.type == PatternProperty::Type::Range) {
        const QStringList bounds = values.split(QLatin1Char(','));
        const auto low = wholeNumber(bounds.value(0));
        const auto high = wholeNumber(bounds.value(1));
        if (bounds.size() != 2 || !low || !high || *low > *high)
            return fail<PatternProperty>(error,
                                         what + QStringLiteral("a range needs values:MIN,MAX"));
        property.minimum = *low;
        property.maximum = *high;
    }
    return property;
}

std::optional<QString> checkedValue(const PatternProperty &property, const QString &value,
                                    QString *error)
{
    const QString what = QStringLiteral("%1: ").arg(property.name);
    switch (property.type) {
    case PatternProperty::Type::List:
        if (!property.values.contains(value))
            return fail<QString>(error, what + QStringLiteral("\"%1\" is not one of %2")
                                                   .arg(value, property.values.join(", ")));
        return value;
    case PatternProperty::Type::Range:
    case PatternProperty::Type::Integer: {
        const auto number = wholeNumber(value);
        if (!number)
            return fail<QString>(error,
                                 what + QStringLiteral("\"%1\" is not a whole number").arg(value));
        if (property.type == PatternProperty::Type::Range &&
            (*number < property.minimum || *number > property.maximum))
            return fail<QString>(error, what + QStringLiteral("%1 is outside %2..%3")
                                                   .arg(*number)
                                                   .arg(property.minimum)
                                                   .arg(property.maximum));
        return QString::number(*number);
    }
    case PatternProperty::Type::String:
        break;
    }
    return value;
}

} // namespace lm740::pattern
