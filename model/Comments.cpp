#include "model/Comments.h"

QString Comments::of(const ClassData& data, int term, int pupil)
{
    if (term < 1 || term > Limits::Terms || pupil < 1 || pupil > Limits::Pupils)
        return {};
    return data.comments[size_t(term)][size_t(pupil)];
}
