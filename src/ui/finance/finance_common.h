#pragma once

#include "report/report_data.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

class QDateEdit;
class QDialog;
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
// One filter of a list form: its caption (none for a button or a count label) and its widget.
struct ListFilter
{
    QString caption;
    QWidget *widget;
};
// Lays out a list form: its rows of filters, the grid, and the toolbar (the buttons, then the
// close button at the right end).
void layOutList(QDialog *form, const QList<QList<ListFilter>> &filterRows, DataGrid *grid, const QList<QPushButton *> &buttons,
                QPushButton *close);
// Runs refresh whenever one of the filters changes (text, date, choice or radio button).
void refreshOnChange(QObject *form, const QList<QWidget *> &filters, const std::function<void()> &refresh);
// " and column like ? escape ..." with the text bound as found literally anywhere, or nothing for an empty filter.
void addContains(QString &sql, QVariantList &values, const QString &column, const QString &text);

} // namespace tavomi
