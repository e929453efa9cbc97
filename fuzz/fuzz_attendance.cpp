// Attendance files: accepted -> written -> read again gives the same counts; a
// refused file changes nothing.

#include "FuzzSupport.h"
#include "core/AttendanceFile.h"

#include <cstring>
#include <memory>

namespace {

bool sameAttendance(const ClassData& a, const ClassData& b, int pupils)
{
    for (int m = 1; m <= Limits::Months; ++m) {
        if (a.LessonDays[m] != b.LessonDays[m])
            return false;
        for (int p = 1; p <= pupils; ++p)
            for (int k = 1; k <= Limits::Categories; ++k)
                if (a.Attendance[m][p][k] != b.Attendance[m][p][k])
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
    std::memset(model->Attendance, 0, sizeof model->Attendance);
    std::memset(model->LessonDays, 0, sizeof model->LessonDays);
    model->LessonDays[4] = 21;
    model->Attendance[4][1][4] = 3;
    std::memcpy(before->Attendance, model->Attendance, sizeof model->Attendance);
    std::memcpy(before->LessonDays, model->LessonDays, sizeof model->LessonDays);

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
