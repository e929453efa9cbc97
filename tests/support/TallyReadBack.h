#pragma once
// What the tally windows show and store, read back: the texts of a grid and a
// report store read with plain SQL.

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QVariant>

namespace TallyReadBack {

// The texts of a grid row (empty for a cell without an item), and the headings.
inline QStringList gridRow(const QTableWidget* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return texts;
}

inline QStringList headings(const QTableWidget* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << (grid->horizontalHeaderItem(c) ? grid->horizontalHeaderItem(c)->text() : QString());
    return texts;
}

// A report store as SQL gives it back: field names and values of "Titles" and
// "Datas", rows in the order they were written.
struct Store {
    QStringList titleFields;
    QStringList title;
    QStringList dataFields;
    QList<QStringList> rows;
};

inline Store readStore(const QString& path)
{
    Store store;
    const QString connection = QStringLiteral("tally-store-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery titles(QStringLiteral("SELECT * FROM Titles"), db);
            for (int i = 0; i < titles.record().count(); ++i)
                store.titleFields << titles.record().fieldName(i);
            if (titles.next())
                for (int i = 0; i < titles.record().count(); ++i)
                    store.title << titles.value(i).toString();
            QSqlQuery datas(QStringLiteral("SELECT * FROM Datas ORDER BY rowid"), db);
            for (int i = 0; i < datas.record().count(); ++i)
                store.dataFields << datas.record().fieldName(i);
            while (datas.next()) {
                QStringList row;
                for (int i = 0; i < datas.record().count(); ++i)
                    row << datas.value(i).toString();
                store.rows << row;
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return store;
}

}  // namespace TallyReadBack
