/* A preloaded library for the crash tests (tests/test_crash.cpp): it counts the
 * calls to the file system that a process makes inside one folder and, when armed,
 * ends the process with _exit(77) right before call N, as a crash or a power cut at
 * that moment would stop it. It can also log every call it counts, with the
 * content of each file at the moment it is synced, so that the test can rebuild
 * what a disk would hold after a power cut at any point.
 *
 * Environment:
 *   KAZANE_CRASH_ROOT    the folder whose calls count (an absolute path)
 *   KAZANE_CRASH_AT      stop before this call (1, 2, ...); unset or 0: never
 *   KAZANE_CRASH_LOG     log every counted call to this file (outside the folder);
 *                        a synced file's content goes to "<log>.<call>"
 *   KAZANE_CRASH_FAT     "1": behave like a FAT memory stick: link() fails with
 *                        EPERM and statfs() names the FAT file system
 * At the end of the process the count is written to the log as "end <count>".
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/uio.h>
#include <unistd.h>

#define MAX_FDS 4096

static char root[PATH_MAX];
static size_t rootLength;
static long crashAt;
static long calls;
static int logFd = -1;
static char logPath[PATH_MAX];
static int fatMode;
static char* fdPaths[MAX_FDS];
static int ready;

#define REAL(name)                      \
    static __typeof__(name)* real_##name; \
    if (!real_##name)                    \
    real_##name = (__typeof__(name)*)dlsym(RTLD_NEXT, #name)

static void setUp(void)
{
    if (ready)
        return;
    ready = 1;
    const char* r = getenv("KAZANE_CRASH_ROOT");
    if (r && r[0] == '/') {
        snprintf(root, sizeof root, "%s", r);
        rootLength = strlen(root);
        while (rootLength > 1 && root[rootLength - 1] == '/')
            root[--rootLength] = 0;
    }
    const char* at = getenv("KAZANE_CRASH_AT");
    crashAt = at ? atol(at) : 0;
    const char* fat = getenv("KAZANE_CRASH_FAT");
    fatMode = fat && fat[0] == '1';
    const char* l = getenv("KAZANE_CRASH_LOG");
    if (l && l[0]) {
        snprintf(logPath, sizeof logPath, "%s", l);
        REAL(open);
        logFd = real_open(logPath, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    }
}

static void logLine(const char* format, ...)
{
    if (logFd < 0)
        return;
    char line[3 * PATH_MAX];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n > 0) {
        REAL(write);
        real_write(logFd, line, (size_t)n < sizeof line ? (size_t)n : sizeof line - 1);
    }
}

__attribute__((destructor)) static void finish(void)
{
    logLine("end %ld\n", calls);
}

/* The absolute path of `path` relative to the folder of `dirFd`. */
static void absolute(int dirFd, const char* path, char* out)
{
    if (!path) {
        out[0] = 0;
        return;
    }
    if (path[0] == '/') {
        snprintf(out, PATH_MAX, "%s", path);
        return;
    }
    char base[PATH_MAX] = "";
    if (dirFd == AT_FDCWD || dirFd < 0 || dirFd >= MAX_FDS || !fdPaths[dirFd]) {
        if (!getcwd(base, sizeof base))
            base[0] = 0;
    } else {
        snprintf(base, sizeof base, "%s", fdPaths[dirFd]);
    }
    snprintf(out, PATH_MAX, "%s/%s", base, path);
}

static int inside(const char* path)
{
    return rootLength > 0 && strncmp(path, root, rootLength) == 0 && (path[rootLength] == '/' || path[rootLength] == 0);
}

static int fdInside(int fd)
{
    return fd >= 0 && fd < MAX_FDS && fdPaths[fd] != NULL;
}

/* Counts a call inside the folder; ends the process before the call it is armed for. */
static void count(void)
{
    ++calls;
    if (crashAt > 0 && calls >= crashAt)
        _exit(77);
}

static void remember(int fd, const char* path)
{
    if (fd < 0 || fd >= MAX_FDS)
        return;
    free(fdPaths[fd]);
    fdPaths[fd] = strdup(path);
}

static int openPath(int dirFd, const char* path, int flags, mode_t mode, int at)
{
    setUp();
    char full[PATH_MAX];
    absolute(dirFd, path, full);
    const int counted = inside(full);
    if (counted)
        count();
    int fd;
    if (at) {
        REAL(openat);
        fd = real_openat(dirFd, path, flags, mode);
    } else {
        REAL(open);
        fd = real_open(path, flags, mode);
    }
    if (counted && fd >= 0) {
        const int saved = errno;
        struct stat info;
        fstat(fd, &info);
        remember(fd, full);
        logLine("%ld open %s %s %lu\n", calls, (flags & O_CREAT) ? "create" : "use", full, (unsigned long)info.st_ino);
        errno = saved;
    }
    return fd;
}

