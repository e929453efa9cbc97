#include "output/XlsxWriter.h"

#include "output/OutputFile.h"
#include "output/SheetTable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <xlsxwriter.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Names a spreadsheet takes for a worksheet: at most 31 characters, none of []:*?/\ .
QString worksheetName(const QString& name)
{
    static const QRegularExpression refused(QStringLiteral("[\\[\\]:*?/\\\\']"));
    QString fitted = QString(name).remove(refused).left(31);
    return fitted.isEmpty() ? QStringLiteral("一覧表") : fitted;
}

// Width in character cells: full-width characters count two.
double cellWidth(const QString& text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x2000 ? 1.0 : 2.0;
    return width;
}

bool isTextColumn(const QString& heading)
{
    static const QStringList text{QStringLiteral("氏名"), QStringLiteral("テスト名"), QStringLiteral("教科"),
                                  QStringLiteral("評定の欄"), QStringLiteral("テスト"), QStringLiteral("理由"),
                                  QStringLiteral("日付")};
    return text.contains(heading);
}

void writeCell(lxw_worksheet* sheet, int row, int column, const QString& cell, bool asText, lxw_format* format)
{
    if (!asText && SheetCells::isNumber(cell)) {
        worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), SheetCells::number(cell), format);
        return;
    }
    const QByteArray text = cell.toUtf8();
    worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), text.constData(), format);
}

void fill(lxw_workbook* book, const SheetTable& table)
{
    const QByteArray name = worksheetName(table.sheetName).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.constData());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    QList<double> widths(table.headings.size(), 4.0);
    // The title line: its values (figures such as the class average) keep their kind.
    for (qsizetype c = 0; c < table.about.size(); ++c)
        writeCell(sheet, 0, int(c), table.about[c], c % 2 == 1 || c == 0, c == 0 ? bold : nullptr);
    for (qsizetype c = 0; c < table.headings.size(); ++c) {
        writeCell(sheet, 1, int(c), table.headings[c], true, bold);
        widths[c] = qMax(widths[c], cellWidth(table.headings[c]));
    }
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        for (qsizetype c = 0; c < table.headings.size(); ++c) {
            const QString& cell = table.rows[r][c];
            writeCell(sheet, int(r + 2), int(c), cell, isTextColumn(table.headings[c]), nullptr);
            widths[c] = qMax(widths[c], cellWidth(cell.trimmed()));
        }
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), qMin(widths[c] + 2.0, 60.0), nullptr);
    worksheet_freeze_panes(sheet, 2, 0);
}

// libxlsxwriter reports its failures on standard error in English; the program
// tells them itself in Japanese, so the library's lines are held back meanwhile.
class QuietErrors {
public:
    QuietErrors() : saved(::dup(STDERR_FILENO))
    {
        const int null = ::open("/dev/null", O_WRONLY);
        if (saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietErrors()
    {
        if (saved >= 0) {
            ::dup2(saved, STDERR_FILENO);
            ::close(saved);
        }
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    int saved;
};

}  // namespace

Status XlsxWriter::build(const ReportSheet& sheet, const QString& path, QByteArray& bytes)
{
    const auto failed = [&path](int error) {
        return Status::failure(QStringLiteral("ブック（.xlsx）「%1」を作れませんでした。%2")
                                   .arg(QDir::toNativeSeparators(path),
                                        error != 0 ? OutputFile::describeError(error)
                                                   : QStringLiteral("一時ファイルを書けませんでした。")));
    };
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failed(errno);
    const QString workbook = scratch.filePath(QStringLiteral("sheet.xlsx"));
    const QByteArray localPath = QFile::encodeName(workbook);
    const QByteArray tmpdir = QFile::encodeName(scratch.path());
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(tmpdir.constData());
    bool made = false;
    int error = 0;
    {
        const QuietErrors quiet;
        errno = 0;
        if (lxw_workbook* book = workbook_new_opt(localPath.constData(), &options)) {
            fill(book, SheetTable::of(sheet));
            made = workbook_close(book) == LXW_NO_ERROR;
        }
        error = errno;
    }
    if (!made)
        return failed(error);
    QFile file(workbook);
    if (!file.open(QIODevice::ReadOnly))
        return failed(errno);
    bytes = file.readAll();
    return Status::success();
}

Status XlsxWriter::write(const QString& path, const ReportSheet& sheet)
{
    QByteArray bytes;
    if (Status built = build(sheet, path, bytes); !built)
        return built;
    return OutputFile::write(path, bytes);
}
