#pragma once
// Writes that the operating system itself refuses, for the tests of every save path.
//
// FileSizeLimit lowers this process's file-size limit (RLIMIT_FSIZE) for its life:
// a write that would make any file longer than the limit fails with EFBIG, and a
// write that crosses it is cut short, exactly as on a disk that fills up. SIGXFSZ is
// ignored meanwhile so that the process is not killed. Only the soft limit changes,
// so it can always be put back.
//
// LinkLimit gives a file as many names as its file system allows (65,000 on ext4),
// so that one more hard link to it fails with EMLINK, as link() fails on a disk
// without hard links (a FAT memory stick); tests skip where no limit is reached.
//
// SmallDisk mounts a tmpfs of a few kilobytes (needs root and a kernel that allows
// it; tests skip when `available()` is false) and can fill it to the last byte, so
// that writes fail with ENOSPC.

#include <QString>
#include <QtGlobal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 previousSoft = 0;
    void (*previousHandler)(int) = nullptr;
};

class LinkLimit {
public:
    explicit LinkLimit(const QString& file);
    ~LinkLimit();  // the extra names are removed again
    LinkLimit(const LinkLimit&) = delete;
    LinkLimit& operator=(const LinkLimit&) = delete;

    bool available() const { return reached; }

private:
    QString folder;
    bool reached = false;
};

class SmallDisk {
public:
    // A tmpfs of `bytes` bytes at a new folder under `parent` (or a temporary folder).
    explicit SmallDisk(qint64 bytes = 256 * 1024, const QString& parent = {});
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool available() const { return mounted; }
    // The mount point, with a final '/'.
    QString path() const { return mountPoint; }
    // Takes every free byte with a filler file; `leave` bytes stay free.
    bool fill(qint64 leave = 0);
    // Removes the filler again.
    void release();

private:
    QString mountPoint;
    bool mounted = false;
    bool ownsFolder = false;
};
