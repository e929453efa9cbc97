// Score files: whatever is accepted is written, read again and gives the same
// tests; whatever is refused leaves the test set as it was; the writer never
// refuses what the reader accepted.

#include "FuzzSupport.h"
#include "core/ScoreFile.h"

#include <memory>

namespace {

bool sameTests(const TestSetRecord& a, const TestSetRecord& b, int pupils)
{
    if (a.StoredTestCount != b.StoredTestCount)
        return false;
    for (int t = 1; t <= a.StoredTestCount; ++t) {
        if (a.TestName[t] != b.TestName[t] || a.ViewpointCount[t] != b.ViewpointCount[t])
            return false;
        for (int c = 1; c <= a.ViewpointCount[t]; ++c) {
            if (a.ViewpointKind[t][c] != b.ViewpointKind[t][c] || a.FullMarks[t][c] != b.FullMarks[t][c])
                return false;
            for (int p = 1; p <= pupils; ++p)
                if (a.Score[t][c][p] != b.Score[t][c][p])
                    return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte is the class size the file is read with.
    const int pupils = data[0] % (Limits::Pupils + 1);
    const QByteArray file = Fuzz::bytes(data + 1, size - 1);

    static auto set = std::make_unique<TestSetRecord>();
    static auto before = std::make_unique<TestSetRecord>();
    static auto again = std::make_unique<TestSetRecord>();
    set->StoredTestCount = 1;
    set->TestName[1] = QStringLiteral("前のテスト");
    set->ViewpointCount[1] = 1;
    set->Score[1][1][1] = 7;
    *before = *set;

    if (!ScoreFile::parse(file, QStringLiteral("国語.dat"), pupils, *set)) {
        FUZZ_CHECK(sameTests(*set, *before, Limits::Pupils));
        return 0;
    }
    QByteArray written;
    FUZZ_CHECK(ScoreFile::build(*set, pupils, written).ok);
    FUZZ_CHECK(ScoreFile::parse(written, QStringLiteral("国語.dat"), pupils, *again).ok);
    FUZZ_CHECK(sameTests(*set, *again, pupils));
    QByteArray rewritten;
    FUZZ_CHECK(ScoreFile::build(*again, pupils, rewritten).ok);
    FUZZ_CHECK(rewritten == written);
    return 0;
}
