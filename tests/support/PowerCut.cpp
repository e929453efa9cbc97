#include "PowerCut.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

QString parentOf(const QString& relative)
{
    const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relative.left(slash);
}

quint64 inodeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? quint64(info.st_ino) : 0;
}

}  // namespace

PowerCut::Tree PowerCut::capture(const QString& root)
{
    Tree tree;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        Entry entry;
        entry.inode = inodeOf(path);
        entry.folder = info.isDir();
        entry.modified = info.lastModified();
        if (!entry.folder) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                entry.bytes = file.readAll();
        }
        tree.insert(base.relativeFilePath(path), entry);
    }
    return tree;
}

QString PowerCut::relative(const QString& path) const
{
    return QDir(rootPath).relativeFilePath(path);
}

bool PowerCut::load(const QString& logPath, const QString& root, const Tree& before)
{
    rootPath = root;
    initial = before;
    changes.clear();
    syncs.clear();
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& raw : log.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype first = line.indexOf(QLatin1Char(' '));
        const qsizetype second = line.indexOf(QLatin1Char(' '), first + 1);
        if (first < 0 || second < 0)
            continue;
        const int call = line.left(first).toInt();
        const QString op = line.mid(first + 1, second - first - 1);
        const QString rest = line.mid(second + 1);
        if (op == QLatin1String("end") || call <= 0) {
            lastCall = qMax(lastCall, line.mid(first + 1).toInt());
            continue;
        }
        lastCall = qMax(lastCall, call);
        const QString lastWord = rest.mid(rest.lastIndexOf(QLatin1Char(' ')) + 1);
        const QString beforeLast = rest.left(rest.lastIndexOf(QLatin1Char(' ')));
        if (op == QLatin1String("open") && rest.startsWith(QLatin1String("create "))) {
            changes.append({call, relative(beforeLast.mid(7)), {}, lastWord.toULongLong(), false, false, 0});
        } else if (op == QLatin1String("mkdir")) {
            changes.append({call, relative(beforeLast), {}, lastWord.toULongLong(), true, false, 0});
        } else if (op == QLatin1String("unlink") || op == QLatin1String("rmdir")) {
            changes.append({call, relative(rest), {}, 0, false, true, 0});
        } else if (op == QLatin1String("rename") || op == QLatin1String("link")) {
            const QStringList fields = rest.split(QLatin1Char('\t'));
            if (fields.size() != 3)
                return false;
            const QString from = op == QLatin1String("rename") ? relative(fields[0]) : QString();
            changes.append({call, relative(fields[1]), from, fields[2].toULongLong(), false, false, 0});
        } else if (op == QLatin1String("sync")) {
            QFile copy(rest.mid(rest.indexOf(QLatin1Char(' ')) + 1));
            if (!copy.open(QIODevice::ReadOnly))
                return false;
            syncs.append({call, rest.left(rest.indexOf(QLatin1Char(' '))).toULongLong(), copy.readAll()});
        } else if (op == QLatin1String("dirsync")) {
            const QString folder = rest == rootPath ? QString() : relative(rest);
            for (Change& change : changes)
                if (change.syncedAt == 0 && parentOf(change.path) == folder)
                    change.syncedAt = call;
        }
    }
    // A folder made by the run holds the files made in it: mark it a folder.
    for (Change& change : changes)
        for (const Change& other : std::as_const(changes))
            if (other.folder && other.path == change.path)
                change.folder = true;
    return lastCall > 0;
}

int PowerCut::pendingAt(int cut) const
{
    int pending = 0;
    for (const Change& change : changes)
        if (change.call < cut && !(change.syncedAt > 0 && change.syncedAt < cut))
            ++pending;
    return pending;
}

PowerCut::Tree PowerCut::treeAt(int cut, int pending, int missing) const
{
    QMap<QString, std::pair<quint64, bool>> names;
    QMap<quint64, const Entry*> initialByInode;
    for (auto it = initial.begin(); it != initial.end(); ++it) {
        names.insert(it.key(), {it.value().inode, it.value().folder});
        initialByInode.insert(it.value().inode, &it.value());
    }
    int taken = 0;
    for (const Change& change : changes) {
        if (change.call >= cut)
            break;
        const bool synced = change.syncedAt > 0 && change.syncedAt < cut;
        if (!synced) {
            const int number = taken++;
            if (number >= pending || number == missing)
                continue;
        }
        if (change.removal) {
            names.remove(change.path);
            continue;
        }
        if (!change.from.isEmpty()) {
            if (change.from == change.path)
                continue;
            names.remove(change.from);
        }
        names.insert(change.path, {change.inode, change.folder});
    }
    Tree tree;
    for (auto it = names.begin(); it != names.end(); ++it) {
        bool reachable = true;
        for (QString folder = parentOf(it.key()); reachable && !folder.isEmpty(); folder = parentOf(folder))
            reachable = names.contains(folder) && names.value(folder).second;
        if (!reachable)
            continue;
        Entry entry;
        entry.inode = it.value().first;
        entry.folder = it.value().second;
        const Entry* old = initialByInode.value(entry.inode);
        if (old) {
            entry.bytes = old->bytes;
            entry.modified = old->modified;
        }
        for (const Sync& sync : syncs)
            if (sync.call < cut && sync.inode == entry.inode) {
                entry.bytes = sync.bytes;
                entry.modified = {};
            }
        tree.insert(it.key(), entry);
    }
    return tree;
}

bool PowerCut::write(const Tree& tree, const QString& folder)
{
    for (auto it = tree.begin(); it != tree.end(); ++it)
        if (it.value().folder && !QDir().mkpath(QDir(folder).filePath(it.key())))
            return false;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        if (it.value().folder)
            continue;
        QFile file(QDir(folder).filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value().bytes) != it.value().bytes.size())
            return false;
        if (it.value().modified.isValid())
            file.setFileTime(it.value().modified, QFileDevice::FileModificationTime);
    }
    return true;
}

QByteArray PowerCut::key(const Tree& tree)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        hash.addData(it.key().toUtf8());
        hash.addData(it.value().folder ? QByteArrayView("/") : QByteArrayView(it.value().bytes));
        hash.addData(QByteArrayView("\0", 1));
    }
    return hash.result();
}
