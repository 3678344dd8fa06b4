#pragma once

#include "report/report_data.h"

#include <QDate>
#include <QString>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tavomi {

class DataGrid;

// Small pieces the money forms share.
QDateEdit *makeDateEdit(QWidget *parent, const QString &objectName, const QDate &date = {});
QLineEdit *makeEdit(QWidget *parent, const QString &objectName, const QString &text = {});
QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &text);
// Amount fields: digits, one decimal point (and a leading minus where allowed).
void setAmountInput(QLineEdit *edit, bool allowMinus = false);
QString dateText(const QDateEdit *edit);
// The grid's whole result as the data set "list" with the two date functions of list reports.
report::ReportData gridReportData(const DataGrid *grid, const QString &title, const QString &from, const QString &to);
// " and column like ? escape ..." with the text bound as found literally anywhere, or nothing for an empty filter.
void addContains(QString &sql, QVariantList &values, const QString &column, const QString &text);

} // namespace tavomi
