#include "model/Comments.h"

// Comments are not kept yet: every pupil's comment is empty.
QString Comments::of(const ClassData& /*data*/, int /*term*/, int /*pupil*/)
{
    return {};
}
