// A prompts implementation for tests: records every call and answers from a script.
#pragma once

#include "prompts.h"

#include <QList>
#include <QStringList>

struct PromptCall
{
    QString kind; // "information", "warning", "critical", "question", "open", "save"
    bool hasParent = false;
    QString title;
    QString text; // message text, or the file dialog's filter
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString dir;
};

class RecordingPrompts : public lm740::Prompts
{
public:
    RecordingPrompts() { lm740::setPrompts(this); }
    ~RecordingPrompts() override { lm740::setPrompts(nullptr); }

    QList<PromptCall> calls;
    QList<QMessageBox::StandardButton> answers; // taken in order; Ok/default when empty
    QStringList fileNames;                      // answers of the file dialogs, in order

    QStringList texts() const
    {
        QStringList t;
        for (const PromptCall &c : calls)
            t << c.text;
        return t;
    }

    QMessageBox::StandardButton information(QWidget *p, const QString &t, const QString &x,
                                            QMessageBox::StandardButtons b,
                                            QMessageBox::StandardButton d) override
    {
        return box("information", p, t, x, b, d);
    }
    QMessageBox::StandardButton warning(QWidget *p, const QString &t, const QString &x,
                                        QMessageBox::StandardButtons b,
                                        QMessageBox::StandardButton d) override
    {
        return box("warning", p, t, x, b, d);
    }
    QMessageBox::StandardButton critical(QWidget *p, const QString &t, const QString &x,
                                         QMessageBox::StandardButtons b,
                                         QMessageBox::StandardButton d) override
    {
        return box("critical", p, t, x, b, d);
    }
    QMessageBox::StandardButton question(QWidget *p, const QString &t, const QString &x,
                                         QMessageBox::StandardButtons b,
                                         QMessageBox::StandardButton d) override
    {
        return box("question", p, t, x, b, d);
    }
    QString getOpenFileName(QWidget *p, const QString &c, const QString &dir,
                            const QString &f) override
    {
        return file("open", p, c, dir, f);
    }
    QString getSaveFileName(QWidget *p, const QString &c, const QString &dir,
                            const QString &f) override
    {
        return file("save", p, c, dir, f);
    }

private:
    QMessageBox::StandardButton box(const char *kind, QWidget *p, const QString &t,
                                    const QString &x, QMessageBox::StandardButtons b,
                                    QMessageBox::StandardButton d)
    {
        calls.append({kind, p != nullptr, t, x, b, d, {}});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return d != QMessageBox::NoButton ? d : QMessageBox::Ok;
    }
    QString file(const char *kind, QWidget *p, const QString &c, const QString &dir,
                 const QString &f)
    {
        calls.append({kind, p != nullptr, c, f, {}, QMessageBox::NoButton, dir});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
};
