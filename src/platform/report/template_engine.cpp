#include "report/template_engine.h"

#include "common/clock.h"
#include "common/text_utils.h"

#include <QFile>
#include <QRegularExpression>

namespace tavomi::report {

namespace {

struct Scope
{
    const ReportData &data;
    const DataSet *rowSet = nullptr;
    int row = -1;
};

QVariant columnValue(const DataSet &set, int row, const QString &column, bool *found)
{
    const int c = int(set.columns.indexOf(column));
    if (c < 0 || row < 0 || row >= set.rows.size()) {
        *found = c >= 0; // a known column of an empty set is empty, not an error
        return QVariant();
    }
    *found = true;
    const QVariantList &r = set.rows.at(row);
    return c < r.size() ? r.at(c) : QVariant();
}

QVariant lookup(const Scope &scope, const QString &name, bool *found)
{
    *found = false;
    if (name == QLatin1String("#")) {
        *found = scope.row >= 0;
        return scope.row + 1;
    }
    const int dot = int(name.indexOf(QLatin1Char('.')));
    if (dot > 0) {
        if (const DataSet *set = scope.data.set(name.left(dot))) {
            const int row = (scope.rowSet == set) ? scope.row : 0;
            return columnValue(*set, row, name.mid(dot + 1), found);
        }
    }
    if (scope.rowSet) {
        QVariant v = columnValue(*scope.rowSet, scope.row, name, found);
        if (*found)
            return v;
    }
    const auto it = scope.data.values.constFind(name);
    if (it != scope.data.values.constEnd()) {
        *found = true;
        return *it;
    }
    for (const DataSet &set : scope.data.sets) {
        QVariant v = columnValue(set, 0, name, found);
        if (*found)
            return v;
    }
    // Names every report knows.
    if (name == QLatin1String("title")) {
        *found = true;
        return scope.data.title;
    }
    if (name == QLatin1String("printDate")) {
        *found = true;
        return Clock::today();
    }
    if (name == QLatin1String("printTime")) {
        *found = true;
        return Clock::timeText();
    }
    return QVariant();
}

QString text(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(v.toDouble());
    default:
        return v.toString();
    }
}

QStringList splitArguments(const QString &inside)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    int depth = 0;
    for (const QChar c : inside) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            cur += c;
        } else if (!quoted && c == QLatin1Char('(')) {
            ++depth;
            cur += c;
        } else if (!quoted && c == QLatin1Char(')')) {
            --depth;
            cur += c;
        } else if (!quoted && depth == 0 && c == QLatin1Char(',')) {
            out << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.trimmed().isEmpty())
        out << cur.trimmed();
    return out;
}

bool evaluate(const Scope &scope, const QString &expr, QString *out);

bool evaluateValue(const Scope &scope, const QString &expr, QVariant *out)
{
    const QString e = expr.trimmed();
    if (e.size() >= 2 && e.startsWith(QLatin1Char('\'')) && e.endsWith(QLatin1Char('\''))) {
        *out = e.mid(1, e.size() - 2);
        return true;
    }
    bool isNumber = false;
    const double n = e.toDouble(&isNumber);
    if (isNumber) {
        *out = n;
        return true;
    }
    const int paren = int(e.indexOf(QLatin1Char('(')));
    if (paren > 0 && e.endsWith(QLatin1Char(')'))) {
        QString s;
        if (!evaluate(scope, e, &s))
            return false;
        *out = s;
        return true;
    }
    bool found = false;
    *out = lookup(scope, e, &found);
    return found;
}

bool evaluate(const Scope &scope, const QString &expression, QString *out)
{
    QString expr = expression.trimmed();
    QString format;
    const int bar = int(expr.lastIndexOf(QLatin1Char('|')));
    if (bar > 0 && !expr.mid(bar).contains(QLatin1Char('\''))) {
        format = expr.mid(bar + 1).trimmed();
        expr = expr.left(bar).trimmed();
    }
    const int paren = int(expr.indexOf(QLatin1Char('(')));
    if (paren > 0 && expr.endsWith(QLatin1Char(')'))) {
        const QString name = expr.left(paren).trimmed();
        QStringList args;
        for (const QString &a : splitArguments(expr.mid(paren + 1, expr.size() - paren - 2))) {
            QVariant v;
            if (!evaluateValue(scope, a, &v))
                return false;
            args << text(v);
        }
        if (name.compare(QLatin1String("NtoC"), Qt::CaseInsensitive) == 0) {
            *out = MoneyToCapitals(args.value(0).toDouble());
            return true;
        }
        const auto it = scope.data.functions.constFind(name);
        if (it == scope.data.functions.constEnd())
            return false;
        *out = (*it)(args);
        return true;
    }
    QVariant v;
    if (!evaluateValue(scope, expr, &v))
        return false;
    if (!format.isEmpty()) {
        const int decimals = format.contains(QLatin1Char('.')) ? int(format.size() - format.indexOf(QLatin1Char('.')) - 1) : 0;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok && !v.isNull() && !(v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())) {
            *out = QString::number(roundHalfAway(d, decimals), 'f', decimals);
            return true;
        }
    }
    *out = text(v);
    return true;
}

