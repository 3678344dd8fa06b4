#include "ui/masterdata/spzl_frm.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "ui/masterdata/category_tree.h"
#include "ui/masterdata/goods_list_model.h"
#include "ui/masterdata/product_frm.h"
#include "ui/masterdata/splebei_new_frm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

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
    QPushButton *exportButton = addButton(QStringLiteral("导出EXCEL"), QString(), QKeySequence(), [] {});
    exportButton->setEnabled(false);
    exportButton->setToolTip(QStringLiteral("导出EXCEL:表格导出功能完成后即可使用"));
    QPushButton *importButton = addButton(QStringLiteral("导入"), QString(), QKeySequence(), [] {});
    importButton->setEnabled(false);
    importButton->setToolTip(QStringLiteral("从Excel文件导入商品资料:导入功能完成后即可使用"));
    addButton(QStringLiteral("按名称排序"), QString(), QKeySequence(), [this] { listAll(); });
    addButton(QStringLiteral("增加品类"), QString(), QKeySequence(), [this] { addCategory(); });
    QPushButton *printButton = addButton(QStringLiteral("打印预览"), QString(), QKeySequence(), [] {});
    printButton->setEnabled(false);
    printButton->setToolTip(QStringLiteral("打印预览:报表功能完成后即可使用"));
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
