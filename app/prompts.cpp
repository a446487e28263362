#include "prompts.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace lm740 {

namespace {

Prompts *g_current = nullptr;

// Qt's own provider reads a file's first bytes when its name does not tell its type.
class NameOnlyIconProvider : public QFileIconProvider
{
public:
    NameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QFileIconProvider::icon(info);
        const QMimeType mime = mimeOf(info);
        return QIcon::fromTheme(mime.iconName(),
                                QIcon::fromTheme(mime.genericIconName(), icon(File)));
    }
    using QFileIconProvider::icon;

    QString type(const QFileInfo &info) const override
    {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime = mimeOf(info);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeType mimeOf(const QFileInfo &info) const
    {
        return m_mimes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
    QMimeDatabase m_mimes;
};

QString askForFile(QWidget *parent, const QString &caption, const QString &dir,
                   const QString &filter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    static NameOnlyIconProvider byName;
    dialog.setIconProvider(&byName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

Prompts &prompts()
{
    static QtPrompts real;
    return g_current ? *g_current : real;
}

void setPrompts(Prompts *p)
{
    g_current = p;
}

QMessageBox::StandardButton QtPrompts::information(QWidget *parent, const QString &title,
                                                   const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::information(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton QtPrompts::warning(QWidget *parent, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::warning(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton QtPrompts::critical(QWidget *parent, const QString &title,
                                                const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::critical(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton QtPrompts::question(QWidget *parent, const QString &title,
                                                const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}

QString QtPrompts::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return askForFile(parent, caption, dir, filter, QFileDialog::AcceptOpen);
}

QString QtPrompts::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return askForFile(parent, caption, dir, filter, QFileDialog::AcceptSave);
}

} // namespace lm740
