#include "ui/masterdata/spzl_frm.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "spreadsheet/xlsx_export.h"
#include "ui/common/data_grid.h"
#include "ui/common/list_report.h"
#include "ui/common/report_view.h"
#include "ui/masterdata/category_tree.h"
#include "ui/masterdata/goods_list_model.h"
#include "ui/masterdata/product_frm.h"
#include "ui/masterdata/splebei_new_frm.h"

#include <QGridLayout>
#include <QSqlQuery>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace tavomi {

namespace {
const QString kGoodsRight = QStringLiteral("增加管理商品");
const QString kCostRight = QStringLiteral("可查看商品进价");
} // namespace

Tfrm_spzl::Tfrm_spzl(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_spzl"));
    setWindowTitle(QStringLiteral("商品信息"));
    buildUi();
    listAll();
}

void Tfrm_spzl::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    auto addButton = [&](const QString &text, const QString &hint, const QKeySequence &key, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        QString tip = hint.isEmpty() ? text : hint;
        if (!key.isEmpty()) {
            b->setShortcut(key);
            tip += QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')');
        }
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        m_buttons << b;
        return b;
    };
    addButton(QStringLiteral("退出"), QString(), QKeySequence(), [this] { reject(); });
    addButton(QStringLiteral("增加"), QStringLiteral("增加商品资料"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { addGoods(); });
    addButton(QStringLiteral("修改"), QStringLiteral("修改当前商品资料(也可双击商品)"), QKeySequence(Qt::CTRL | Qt::Key_E),
              [this] { changeGoods(); });
    addButton(QStringLiteral("删除"), QStringLiteral("删除当前商品资料"), QKeySequence(Qt::CTRL | Qt::Key_D),
              [this] { deleteGoods(); });
    addButton(QStringLiteral("导出EXCEL"), QString(), QKeySequence(), [this] { exportList(); });
    QPushButton *importButton = addButton(QStringLiteral("导入"), QString(), QKeySequence(), [] {});
    importButton->setEnabled(false);
    importButton->setToolTip(QStringLiteral("从Excel文件导入商品资料:导入功能完成后即可使用"));
    addButton(QStringLiteral("按名称排序"), QString(), QKeySequence(), [this] { listAll(); });
    addButton(QStringLiteral("增加品类"), QString(), QKeySequence(), [this] { addCategory(); });
    addButton(QStringLiteral("打印预览"), QString(), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { printList(); });
    buttons->addStretch();
    layout->addLayout(buttons);

    auto *splitter = new QSplitter(this);
    m_tree = new CategoryTree(splitter);
    connect(m_tree, &CategoryTree::categoryChosen, this, [this](const QString &code) { showCategory(code); });

    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *searchRow = new QHBoxLayout;
    const QStringList captions = {QStringLiteral("编 码"), QStringLiteral("速记码"), QStringLiteral("品名"),
                                  QStringLiteral("供应商"), QStringLiteral("条形码")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *label = new QLabel(captions.at(i), right);
        auto *edit = new QLineEdit(right);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::returnPressed, this, [this] { search(); });
        searchRow->addWidget(label);
        searchRow->addWidget(edit, 1);
        m_search << edit;
    }
    auto *searchButton = new QPushButton(QStringLiteral("查询"), right);
    searchButton->setAutoDefault(false);
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    searchRow->addWidget(searchButton);
    m_buttons << searchButton;
    m_count = new QLabel(right);
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("记录数：0000000")));
    searchRow->addWidget(m_count);
    rightLayout->addLayout(searchRow);

    m_model = new GoodsListModel(this);
    m_grid = new QTableView(right);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { sortByColumn(c); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { changeGoods(); });
    m_grid->installEventFilter(this);
    rightLayout->addWidget(m_grid, 1);

    splitter->addWidget(m_tree);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 800});
    layout->addWidget(splitter, 1);
    resize(1000, 620);
}

bool Tfrm_spzl::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a grid row opens it for changing, as a double click does.
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            changeGoods();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QPushButton *Tfrm_spzl::button(const QString &text) const
{
    for (QPushButton *b : m_buttons)
        if (b->text() == text)
            return b;
    return nullptr;
}

QString Tfrm_spzl::recordCountText() const
{
    return m_count->text();
}

