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
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}
