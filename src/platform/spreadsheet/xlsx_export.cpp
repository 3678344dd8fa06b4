#include "spreadsheet/xlsx_export.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

namespace tavomi::spreadsheet {

QString withXlsxExtension(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".xlsx");
}

QString writeXlsx(const QString &path, const QString &sheetName, const QStringList &titles, const RowSource &source)
{
    const QByteArray file = QFile::encodeName(path);
    QByteArray tmp = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmp.data();
    lxw_workbook *book = workbook_new_opt(file.constData(), &options);
    if (!book)
        return QStringLiteral("无法创建文件 %1").arg(path);
    // Sheet names are at most 31 characters and may not hold []:*?/\ .
    QString name = sheetName;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.remove(c);
    name = name.left(31);
    if (name.isEmpty())
        name = QStringLiteral("Sheet1");
    lxw_worksheet *sheet = workbook_add_worksheet(book, name.toUtf8().constData());
    if (!sheet) {
        workbook_close(book);
        return QStringLiteral("无法创建工作表");
    }
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);

    for (int c = 0; c < titles.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), titles.at(c).toUtf8().constData(), bold);
    lxw_row_t r = 1;
    QVariantList row;
    while (source(row)) {
        for (int c = 0; c < row.size(); ++c) {
            const QVariant &v = row.at(c);
            if (v.isNull())
                continue;
            switch (v.metaType().id()) {
            case QMetaType::Double:
            case QMetaType::Float:
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
                worksheet_write_number(sheet, r, lxw_col_t(c), v.toDouble(), nullptr);
                break;
            default: {
                const QByteArray text = v.toString().toUtf8();
                if (!text.isEmpty())
                    worksheet_write_string(sheet, r, lxw_col_t(c), text.constData(), nullptr);
            }
            }
        }
        ++r;
        row.clear();
        if (r >= LXW_ROW_MAX)
            break;
    }
    const lxw_error err = workbook_close(book);
    if (err != LXW_NO_ERROR)
        return QStringLiteral("导出失败：%1").arg(QString::fromUtf8(lxw_strerror(err)));
    return QString();
}

} // namespace tavomi::spreadsheet
