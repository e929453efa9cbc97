#include "core/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <unistd.h>

QString SafeFile::writeFailedMessage(const QString& path, const QString& detail)
{
    QString text = QStringLiteral("ファイル「%1」に書き込めませんでした。ディスクの空き容量と書き込みの権限を確認してください。")
                       .arg(QFileInfo(path).fileName());
    if (!detail.isEmpty())
        text += QStringLiteral("（%1）").arg(detail);
    return text;
}

Status SafeFile::write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(writeFailedMessage(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString detail = file.errorString();
        file.cancelWriting();
        return Status::failure(writeFailedMessage(path, detail));
    }
    if (!file.commit())
        return Status::failure(writeFailedMessage(path, file.errorString()));
    return Status::success();
}

bool SafeFile::read(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

Status SafeFile::backup(const QString& path, const QString& backupPath)
{
    if (!QFileInfo(path).isFile())
        return Status::success();
    // The old content is already on disk: a second name for it is the backup. Every
    // rewrite replaces the file by a new one (never in place), so the backup keeps the
    // old content. Where links are not possible (a FAT memory stick), it is copied.
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(backupPath);
    const QByteArray linkName = to + ".link";
    ::unlink(linkName.constData());
    if (::link(from.constData(), linkName.constData()) == 0) {
        if (::rename(linkName.constData(), to.constData()) == 0)
            return Status::success();
        ::unlink(linkName.constData());
    }
    QByteArray bytes;
    if (!read(path, bytes))
        return Status::failure(QStringLiteral("ファイル「%1」を読み込めませんでした。").arg(QFileInfo(path).fileName()));
    return write(backupPath, bytes);
}
