// Collects what one logging category says while it lives, with the category's debug level on for
// the while (the tests otherwise run with every lm740 category off). Other categories go on to the
// handler that was there before.
#pragma once

#include <QLoggingCategory>
#include <QStringList>

class LogCapture
{
public:
    explicit LogCapture(const char *category) : m_category(category)
    {
        s_current = this;
        m_previousHandler = qInstallMessageHandler(&handle);
        // Our filter asks the one before it first, so that every other category keeps its rules.
        m_previousFilter = QLoggingCategory::installFilter(nullptr);
        QLoggingCategory::installFilter(&filter);
    }
    ~LogCapture()
    {
        QLoggingCategory::installFilter(m_previousFilter);
        qInstallMessageHandler(m_previousHandler);
        s_current = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList messages;

private:
    static void filter(QLoggingCategory *category)
    {
        if (s_current->m_previousFilter)
            s_current->m_previousFilter(category);
        if (qstrcmp(category->categoryName(), s_current->m_category) == 0)
            category->setEnabled(QtDebugMsg, true);
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (context.category && qstrcmp(context.category, s_current->m_category) == 0)
            s_current->messages << text;
        else if (s_current->m_previousHandler)
            s_current->m_previousHandler(type, context, text);
    }

    inline static LogCapture *s_current = nullptr;
    const char *m_category;
    QtMessageHandler m_previousHandler = nullptr;
    QLoggingCategory::CategoryFilter m_previousFilter = nullptr;
};
