#pragma once
// What a disk holds after a power cut, rebuilt from the log that the crash library
// (tests/crash/crash_shim.c) keeps of a run: the content of a file is what it held
// at its last sync (a file never synced is empty); a change of names (a new file, a
// rename, a link, a removal, a new folder) is on the disk once its folder was
// synced after it, and of the changes not yet synced, none or the first few in the
// order they were made reach the disk (a file system that writes its changes of
// names in order, as a journalling one does); on a file system that keeps no order
// (FAT), any of them may be missing while later ones reached the disk. Renames
// synced together are applied by the files they move, so their order among
// themselves does not matter.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

class PowerCut {
public:
    struct Entry {
        quint64 inode = 0;
        bool folder = false;
        QByteArray bytes;
        QDateTime modified;
    };
    // Every file and folder under `root`, by path relative to it.
    using Tree = QMap<QString, Entry>;
    static Tree capture(const QString& root);

    // `before`: the tree captured just before the logged run; `root` as the run saw it.
    bool load(const QString& logPath, const QString& root, const Tree& before);
    int calls() const { return lastCall; }
    // How many changes of names made before call `cut` were not yet synced.
    int pendingAt(int cut) const;
    // The tree after a power cut right before call `cut` (1 = before the first),
    // with the first `pending` changes not yet synced reaching the disk, except the
    // one numbered `missing` (0 = the first) when it is not -1.
    Tree treeAt(int cut, int pending, int missing = -1) const;
    // Writes a tree into an empty folder; files of the run are newer than the rest.
    static bool write(const Tree& tree, const QString& folder);
    // A key that is equal for equal trees.
    static QByteArray key(const Tree& tree);

private:
    struct Change {
        int call = 0;
        QString path;     // relative to root
        QString from;     // of a rename: the name it leaves
        quint64 inode = 0;
        bool folder = false;
        bool removal = false;
        int syncedAt = 0;  // the call that synced its folder; 0 while not synced
    };
    struct Sync {
        int call = 0;
        quint64 inode = 0;
        QByteArray bytes;
    };
    QString relative(const QString& path) const;

    QString rootPath;
    Tree initial;
    QList<Change> changes;
    QList<Sync> syncs;
    int lastCall = 0;
};
