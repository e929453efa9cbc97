// Attendance files: accepted -> written -> read again gives the same counts; a
// refused file changes nothing.

#include "FuzzSupport.h"
#include "model/AttendanceFile.h"

#include <cstring>
#include <memory>

namespace {

bool sameAttendance(const ClassData& a, const ClassData& b, int pupils)
{
    for (int m = 1; m <= Limits::Months; ++m) {
        if (a.lessonDays[m] != b.lessonDays[m])
            return false;
        for (int p = 1; p <= pupils; ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                if (a.attendance[m][p][k] != b.attendance[m][p][k])
                    return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int pupils = data[0] % (Limits::Pupils + 1);
    const QByteArray file = Fuzz::bytes(data + 1, size - 1);

    static auto model = std::make_unique<ClassData>();
    static auto before = std::make_unique<ClassData>();
    static auto again = std::make_unique<ClassData>();
    std::memset(model->attendance, 0, sizeof model->attendance);
    std::memset(model->lessonDays, 0, sizeof model->lessonDays);
    model->lessonDays[4] = 21;
    model->attendance[4][1][4] = 3;
    std::memcpy(before->attendance, model->attendance, sizeof model->attendance);
    std::memcpy(before->lessonDays, model->lessonDays, sizeof model->lessonDays);

    if (!AttendanceFile::parse(file, pupils, *model)) {
        FUZZ_CHECK(sameAttendance(*model, *before, Limits::Pupils));
        return 0;
    }
    const QByteArray written = AttendanceFile::build(*model, pupils);
    FUZZ_CHECK(AttendanceFile::parse(written, pupils, *again).ok);
    FUZZ_CHECK(sameAttendance(*model, *again, pupils));
    FUZZ_CHECK(AttendanceFile::build(*again, pupils) == written);
    return 0;
}
