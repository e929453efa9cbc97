#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QStringList QtTranslations::folders()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool QtTranslations::installJapanese(QCoreApplication& app, const QStringList& folders)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    // The pickers' lists show dates, sizes and kinds of file in the default locale's
    // language. Files are written without a locale, so this changes nothing in them.
    QLocale::setDefault(japanese);
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}
