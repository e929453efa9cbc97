// Roster files: accepted -> written -> read again gives the same names; a refused
// file changes nothing; the writer never refuses what the reader accepted.

#include "FuzzSupport.h"
#include "model/RosterFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file = Fuzz::bytes(data, size);
    int count = 2;
    std::array<QString, Limits::Pupils + 1> names;
    names[1] = QStringLiteral("前の一");
    names[2] = QStringLiteral("前の二");
    const auto before = names;

    if (!RosterFile::parse(file, QStringLiteral("Class.Nam"), count, names)) {
        FUZZ_CHECK(count == 2 && names == before);
        return 0;
    }
    FUZZ_CHECK(count >= 0 && count <= Limits::Pupils);
    QByteArray written;
    FUZZ_CHECK(RosterFile::build(count, names, written).ok);
    int againCount = -1;
    std::array<QString, Limits::Pupils + 1> again;
    FUZZ_CHECK(RosterFile::parse(written, QStringLiteral("Class.Nam"), againCount, again).ok);
    FUZZ_CHECK(againCount == count);
    for (int p = 1; p <= count; ++p)
        FUZZ_CHECK(again[p] == names[p]);
    return 0;
}
