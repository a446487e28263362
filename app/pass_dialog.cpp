#include "pass_dialog.h"

#include <QCoreApplication>

namespace lm740 {

PassDialog::PassDialog(const QString &title, const QString &label, int maximum)
{
    // No parent, and the standard Cancel button.
    setObjectName(QStringLiteral("passDialog"));
    setWindowTitle(title);
    setLabelText(label);
    setRange(0, maximum);
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(0);
    setAutoReset(false);
    setValue(0);
    show();
}

bool PassDialog::showsAgain(bool atEnd)
{
    constexpr int kInterval = 100; // ms
    if (!atEnd && m_shown.isValid() && m_shown.elapsed() < kInterval)
        return false;
    m_shown.start();
    return true;
}

bool PassDialog::goOn()
{
    QCoreApplication::processEvents();
    return !wasCanceled();
}

} // namespace lm740
