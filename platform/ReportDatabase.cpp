#include "platform/ReportDatabase.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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
    explicit Connection(const QString& path)
    {
        static QAtomicInt counter;
        name = QStringLiteral("kazane-report-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
    }
    ~Connection() { QSqlDatabase::removeDatabase(name); }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

private:
    QString name;
};

Status failed(const QString& path, const QString& detail)
{
    return Status::failure(QStringLiteral("印刷用の一時ファイル「%1」を作れませんでした。（%2）").arg(QFileInfo(path).fileName(), detail));
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

Status ReportDatabase::write(const QString& path, const ReportSheet& sheet)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return failed(path, QStringLiteral("前回の一時ファイルを削除できません"));
    if (sheet.titleFields.isEmpty() || sheet.dataFields.isEmpty())
        return failed(path, QStringLiteral("項目がありません"));
    Status result = Status::success();
    {
        Connection connection(path);
        QSqlDatabase db = connection.db();
        if (!db.open())
            return failed(path, db.lastError().text());
        QSqlQuery query(db);
        const QString dataIndex = sheet.dataIndexName.isEmpty() ? sheet.dataFields.first() : sheet.dataIndexName;
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
        if (ok)
            ok = db.commit();
        if (!ok)
            result = failed(path, query.lastError().text().isEmpty() ? db.lastError().text() : query.lastError().text());
        query.finish();
        db.close();
    }
    if (!result)
        QFile::remove(path);
    return result;
}

Status ReportDatabase::read(const QString& path, ReportSheet& sheet)
{
    if (!QFileInfo::exists(path))
        return Status::failure(QStringLiteral("一時ファイル「%1」がありません。").arg(QFileInfo(path).fileName()));
    Status result = Status::success();
    {
        Connection connection(path);
        QSqlDatabase db = connection.db();
        if (!db.open())
            return Status::failure(db.lastError().text());
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
                result = Status::failure(query.lastError().text());
            sheet.titleValues = titles.isEmpty() ? QStringList() : titles.first();
            if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='Datas'")) && query.next())
                sheet.dataIndexName = query.value(0).toString();
        }
        db.close();
    }
    return result;
}
