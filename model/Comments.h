#pragma once
// The 所見 (written comments) of the pupils, one per pupil per term, kept in the
// class file. The comments belong to a roster: in homeroom mode to the class (the
// root's "comments"), in specialist mode to each class (its unit's "comments").
// Each term is a list aligned with the attendance numbers, so a transfer moves a
// comment with its pupil as it moves the scores.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QJsonObject>
#include <QString>

namespace Comments {

// The comment of a pupil (1..45) in a term (1..3); empty when there is none or the
// numbers are out of range.
QString of(const ClassData& data, int term, int pupil);

}  // namespace Comments
