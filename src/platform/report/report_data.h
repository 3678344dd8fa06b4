#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace tavomi::report {

// One named data set handed to a report template: column names and rows.
struct DataSet
{
    QString name;        // "master", "lines", "company" …
    QStringList columns;
    QList<QVariantList> rows;
};

// Everything a template is filled with: data sets, single values and the title.
struct ReportData
{
    QString title;
    QList<DataSet> sets;
    QHash<QString, QVariant> values;
    // Functions a template may call by name, supplied by the form that prints ("gettxm", "getchm" …).
    // "NtoC" is always there.
    QHash<QString, std::function<QString(const QStringList &)>> functions;

    const DataSet *set(const QString &name) const
    {
        for (const DataSet &s : sets)
            if (s.name == name)
                return &s;
        return nullptr;
    }
};

} // namespace tavomi::report
