#include "release.h"

#include <QRegularExpression>

namespace lm740 {

int releaseNumber(const QString &text)
{
    static const QRegularExpression releasePattern(QStringLiteral("_[0-9]_[0-9]{1,2}"));
    static const QRegularExpression twoDigits(QStringLiteral("[0-9]{2}"));
    static const QRegularExpression oneDigitMinor(QStringLiteral("[0-9]_[0-9]"));

    const QRegularExpressionMatch release = releasePattern.match(text);
    if (!release.hasMatch())
        return -1;
    const int major = text.at(release.capturedStart() + 1).digitValue();

    int minor = 0;
    const QRegularExpressionMatch two = twoDigits.match(text);
    if (two.hasMatch()) {
        minor = two.captured().toInt();
    } else {
        const QRegularExpressionMatch one = oneDigitMinor.match(text);
        if (!one.hasMatch())
            return -1;
        minor = text.at(one.capturedStart() + 2).digitValue();
    }
    return 100 * major + minor;
}

} // namespace lm740