static mode_t modeOf(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? (mode_t)va_arg(args, int) : 0;
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    return openPath(AT_FDCWD, path, flags, mode, 0);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    return openPath(AT_FDCWD, path, flags, mode, 0);
}

int openat(int dirFd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    return openPath(dirFd, path, flags, mode, 1);
}

int openat64(int dirFd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    return openPath(dirFd, path, flags, mode, 1);
}

int creat(const char* path, mode_t mode)
{
    return openPath(AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC, mode, 0);
}

int close(int fd)
{
    REAL(close);
    if (fd >= 0 && fd < MAX_FDS && fdPaths[fd]) {
        free(fdPaths[fd]);
        fdPaths[fd] = NULL;
    }
    return real_close(fd);
}

ssize_t write(int fd, const void* buffer, size_t size)
{
    setUp();
    REAL(write);
    if (fdInside(fd)) {
        count();
        logLine("%ld write %s\n", calls, fdPaths[fd]);
    }
    return real_write(fd, buffer, size);
}

ssize_t pwrite64(int fd, const void* buffer, size_t size, off_t offset)
{
    setUp();
    REAL(pwrite64);
    if (fdInside(fd)) {
        count();
        logLine("%ld write %s\n", calls, fdPaths[fd]);
    }
    return real_pwrite64(fd, buffer, size, offset);
}

ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset)
{
    return pwrite64(fd, buffer, size, offset);
}

ssize_t writev(int fd, const struct iovec* vector, int count_)
{
    setUp();
    REAL(writev);
    if (fdInside(fd)) {
        count();
        logLine("%ld write %s\n", calls, fdPaths[fd]);
    }
    return real_writev(fd, vector, count_);
}

/* The content of the file open as `fd`, as the sync makes it durable. */
static void logSync(int fd)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        logLine("%ld dirsync %s\n", calls, fdPaths[fd]);
        return;
    }
    if (logFd < 0)
        return;
    char copyPath[PATH_MAX + 32];
    char procPath[64];
    snprintf(copyPath, sizeof copyPath, "%s.%ld", logPath, calls);
    snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    REAL(open);
    REAL(read);
    REAL(write);
    REAL(close);
    int from = real_open(procPath, O_RDONLY | O_CLOEXEC);
    int to = real_open(copyPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    char buffer[65536];
    ssize_t n;
    while (from >= 0 && to >= 0 && (n = real_read(from, buffer, sizeof buffer)) > 0)
        real_write(to, buffer, (size_t)n);
    if (from >= 0)
        real_close(from);
    if (to >= 0)
        real_close(to);
    logLine("%ld sync %lu %s\n", calls, (unsigned long)info.st_ino, copyPath);
}

int fsync(int fd)
{
    setUp();
    REAL(fsync);
    if (!fdInside(fd))
        return real_fsync(fd);
    count();
    const int result = real_fsync(fd);
    if (result == 0)
        logSync(fd);
    return result;
}

int fdatasync(int fd)
{
    setUp();
    REAL(fdatasync);
    if (!fdInside(fd))
        return real_fdatasync(fd);
    count();
    const int result = real_fdatasync(fd);
    if (result == 0)
        logSync(fd);
    return result;
}

static int twoPaths(const char* what, int oldDir, const char* oldPath, int newDir, const char* newPath, char* from, char* to)
{
    setUp();
    absolute(oldDir, oldPath, from);
    absolute(newDir, newPath, to);
    if (!inside(from) && !inside(to))
        return 0;
    count();
    (void)what;
    return 1;
}

static void logTwo(int counted, int result, const char* what, const char* from, const char* to)
{
    if (counted && result == 0) {
        struct stat info;
        unsigned long inode = lstat(to, &info) == 0 ? (unsigned long)info.st_ino : 0;
        logLine("%ld %s %s\t%s\t%lu\n", calls, what, from, to, inode);
    }
}

int rename(const char* oldPath, const char* newPath)
{
    char from[PATH_MAX], to[PATH_MAX];
    const int counted = twoPaths("rename", AT_FDCWD, oldPath, AT_FDCWD, newPath, from, to);
    REAL(rename);
    const int result = real_rename(oldPath, newPath);
    logTwo(counted, result, "rename", from, to);
    return result;
}

