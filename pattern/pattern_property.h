// A pattern script's property, read from its text
// ("name:orientation|type:list|display:Orientation|values:Horizontal,Vertical|write:setOrientation|read:getOrientation"),
// and the check of a value a user gives it. Pure functions, apart from the engine, so that they
// are easy to test and to fuzz.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lm740::pattern {

struct PatternProperty
{
    enum class Type { List, Range, Integer, String };

    QString name;
    QString display; // the label a user sees; the name when the script gives none
    Type type = Type::String;
    QStringList values; // a list's choices
    int minimum = 0;    // a range's bounds
    int maximum = 0;
    QString write; // the script's function that sets the value (a string in)
    QString read;  // the one that gets it; empty when the script has none
    QString value; // the value the script holds when it is loaded

    bool operator==(const PatternProperty &) const = default;
};

// Reads a property's text; nothing with *error set when it lacks a name, a known type or a write
// function, or when a list has no values or a range is not "values:MIN,MAX".
std::optional<PatternProperty> parseProperty(const QString &text, QString *error = nullptr);

// The value as the script gets it: a list takes one of its values, a range a whole number within
// it, an integer any whole number, a string anything. Nothing with *error set otherwise.
std::optional<QString> checkedValue(const PatternProperty &property, const QString &value,
                                    QString *error = nullptr);

// "list", "range", "integer", "string".
QString typeName(PatternProperty::Type type);

} // namespace lm740::pattern