QString Tfrm_spzl::currentCode() const
{
    const QModelIndex i = m_grid->currentIndex();
    if (!i.isValid())
        return QString();
    return m_model->index(i.row(), 0).data().toString();
}

void Tfrm_spzl::run(const GoodsListQuery &query)
{
    if (!Session::hasCurrent())
        return;
    Session &s = Session::current();
    try {
        m_model->run(s, query);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    m_grid->setColumnHidden(GoodsListModel::columnOf(QStringLiteral("进价")), !hasRight(s, kCostRight));
    const int sorted = GoodsListModel::columnOf(query.orderColumn);
    m_grid->horizontalHeader()->setSortIndicator(sorted, query.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_sortColumn = sorted;
    m_sortDescending = query.descending;
    m_count->setText(QStringLiteral("记录数：") + QString::number(m_model->total()));
    m_grid->setColumnWidth(GoodsListModel::columnOf(QStringLiteral("品名")), 200);
    m_grid->setColumnWidth(GoodsListModel::columnOf(QStringLiteral("公司名")), 160);
}

void Tfrm_spzl::listAll()
{
    run(goodsAll());
}

void Tfrm_spzl::showCategory(const QString &code)
{
    if (Session::hasCurrent())
        run(goodsOfCategory(Session::current(), code));
}

void Tfrm_spzl::search()
{
    if (!Session::hasCurrent())
        return;
    GoodsSearch s;
    s.code = m_search.at(0)->text();
    s.shorthand = m_search.at(1)->text();
    s.name = m_search.at(2)->text();
    s.supplierName = m_search.at(3)->text();
    s.barcode = m_search.at(4)->text();
    run(goodsSearch(Session::current(), s));
}

void Tfrm_spzl::sortByColumn(int column)
{
    const QString name = GoodsListModel::columnName(column);
    if (name.isEmpty())
        return;
    GoodsListQuery q = m_model->lastQuery();
    q.descending = (column == m_sortColumn) ? !m_sortDescending : false;
    q.orderColumn = name;
    run(q);
}

void Tfrm_spzl::addGoods()
{
    Session &s = Session::current();
    if (!hasRight(s, kGoodsRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    TFrm_product editor(this);
    const QString category = m_tree->currentIsRoot() ? QString() : m_tree->currentCode();
    editor.startAdd(category);
    editor.exec();
    listAll();
}

void Tfrm_spzl::changeGoods()
{
    Session &s = Session::current();
    if (!hasRight(s, kGoodsRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    const QString code = currentCode();
    if (code.isEmpty()) {
        Messages::info(QStringLiteral("当前无资料可修改!"));
        return;
    }
    TFrm_product editor(this);
    if (!editor.startChange(code, m_tree->loadedEntries()))
        return;
    editor.exec();
    const int row = m_grid->currentIndex().row();
    run(m_model->lastQuery());
    if (row >= 0 && row < m_model->rowCount())
        m_grid->selectRow(row);
}

void Tfrm_spzl::deleteGoods()
{
    Session &s = Session::current();
    if (!hasRight(s, kGoodsRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    const QString code = currentCode();
    if (code.isEmpty())
        return;
    if (!Messages::question(QStringLiteral("商品删除"), QStringLiteral("确实要删除当前选择的商品吗")))
        return;
    try {
        tavomi::deleteGoods(s, code);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    Messages::info(QStringLiteral("删除成功！"));
    listAll();
}

void Tfrm_spzl::addCategory()
{
    Tfrm_splebei_new editor(this);
    editor.exec();
    m_tree->reload();
}

} // namespace tavomi

namespace tavomi {

void Tfrm_spzl::exportList()
{
    Session &s = Session::current();
    if (!hasRight(s, QStringLiteral("导出数据到excel"))) {
        Messages::warning(kNoRightText);
        return;
    }
    if (m_model->rowCount() == 0) {
        Messages::info(QStringLiteral("当前无数据可导出!"));
        return;
    }
    const QString file = chooseExportFile(this, QStringLiteral("商品资料"));
    if (file.isEmpty())
        return;
    // Every row of the current search (not only those fetched so far), the visible columns.
    QList<int> columns;
    QStringList titles;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (m_grid->isColumnHidden(c))
            continue;
        columns << c;
        titles << m_model->headerData(c, Qt::Horizontal).toString();
    }
    try {
        const GoodsListQuery &query = m_model->lastQuery();
        QSqlQuery q = s.run(query.sql(), query.values);
        const QString error = spreadsheet::writeXlsx(file, QStringLiteral("商品资料"), titles, [&](QVariantList &row) {
            if (!q.next())
                return false;
            for (int c : columns)
                row << q.value(GoodsListModel::columnName(c));
            return true;
        });
        if (error.isEmpty())
            Messages::info(QStringLiteral("导出成功"));
        else
            Messages::warning(error);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void Tfrm_spzl::printList()
{
    Session &s = Session::current();
    if (!hasRight(s, QStringLiteral("打印商品资料"))) {
        Messages::warning(kNoRightText);
        return;
    }
    try {
        logAction(s, kLogGeneral, QStringLiteral("打印商品资料"));
        const GoodsListQuery &query = m_model->lastQuery();
        const QString sql = QStringLiteral("select 备注,品名,单位,批价,售价,进价,公司名 from (%1) g").arg(query.sql());
        const int rows = s.scalar(QStringLiteral("select count(*) from (%1) c").arg(sql), query.values).toInt();
        if (rows == 0) {
            Messages::info(QStringLiteral("当前没有资料可打印!"));
            return;
        }
        bool withCost = false;
        if (hasRight(s, kCostRight))
            withCost = Messages::question(QStringLiteral("商品打印"), QStringLiteral("你要打印商品的进价吗"));
        const QStringList columns = withCost
            ? QStringList{QStringLiteral("备注"), QStringLiteral("品名"), QStringLiteral("单位"), QStringLiteral("批价"),
                          QStringLiteral("售价"), QStringLiteral("进价"), QStringLiteral("公司名")}
            : QStringList{QStringLiteral("备注"), QStringLiteral("品名"), QStringLiteral("单位"), QStringLiteral("批价"),
                          QStringLiteral("售价"), QStringLiteral("公司名")};
        const QString title = QStringLiteral("商品资料");
        if (rows > 5000) {
            // A long list prints straight from its rows, page by page.
            ListReport r;
            r.title = title;
            r.columns = {QStringLiteral("条形码"), QStringLiteral("品名规格"), QStringLiteral("单位"), QStringLiteral("批价"),
                         QStringLiteral("售价")};
            r.rightAligned = {false, false, false, true, true};
            r.widths = {2, 4, 1, 1, 1};
            if (withCost) {
                r.columns << QStringLiteral("进价");
                r.rightAligned << true;
                r.widths << 1;
            }
            r.columns << QStringLiteral("供应商");
            r.rightAligned << false;
            r.widths << 3;
            auto q = std::make_shared<QSqlQuery>();
            const QVariantList values = query.values;
            r.restart = [q, sql, values] { *q = Session::current().run(sql, values); };
            r.next = [q, withCost](QStringList &cells) {
                if (!q->next())
                    return false;
                for (int i = 0; i < 7; ++i) {
                    if (i == 5 && !withCost)
                        continue;
                    cells << (i >= 3 && i <= 5 ? formatGridValue(q->value(i), GridFormat::Amount) : q->value(i).toString());
                }
                return true;
            };
            r.footer = QStringLiteral("共 %1 种商品").arg(rows);
            ShowListReport(this, r);
            return;
        }
        report::ReportData data;
        data.title = title;
        QSqlQuery company = s.run(QStringLiteral("select 公司名,销售电话,传真,地址 from 报表参数"));
        report::DataSet c{QStringLiteral("company"), {QStringLiteral("公司名"), QStringLiteral("销售电话"), QStringLiteral("传真"), QStringLiteral("地址")}, {}};
        if (company.next())
            c.rows.append({company.value(0), company.value(1), company.value(2), company.value(3)});
        data.sets.append(c);
        report::DataSet goods{QStringLiteral("goods"), columns, {}};
        QSqlQuery q = s.run(sql, query.values);
        while (q.next()) {
            QVariantList row;
            for (const QString &col : columns)
                row << q.value(col);
            goods.rows.append(row);
        }
        data.sets.append(goods);
        ShowReportFile(this, withCost ? QStringLiteral("zcfrf/proceduct.frf") : QStringLiteral("zcfrf/proceduct1.frf"), data);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

} // namespace tavomi
