#pragma once
// Shared by the fuzz targets: a failed check names itself and aborts, so that
// libFuzzer keeps the input that caused it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

// The same, printing `detail` (a QString) first.
#define FUZZ_CHECK_SAYING(condition, detail)                                        \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "%s\n", qPrintable(detail));                       \
            FUZZ_CHECK(condition);                                                  \
        }                                                                           \
    } while (0)

namespace Fuzz {
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
}
