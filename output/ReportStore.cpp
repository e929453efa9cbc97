#include "output/ReportStore.h"

#include "output/OutputFile.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace {

QString quoted(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// One named connection for the life of an operation.
class Connection {
public:
    explicit Connection(const QString& path, bool readOnly = false)
    {
        static QAtomicInt counter;
        name = QStringLiteral("kazane-report-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    ~Connection() { QSqlDatabase::removeDatabase(name); }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

private:
    QString name;
};

Status failed(const QString& path, const QString& cause)
{
    return Status::failure(QStringLiteral("印刷用のデータベース「%1」を作れませんでした。%2").arg(QFileInfo(path).fileName(), cause));
}

// The cause of a failed SQLite call in Japanese. SQLite keeps the system's error to
// itself, and a failed commit comes without SQLite's code; right after a failed
// write the thread's errno still holds the system's error, which tells a full disk
// from a file-size limit. Otherwise SQLite's code decides.
QString causeOf(const QSqlError& error, int savedErrno)
{
    enum { SqlError = 1, Perm = 3, ReadOnly = 8, IoErr = 10, Full = 13, CantOpen = 14, Constraint = 19, Mismatch = 20 };
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known) & 0xff;
    const bool fileFailure = !known || code == IoErr || code == Full || code == ReadOnly || code == Perm || code == CantOpen;
    static const int systemErrors[] = {ENOSPC, EFBIG, EDQUOT, EIO, EROFS, EACCES, EPERM, ENOENT};
    if (fileFailure && std::find(std::begin(systemErrors), std::end(systemErrors), savedErrno) != std::end(systemErrors))
        return OutputFile::describeError(savedErrno);
    if (!known)
        return OutputFile::describeError(error.databaseText().contains(QLatin1String("full")) ? ENOSPC : EIO);
    switch (code) {
    case Full:
        return OutputFile::describeError(ENOSPC);
    case ReadOnly:
        return OutputFile::describeError(EROFS);
    case Perm:
    case CantOpen:
        return OutputFile::describeError(EACCES);
    case SqlError:
    case Constraint:
    case Mismatch:
        return QStringLiteral("印刷用の表の項目名が正しくありません。");
    default:
        return OutputFile::describeError(EIO);
    }
}

bool createTable(QSqlQuery& query, const QString& table, const QStringList& fields, const QString& indexName)
{
    QStringList columns;
    for (const QString& field : fields)
        columns.append(quoted(field) + QStringLiteral(" TEXT"));
    return query.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table), columns.join(QStringLiteral(", "))))
        && query.exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(quoted(indexName), quoted(table), quoted(fields.first())));
}

bool insertRow(QSqlQuery& query, const QString& table, const QStringList& fields, const QStringList& values)
{
    QStringList marks;
    for (int i = 0; i < fields.size(); ++i)
        marks.append(QStringLiteral("?"));
    if (!query.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quoted(table), marks.join(QLatin1Char(',')))))
        return false;
    for (int i = 0; i < fields.size(); ++i)
        query.addBindValue(i < values.size() ? values[i] : QString(QLatin1String("")));
    return query.exec();
}

}  // namespace

Status ReportStore::write(const QString& path, const ReportSheet& sheet)
{
    if (sheet.titleFields.isEmpty() || sheet.dataFields.isEmpty())
        return failed(path, QStringLiteral("項目がありません。"));
    OutputBatch batch;
    if (Status made = batch.writeMade(path, [&](const QString& file) { return fill(file, sheet, path); }); !made)
        return made;
    return batch.commit();
}

Status ReportStore::fill(const QString& file, const ReportSheet& sheet, const QString& displayPath)
{
    if (sheet.titleFields.isEmpty() || sheet.dataFields.isEmpty())
        return failed(displayPath, QStringLiteral("項目がありません。"));
    Status result = Status::success();
    {
        Connection connection(file);
        QSqlDatabase db = connection.db();
        errno = 0;
        if (!db.open())
            return failed(displayPath, causeOf(db.lastError(), errno));
        QSqlQuery query(db);
        const QString dataIndex = sheet.dataIndexName.isEmpty() ? sheet.dataFields.first() : sheet.dataIndexName;
        errno = 0;
        bool ok = db.transaction()
            && createTable(query, QStringLiteral("Titles"), sheet.titleFields, QStringLiteral("Title"))
            && createTable(query, QStringLiteral("Datas"), sheet.dataFields, dataIndex)
            && insertRow(query, QStringLiteral("Titles"), sheet.titleFields, sheet.titleValues);
        if (ok && !query.prepare(QStringLiteral("INSERT INTO \"Datas\" VALUES (%1)")
                                     .arg(QStringList(sheet.dataFields.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
            ok = false;
        for (int r = 0; ok && r < sheet.rows.size(); ++r) {
            const QStringList& row = sheet.rows[r];
            for (int i = 0; i < sheet.dataFields.size(); ++i)
                query.addBindValue(i < row.size() ? row[i] : QString(QLatin1String("")));
            ok = query.exec();
        }
        bool committed = ok && db.commit();
        const int savedErrno = errno;
        if (!committed) {
            const QSqlError error = query.lastError().isValid() ? query.lastError() : db.lastError();
            result = failed(displayPath, causeOf(error, savedErrno));
            if (ok)
                db.rollback();
        }
        query.finish();
        db.close();
    }
    return result;
}

Status ReportStore::read(const QString& path, ReportSheet& sheet)
{
    if (!QFileInfo::exists(path))
        return Status::failure(QStringLiteral("一時ファイル「%1」がありません。").arg(QFileInfo(path).fileName()));
    Status result = Status::success();
    {
        Connection connection(path, true);
        QSqlDatabase db = connection.db();
        if (!db.open())
            return Status::failure(QStringLiteral("印刷用のデータベース「%1」を開けませんでした。").arg(QFileInfo(path).fileName()));
        {
            QSqlQuery query(db);
            auto readTable = [&](const QString& table, QStringList& fields, QList<QStringList>& rows) {
                if (!query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoted(table))))
                    return false;
                const QSqlRecord record = query.record();
                fields.clear();
                for (int i = 0; i < record.count(); ++i)
                    fields.append(record.fieldName(i));
                while (query.next()) {
                    QStringList row;
                    for (int i = 0; i < record.count(); ++i)
                        row.append(query.value(i).toString());
                    rows.append(row);
                }
                return true;
            };
            QList<QStringList> titles;
            sheet.rows.clear();
            if (!readTable(QStringLiteral("Titles"), sheet.titleFields, titles)
                || !readTable(QStringLiteral("Datas"), sheet.dataFields, sheet.rows))
                result = Status::failure(QStringLiteral("印刷用のデータベース「%1」を読めませんでした。").arg(QFileInfo(path).fileName()));
            sheet.titleValues = titles.isEmpty() ? QStringList() : titles.first();
            if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='Datas'")) && query.next())
                sheet.dataIndexName = query.value(0).toString();
        }
        db.close();
    }
    return result;
}