int renameat(int oldDir, const char* oldPath, int newDir, const char* newPath)
{
    char from[PATH_MAX], to[PATH_MAX];
    const int counted = twoPaths("rename", oldDir, oldPath, newDir, newPath, from, to);
    REAL(renameat);
    const int result = real_renameat(oldDir, oldPath, newDir, newPath);
    logTwo(counted, result, "rename", from, to);
    return result;
}

int renameat2(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned int flags)
{
    char from[PATH_MAX], to[PATH_MAX];
    const int counted = twoPaths("rename", oldDir, oldPath, newDir, newPath, from, to);
    REAL(renameat2);
    const int result = real_renameat2(oldDir, oldPath, newDir, newPath, flags);
    logTwo(counted, result, "rename", from, to);
    return result;
}

int link(const char* oldPath, const char* newPath)
{
    char from[PATH_MAX], to[PATH_MAX];
    const int counted = twoPaths("link", AT_FDCWD, oldPath, AT_FDCWD, newPath, from, to);
    if (counted && fatMode) {
        errno = EPERM;
        return -1;
    }
    REAL(link);
    const int result = real_link(oldPath, newPath);
    logTwo(counted, result, "link", from, to);
    return result;
}

int linkat(int oldDir, const char* oldPath, int newDir, const char* newPath, int flags)
{
    char from[PATH_MAX], to[PATH_MAX];
    const int counted = twoPaths("link", oldDir, oldPath, newDir, newPath, from, to);
    if (counted && fatMode) {
        errno = EPERM;
        return -1;
    }
    REAL(linkat);
    const int result = real_linkat(oldDir, oldPath, newDir, newPath, flags);
    logTwo(counted, result, "link", from, to);
    return result;
}

static int onePath(int dirFd, const char* path, char* full)
{
    setUp();
    absolute(dirFd, path, full);
    if (!inside(full))
        return 0;
    count();
    return 1;
}

int unlink(const char* path)
{
    char full[PATH_MAX];
    const int counted = onePath(AT_FDCWD, path, full);
    REAL(unlink);
    const int result = real_unlink(path);
    if (counted && result == 0)
        logLine("%ld unlink %s\n", calls, full);
    return result;
}

int unlinkat(int dirFd, const char* path, int flags)
{
    char full[PATH_MAX];
    const int counted = onePath(dirFd, path, full);
    REAL(unlinkat);
    const int result = real_unlinkat(dirFd, path, flags);
    if (counted && result == 0)
        logLine("%ld %s %s\n", calls, (flags & AT_REMOVEDIR) ? "rmdir" : "unlink", full);
    return result;
}

int rmdir(const char* path)
{
    char full[PATH_MAX];
    const int counted = onePath(AT_FDCWD, path, full);
    REAL(rmdir);
    const int result = real_rmdir(path);
    if (counted && result == 0)
        logLine("%ld rmdir %s\n", calls, full);
    return result;
}

int mkdir(const char* path, mode_t mode)
{
    char full[PATH_MAX];
    const int counted = onePath(AT_FDCWD, path, full);
    REAL(mkdir);
    const int result = real_mkdir(path, mode);
    if (counted && result == 0) {
        struct stat info;
        lstat(full, &info);
        logLine("%ld mkdir %s %lu\n", calls, full, (unsigned long)info.st_ino);
    }
    return result;
}

int mkdirat(int dirFd, const char* path, mode_t mode)
{
    char full[PATH_MAX];
    const int counted = onePath(dirFd, path, full);
    REAL(mkdirat);
    const int result = real_mkdirat(dirFd, path, mode);
    if (counted && result == 0) {
        struct stat info;
        lstat(full, &info);
        logLine("%ld mkdir %s %lu\n", calls, full, (unsigned long)info.st_ino);
    }
    return result;
}

int ftruncate(int fd, off_t length)
{
    setUp();
    REAL(ftruncate);
    if (fdInside(fd)) {
        count();
        logLine("%ld write %s\n", calls, fdPaths[fd]);
    }
    return real_ftruncate(fd, length);
}

int ftruncate64(int fd, off_t length)
{
    return ftruncate(fd, length);
}

static void fakeFat(const char* path, struct statfs* info)
{
    char full[PATH_MAX];
    absolute(AT_FDCWD, path, full);
    if (fatMode && inside(full))
        info->f_type = 0x4d44;
}

int statfs(const char* path, struct statfs* info)
{
    setUp();
    REAL(statfs);
    const int result = real_statfs(path, info);
    if (result == 0)
        fakeFat(path, info);
    return result;
}

int statfs64(const char* path, struct statfs64* info)
{
    setUp();
    REAL(statfs64);
    const int result = real_statfs64(path, info);
    if (result == 0)
        fakeFat(path, (struct statfs*)info);
    return result;
}
