#pragma once
// Screens of chosen sizes for the offscreen platform, so that windows are placed
// and fitted as on a teacher's laptop: written as the platform's configuration
// file in `folder` and named in QT_QPA_PLATFORM. Call before the application
// starts; `folder` must outlive it.

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <utility>

inline void useOffscreenScreens(const QTemporaryDir& folder, const QList<std::pair<QString, QRect>>& screens)
{
    QJsonArray list;
    for (const auto& [name, area] : screens)
        list.append(QJsonObject{{QStringLiteral("name"), name},
                                {QStringLiteral("x"), area.x()},
                                {QStringLiteral("y"), area.y()},
                                {QStringLiteral("width"), area.width()},
                                {QStringLiteral("height"), area.height()},
                                {QStringLiteral("logicalDpi"), 96}});
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(QJsonObject{{QStringLiteral("screens"), list}}).toJson()) < 0)
        qFatal("cannot write the screen configuration");
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
}
