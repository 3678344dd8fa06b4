#pragma once

#include "report/report_data.h"

#include <QString>

namespace tavomi::report {

// Report templates are HTML with fields in double braces:
//   {{公司名}}                 a value, or the column of the first row of any data set
//   {{master.金额合计}}         a column of the first row of the named data set
//   {{金额|0.00}}              a number with that many decimals ("0" for none)
//   {{NtoC(master.金额合计)}}   a function of the template (arguments: fields, 'text' or numbers)
//   {{#}}                      the number of the row inside a band (1, 2, …)
//   {{title}}, {{printDate}}, {{printTime}}   the report's title and the moment it is printed
// A band repeats its content once per row of a data set; inside it, plain names are that row's columns:
//   <!--band lines--> <tr><td>{{品名}}</td><td>{{金额|0.00}}</td></tr> <!--endband-->
// <!--table lines--> lays out every column and row of a data set as a table, and <!--tables--> every
// set but "company": list reports need no column-by-column template.
// Text values are HTML-escaped.
class TemplateEngine
{
public:
    // Fills the template; errors in expressions are shown inline as "[?expr]" so a broken field is visible.
    static QString fill(const QString &templateText, const ReportData &data);

    // The plain layout used when a template file is missing: title, the single values, then every data set as a table.
    static QString fallback(const ReportData &data, const QString &note);

    // Reads a template file (UTF-8); empty with an error text when it cannot be read.
    static QString readTemplate(const QString &path, QString *error);
};

} // namespace tavomi::report
