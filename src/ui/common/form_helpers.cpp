#include "ui/common/form_helpers.h"

#include "common/error.h"
#include "common/session.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQueryModel>
#include <QWidget>

namespace tavomi {

namespace {

void appendRows(Session &session, const QString &sql, QComboBox *combo, bool swallowErrors)
{
    try {
        QSqlQuery q = session.run(sql);
        while (q.next())
            combo->addItem(q.value(0).toString());
    } catch (const DbError &) {
        if (!swallowErrors)
            throw;
    }
}

} // namespace

void FillListCombo(Session &session, int selector, QComboBox *combo)
{
    static const char *const statements[] = {
        "select 经手人 from 经手人 order by 经手人",
        "select 账户名称 from 银行帐户表 order by 账户名称",
        "select 账户名称 from 其它收入 order by 账户名称",
        "select 账户名称 from 其它支出 order by 账户名称",
        "select 科目名称 from 银行账户 order by 科目名称",
    };
    combo->clear();
    if (selector < 0 || selector > 4)
        return;
    appendRows(session, QString::fromUtf8(statements[selector]), combo, true);
}

void FillPlaceCombo(Session &session, int selector, QComboBox *combo)
{
    QString sql;
    switch (selector) {
    case 0:
    case 3:
        sql = QStringLiteral("select 货位名称 from 货位 order by 货位名称");
        break;
    case 1:
        sql = QStringLiteral("select 业务员姓名 from 业务员 order by 业务员姓名");
        break;
    case 2:
        sql = QStringLiteral("select 科目名称 from 银行账户");
        break;
    default:
        return;
    }
    appendRows(session, sql, combo, false);
}

void FillSiteCombo(Session &session, QComboBox *combo)
{
    appendRows(session, QStringLiteral("select 站点名称 from 站点 order by 站点名称"), combo, false);
    combo->addItem(QStringLiteral("所有站点"));
}

void SetEditsState(QWidget *form, int mode)
{
    const auto edits = form->findChildren<QLineEdit *>();
    for (QLineEdit *e : edits) {
        // Edits that belong to composite widgets (spin boxes, combo boxes) are not the form's own.
        if (qobject_cast<QComboBox *>(e->parentWidget()) || e->parentWidget()->inherits("QAbstractSpinBox"))
            continue;
        QPalette pal = e->palette();
        switch (mode) {
        case 2:
            e->setEnabled(true);
            pal.setColor(QPalette::Base, Qt::white);
            break;
        case 1:
            e->setEnabled(true);
            pal.setColor(QPalette::Base, Qt::white);
            if (!e->objectName().startsWith(QLatin1String("No")) && e->objectName() != QLatin1String("BEdit1"))
                e->clear();
            break;
        default:
            e->setEnabled(false);
            // 14540253 = 0xDDDDDD
            pal.setColor(QPalette::Base, QColor(0xDD, 0xDD, 0xDD));
            break;
        }
        e->setPalette(pal);
    }
}

void CloseFormQueries(QWidget *form)
{
    const auto models = form->findChildren<QSqlQueryModel *>();
    for (QSqlQueryModel *m : models)
        m->clear();
}

} // namespace tavomi
