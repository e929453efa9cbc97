// Score files: whatever is accepted is written, read again and gives the same
// tests; whatever is refused leaves the test set as it was; the writer never
// refuses what the reader accepted.

#include "FuzzSupport.h"
#include "model/ScoreFile.h"

#include <memory>

namespace {

bool sameTests(const TestSet& a, const TestSet& b, int pupils)
{
    if (a.count != b.count)
        return false;
    for (int t = 1; t <= a.count; ++t) {
        if (a.name[t] != b.name[t] || a.columnCount[t] != b.columnCount[t])
            return false;
        for (int c = 1; c <= a.columnCount[t]; ++c) {
            if (a.viewpoint[t][c] != b.viewpoint[t][c] || a.fullMarks[t][c] != b.fullMarks[t][c])
                return false;
            for (int p = 1; p <= pupils; ++p)
                if (a.score[t][c][p] != b.score[t][c][p])
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

    static auto set = std::make_unique<TestSet>();
    static auto before = std::make_unique<TestSet>();
    static auto again = std::make_unique<TestSet>();
    set->count = 1;
    set->name[1] = QStringLiteral("前のテスト");
    set->columnCount[1] = 1;
    set->score[1][1][1] = 7;
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
