// Which language the window speaks: "lm740_pl" in the working directory wins; otherwise the
// user's locale picks the built-in translation; otherwise English.
#include "main_window.h"
#include "translations.h"
#include "version.h"
#include "window_widgets.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TstTranslation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_oldDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QDir::setCurrent(m_dir->path());
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldDir);
        m_dir.reset();
    }

    void fileInWorkingDirectoryGivesPolishWhateverTheLocale();
    void polishLocaleWithoutTheFileGivesPolish();
    void otherLocaleWithoutTheFileGivesEnglish();
    void everyTextIsTranslated();

private:
    static QString titleWith(lm740::Translations &t, const QLocale &locale, bool *loaded);
    QString m_oldDir;
    std::unique_ptr<QTemporaryDir> m_dir;
};

QString TstTranslation::titleWith(lm740::Translations &t, const QLocale &locale, bool *loaded)
{
    *loaded = t.install(*QCoreApplication::instance(), locale);
    MainWindow w;
    // The last piece is a standard dialog button: Qt's own translation comes with ours.
    const QString title = w.windowTitle() + QLatin1Char('|') +
                          w.widgets().sceneButtons->button(0)->text() + QLatin1Char('|') +
                          w.menuFile->title() + QLatin1Char('|') +
                          QCoreApplication::translate("QPlatformTheme", "Cancel") +
                          QLatin1Char('|') + w.widgets().onlineLabel->text();
    QCoreApplication::removeTranslator(&t.program);
    QCoreApplication::removeTranslator(&t.qt);
    return title;
}

void TstTranslation::fileInWorkingDirectoryGivesPolishWhateverTheLocale()
{
    QVERIFY(QFile::copy(QStringLiteral(":/i18n/lm740_pl.qm"), QStringLiteral("lm740_pl.qm")));
    lm740::Translations t;
    bool loaded = false;
    QCOMPARE(titleWith(t, QLocale(QLocale::English), &loaded),
             QStringLiteral("Lm740 wer. " LM740_VERSION "[*]|Scena 1|&Plik|Anuluj|Tryb online "
                            "wyłączony"));
    QVERIFY(loaded);
}

void TstTranslation::polishLocaleWithoutTheFileGivesPolish()
{
    lm740::Translations t;
    bool loaded = false;
    QCOMPARE(titleWith(t, QLocale(QLocale::Polish, QLocale::Poland), &loaded),
             QStringLiteral("Lm740 wer. " LM740_VERSION "[*]|Scena 1|&Plik|Anuluj|Tryb online "
                            "wyłączony"));
    QVERIFY(loaded);
}

void TstTranslation::otherLocaleWithoutTheFileGivesEnglish()
{
    lm740::Translations t;
    bool loaded = true;
    QCOMPARE(titleWith(t, QLocale(QLocale::German, QLocale::Germany), &loaded),
             QStringLiteral("Lm740 ver. " LM740_VERSION "[*]|Scene 1|&File|Cancel|Offline"));
    QVERIFY(!loaded);
}

void TstTranslation::everyTextIsTranslated()
{
    QFile ts(QStringLiteral(LM740_SOURCE_DIR "/translations/lm740_pl.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    const QByteArray content = ts.readAll();
    QVERIFY(content.contains("<context>"));
    QVERIFY2(!content.contains("type=\"unfinished\""), "lm740_pl.ts has untranslated texts");
}

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
