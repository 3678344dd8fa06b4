#include "ui/finance/finance_common.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/session.h"
#include "ui/common/data_grid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QRegularExpressionValidator>
#include <QSqlQuery>

namespace tavomi {

QDateEdit *makeDateEdit(QWidget *parent, const QString &objectName, const QDate &date)
{
    auto *e = new QDateEdit(date.isValid() ? date : Clock::now().date(), parent);
    e->setObjectName(objectName);
    e->setCalendarPopup(true);
    e->setDisplayFormat(QString::fromLatin1(kDateFormat));
    return e;
}

QLineEdit *makeEdit(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(objectName);
    return e;
}

QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

void setAmountInput(QLineEdit *edit, bool allowMinus)
{
    const QString pattern = allowMinus ? QStringLiteral("-?[0-9]*\\.?[0-9]*") : QStringLiteral("[0-9]*\\.?[0-9]*");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

QString dateText(const QDateEdit *edit)
{
    return edit->date().toString(QString::fromLatin1(kDateFormat));
}

report::ReportData gridReportData(const DataGrid *grid, const QString &title, const QString &from, const QString &to)
{
    report::ReportData data;
    data.title = title;
    report::DataSet rows;
    rows.name = QStringLiteral("list");
    QList<int> shown;
    for (int i = 0; i < grid->columns().size(); ++i)
        if (grid->columns().at(i).visible) {
            rows.columns << grid->columns().at(i).title;
            shown << i;
        }
    QSqlQuery q = Session::current().run(grid->orderedQuery(), grid->queryValues());
    while (q.next()) {
        QVariantList row;
        for (int i : shown)
            row << formatGridValue(q.value(i), grid->columns().at(i).format);
        rows.rows.append(row);
    }
    data.sets.append(rows);
    data.values.insert(QStringLiteral("getqsrq"), from);
    data.values.insert(QStringLiteral("getzzrq"), to);
    data.functions.insert(QStringLiteral("getqsrq"), [from](const QStringList &) { return from; });
    data.functions.insert(QStringLiteral("getzzrq"), [to](const QStringList &) { return to; });
    return data;
}

void layOutList(QDialog *form, const QList<QList<ListFilter>> &filterRows, DataGrid *grid, const QList<QPushButton *> &buttons,
                QPushButton *close)
{
    auto *layout = new QVBoxLayout(form);
    for (const QList<ListFilter> &row : filterRows) {
        auto *line = new QHBoxLayout;
        for (const ListFilter &f : row) {
            if (!f.caption.isEmpty())
                line->addWidget(new QLabel(f.caption, form));
            line->addWidget(f.widget);
        }
        line->addStretch(1);
        layout->addLayout(line);
    }
    layout->addWidget(grid, 1);
    auto *toolbar = new QHBoxLayout;
    for (QPushButton *b : buttons)
        toolbar->addWidget(b);
    toolbar->addStretch(1);
    toolbar->addWidget(close);
    layout->addLayout(toolbar);
    QObject::connect(close, &QPushButton::clicked, form, &QDialog::reject);
}

void refreshOnChange(QObject *form, const QList<QWidget *> &filters, const std::function<void()> &refresh)
{
    for (QWidget *w : filters) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            QObject::connect(e, &QLineEdit::textChanged, form, refresh);
        else if (auto *d = qobject_cast<QDateEdit *>(w))
            QObject::connect(d, &QDateEdit::dateChanged, form, refresh);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            QObject::connect(c, &QComboBox::currentIndexChanged, form, refresh);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            QObject::connect(b, &QAbstractButton::toggled, form, refresh);
    }
}

void addContains(QString &sql, QVariantList &values, const QString &column, const QString &text)
{
    if (text.trimmed().isEmpty())
        return;
    sql += QStringLiteral(" and %1 %2 ?").arg(column, likeOperator(Session::current())) + likeEscapeFor(text.trimmed());
    values << containsPattern(text.trimmed());
}

} // namespace tavomi
