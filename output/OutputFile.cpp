#include "output/OutputFile.h"

// The same words as for the data files, as a sentence.
QString OutputFile::describeError(int error)
{
    return SafeFile::describeError(error) + QStringLiteral("。");
}

Status OutputFile::write(const QString& path, const QByteArray& bytes)
{
    OutputBatch batch;
    if (Status added = batch.write(path, bytes); !added)
        return added;
    return batch.commit();
}
