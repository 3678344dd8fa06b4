#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace tavomi::spreadsheet {

// Writes one worksheet: a title row, then the rows the source hands out one at a time
// (source returns false when there are no more). Numbers are written as numbers, text as text.
// Rows are streamed (constant memory), so large results do not need to sit in memory.
// Returns an empty string on success, otherwise the reason.
using RowSource = std::function<bool(QVariantList &row)>;
QString writeXlsx(const QString &path, const QString &sheetName, const QStringList &titles, const RowSource &source);

// The file name the export dialog's choice becomes: ".xlsx" is appended unless the name already
// ends in it (any case).
QString withXlsxExtension(const QString &fileName);

} // namespace tavomi::spreadsheet
