#include "model/UnitSets.h"

#include "model/ClassFile.h"
#include "model/ScoreFile.h"

#include <QFileInfo>

Status UnitSets::load(const ClassData& data, QList<Unit>& units)
{
    ClassFile::Content content;
    if (Status read = ClassFile::read(data, content); !read)
        return Status::failure(ClassFile::refusedNotice(read.message));
    QList<Unit> loaded;
    for (int number = 1; number <= Limits::Units; ++number) {
        const bool inUse = data.specialistMode ? number == data.classNumber : data.subjectInUse[number] == 1;
        if (!inUse)
            continue;
        Unit unit;
        unit.number = number;
        unit.stem = data.fileStem[number];
        const QString path = ScoreFile::path(data, number);
        unit.found = QFileInfo::exists(path);
        if (unit.found) {
            if (Status read = ScoreFile::read(path, ScoreFile::fileName(data, number), data.pupilCount, unit.tests); !read)
                return read;
            ClassFile::apply(content.root, unit.stem, data.pupilCount, unit.tests, unit.overrulings);
        }
        loaded.append(unit);
    }
    units = loaded;
    return Status::success();
}
