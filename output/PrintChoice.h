#pragma once
// What プリンタの設定 chose: the printer, the paper, the orientation and the
// copies. It is kept in the settings store (group "Printing") and used by every
// 印刷 until the teacher changes it.
//
// A printer that is gone (deleted, renamed by a driver reinstall) is never a reason
// to print nothing: the print goes to the system's default printer and the teacher
// is told so in one line; only when there is no default either, the teacher is
// asked to choose one.

#include "model/Status.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <optional>

class QSettings;
struct PrintQueue;

struct PrintChoice {
    enum class Orientation { Sheet, Portrait, Landscape };

    QString printer;  // empty: the system's default printer
    QString paper;    // a name of PrintPapers ("B5"); empty: each sheet's own paper
    Orientation orientation = Orientation::Sheet;
    int copies = 1;

    static constexpr int MaxCopies = 99;

    // Reads the choice; what is missing or not understood stays as the default.
    static PrintChoice load(const QSettings& store);
    // Stores the choice through the checked settings write.
    Status store(QSettings& store) const;
    // The orientation a sheet laid out in `own` is printed in.
    QPageLayout::Orientation orientationFor(QPageLayout::Orientation own) const;

    bool operator==(const PrintChoice& other) const;
};

// The papers a teacher may choose, where the printer takes them.
namespace PrintPapers {
struct Paper {
    QString name;  // as stored and shown ("B5")
    QPageSize::PageSizeId id;
    QString pwg;   // the print system's usual name ("jis_b5_182x257mm")
};
const QList<Paper>& all();
std::optional<Paper> byName(const QString& name);
std::optional<Paper> byId(QPageSize::PageSizeId id);
// The size in millimetres a PWG media name gives ("iso_a4_210x297mm",
// "custom_182.74x256.47mm_182.74x256.47mm", "na_letter_8.5x11in").
std::optional<QSizeF> sizeOf(const QString& pwgName);
// The name among a queue's media names (PWG) of the paper of size `id`, matched
// by its size within a millimetre (a printer's own table may round it); empty when
// the queue has none of that size.
QString queueNameOf(QPageSize::PageSizeId id, const QStringList& pwgNames);
// The papers of the list a queue takes.
QList<Paper> takenBy(const QStringList& pwgNames);
}  // namespace PrintPapers

// The queue a print goes to.
struct PrintTarget {
    QString queue;    // empty: no queue can be chosen without the teacher
    QString note;     // one line on a fallback ("…が見つからないため…")
    QString problem;  // why no queue was chosen
};

// The stored printer while it exists; else the default printer, or the only one,
// with a note; else a problem to tell the teacher.
PrintTarget resolvePrintTarget(const QString& stored, const QList<PrintQueue>& queues);
