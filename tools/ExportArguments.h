#pragma once
// The command line of kazane-export, read with QCommandLineParser: every option as
// it was given (empty when it was not), the words that are not options (the kind
// of sheet), and the Japanese usage text that --help prints.

#include <QString>
#include <QStringList>

struct ExportOptions {
    bool help = false;
    bool oneFilePerSubject = false;  // the term pack's pupils' sheets: one PDF per subject
    bool oneFile = false;            // the report cards: every pupil in one PDF
    QString reportCard;              // the folder of the report cards
    QString settingsFile;
    QString dataFolder;
    QString mode;
    QString threads;  // the term pack's workers; empty: one per core
    QString subject;
    QString className;
    QString pdf;
    QString csv;
    QString xlsx;
    QString format;  // the term pack's kinds of file: "pdf,csv,xlsx"
    QString store;
    QString termPack;
    QString term;
    QString test;
    QString order;
    QString pupil;
    QString tests;
    QString show;
    QString view;
    QStringList sheets;  // the words that are not options
};

namespace ExportArguments {
// Reads `arguments` (without the program's name) into `options`. Returns the
// Japanese message of a wrong use (an unknown option, an option without its value,
// an option given twice), or empty text. --help wins over any other word.
QString read(const QStringList& arguments, ExportOptions& options);
QString usage();
}