QString substitute(const QString &part, const Scope &scope)
{
    static const QRegularExpression field(QStringLiteral("\\{\\{(.*?)\\}\\}"));
    QString out;
    qsizetype last = 0;
    auto it = field.globalMatch(part);
    while (it.hasNext()) {
        const auto m = it.next();
        out += part.mid(last, m.capturedStart() - last);
        QString value;
        if (evaluate(scope, m.captured(1), &value))
            out += value.toHtmlEscaped();
        else
            out += QStringLiteral("[?") + m.captured(1).toHtmlEscaped() + QStringLiteral("]");
        last = m.capturedEnd();
    }
    out += part.mid(last);
    return out;
}

} // namespace

namespace {

QString tableOf(const DataSet &set)
{
    QString html = QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr style=\"background:#eeeeee\">");
    for (const QString &c : set.columns)
        html += QStringLiteral("<th>%1</th>").arg(c.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const QVariantList &row : set.rows) {
        html += QStringLiteral("<tr>");
        for (const QVariant &v : row) {
            const bool number = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
            html += (number ? QStringLiteral("<td align=\"right\">%1</td>") : QStringLiteral("<td>%1</td>")).arg(text(v).toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// <!--table name--> lays out every column and row of a data set; <!--tables--> does so for every
// set except the company data.
QString expandTables(const QString &templateText, const ReportData &data)
{
    static const QRegularExpression table(QStringLiteral("<!--\\s*table\\s+(\\S+?)\\s*-->"));
    static const QRegularExpression tables(QStringLiteral("<!--\\s*tables\\s*-->"));
    QString out = templateText;
    QString all;
    for (const DataSet &set : data.sets)
        if (set.name != QLatin1String("company"))
            all += tableOf(set) + QStringLiteral("<br/>");
    out.replace(tables, all);
    QString result;
    qsizetype last = 0;
    auto it = table.globalMatch(out);
    while (it.hasNext()) {
        const auto m = it.next();
        result += out.mid(last, m.capturedStart() - last);
        if (const DataSet *set = data.set(m.captured(1)))
            result += tableOf(*set);
        last = m.capturedEnd();
    }
    return result + out.mid(last);
}

} // namespace

QString TemplateEngine::fill(const QString &templateText, const ReportData &data)
{
    static const QRegularExpression band(QStringLiteral("<!--\\s*band\\s+(\\S+?)\\s*-->(.*?)<!--\\s*endband\\s*-->"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const Scope top{data};
    QString out;
    qsizetype last = 0;
    auto it = band.globalMatch(templateText);
    while (it.hasNext()) {
        const auto m = it.next();
        out += substitute(templateText.mid(last, m.capturedStart() - last), top);
        const DataSet *set = data.set(m.captured(1));
        if (set) {
            const QString body = m.captured(2);
            for (int r = 0; r < set->rows.size(); ++r)
                out += substitute(body, Scope{data, set, r});
        }
        last = m.capturedEnd();
    }
    out += substitute(templateText.mid(last), top);
    return expandTables(out, data);
}

QString TemplateEngine::fallback(const ReportData &data, const QString &note)
{
    QString html = QStringLiteral("<html><body style=\"font-family:'Noto Sans CJK SC'\">");
    if (!note.isEmpty())
        html += QStringLiteral("<p style=\"color:#a00\">%1</p>").arg(note.toHtmlEscaped());
    html += QStringLiteral("<h2 align=\"center\">%1</h2>").arg(data.title.toHtmlEscaped());
    for (auto it = data.values.cbegin(); it != data.values.cend(); ++it)
        html += QStringLiteral("<p>%1：%2</p>").arg(it.key().toHtmlEscaped(), text(it.value()).toHtmlEscaped());
    for (const DataSet &set : data.sets) {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
        for (const QString &c : set.columns)
            html += QStringLiteral("<th>%1</th>").arg(c.toHtmlEscaped());
        html += QStringLiteral("</tr>");
        for (const QVariantList &row : set.rows) {
            html += QStringLiteral("<tr>");
            for (const QVariant &v : row)
                html += QStringLiteral("<td>%1</td>").arg(text(v).toHtmlEscaped());
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table><br/>");
    }
    html += QStringLiteral("</body></html>");
    return html;
}

QString TemplateEngine::readTemplate(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("报表文件 %1 不存在或不能读取").arg(path);
        return QString();
    }
    return QString::fromUtf8(f.readAll());
}

} // namespace tavomi::report
