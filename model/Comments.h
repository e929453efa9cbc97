#pragma once
// The comments (所見) of the pupils, per term.

#include "model/ClassData.h"

#include <QString>

namespace Comments {
// The comment of pupil 1..45 for term 1..3; empty when none is written.
QString of(const ClassData& data, int term, int pupil);
}
