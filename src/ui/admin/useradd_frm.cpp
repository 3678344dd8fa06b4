#include "ui/admin/useradd_frm.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavomi {

namespace {
const QString kFormCaption = QStringLiteral("增加操作员");
const int kBoxColumns = 4;
} // namespace

const QStringList &TFrm_UserAdd::hiddenPermissions()
{
    static const QStringList hidden = {
        QStringLiteral("连锁站点增设"),   QStringLiteral("查看所有站点数据"), QStringLiteral("允许远程登陆"),
        QStringLiteral("允许跨站点登陆"), QStringLiteral("进货订单开票"),     QStringLiteral("出货订单开票"),
        QStringLiteral("借还货管理"),     QStringLiteral("定制客户售价"),     QStringLiteral("销售价格审核"),
        QStringLiteral("增加借货人信息"), QStringLiteral("客户历史售价"),     QStringLiteral("经理供应商查询"),
        QStringLiteral("经理客户查询"),   QStringLiteral("经理经营统计"),     QStringLiteral("经理商品查询"),
        QStringLiteral("会员折扣设置"),   QStringLiteral("会员资料管理"),     QStringLiteral("销售订单汇总"),
    };
    return hidden;
}

TFrm_UserAdd::TFrm_UserAdd(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrm_UserAdd"));
    setWindowTitle(QStringLiteral("用户/授权设置"));
    auto *layout = new QVBoxLayout(this);

    auto *toolbar = new QHBoxLayout;
    auto button = [this, toolbar](const QString &text, const QString &name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        toolbar->addWidget(b);
        return b;
    };
    btnExit = button(QStringLiteral("退出管理"), QStringLiteral("btnExit"));
    btnNew = button(QStringLiteral("新增单据"), QStringLiteral("btnNew"));
    btnModify = button(QStringLiteral("修改单据"), QStringLiteral("btnModify"));
    btnSave = button(QStringLiteral("保存单据"), QStringLiteral("btnSave"));
    btnCancel = button(QStringLiteral("放弃此单据"), QStringLiteral("btnCancel"));
    btnDelete = button(QStringLiteral("删除当前单据"), QStringLiteral("btnDelete"));
    btnAll = button(QStringLiteral("全选"), QStringLiteral("btnAll"));
    btnAll->setToolTip(QStringLiteral("选中全部权限"));
    btnNone = button(QStringLiteral("全不选"), QStringLiteral("btnNone"));
    btnNone->setToolTip(QStringLiteral("去除全部权限"));
    toolbar->addStretch();
    layout->addLayout(toolbar);

    auto *body = new QHBoxLayout;
    grid1 = new QTableWidget(0, 3, this);
    grid1->setObjectName(QStringLiteral("grid1"));
    grid1->setHorizontalHeaderLabels({QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("级别")});
    grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid1->verticalHeader()->hide();
    grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid1->setMinimumWidth(280);
    body->addWidget(grid1);

    auto *right = new QVBoxLayout;
    auto *form = new QFormLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->installEventFilter(this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), Edit2));
    Edit2->installEventFilter(this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(userLevels());
    form->addRow(QStringLiteral("姓名"), Edit1);
    form->addRow(QStringLiteral("工号"), Edit2);
    form->addRow(QStringLiteral("级别"), ComboBox1);
    right->addLayout(form);

    auto *rights = new QGroupBox(QStringLiteral("操作权限"), this);
    auto *boxes = new QGridLayout(rights);
    int n = 0;
    for (const QString &column : permissionColumns()) {
        auto *box = new QCheckBox(column, rights);
        box->setObjectName(column);
        m_boxes.insert(column, box);
        if (hiddenPermissions().contains(column)) {
            box->hide();
            continue;
        }
        boxes->addWidget(box, n / kBoxColumns, n % kBoxColumns);
        ++n;
    }
    right->addWidget(rights);
    right->addStretch();
    body->addLayout(right, 1);
    layout->addLayout(body);

    connect(btnExit, &QPushButton::clicked, this, &QDialog::close);
    connect(btnNew, &QPushButton::clicked, this, [this] { newUser(); });
    connect(btnModify, &QPushButton::clicked, this, [this] { modifyUser(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { saveUser(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { cancelEdit(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { deleteUser(); });
    connect(btnAll, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(btnNone, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(grid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (!m_editing && row >= 0 && row < m_users.size())
            showUser(m_users.at(row));
    });

    refreshList();
    setEditing(false);
    if (!m_users.isEmpty())
        selectUser(m_users.first().workNumber);
}

QStringList TFrm_UserAdd::listedWorkNumbers() const
{
    QStringList out;
    for (int r = 0; r < grid1->rowCount(); ++r)
        out << grid1->item(r, 0)->text();
    return out;
}

void TFrm_UserAdd::refreshList()
{
    try {
        m_users = UserService(Session::current()).listUsers(LoginIdentity::current().workNumber);
    } catch (const Error &e) {
        m_users.clear();
        Messages::error(e.message());
    }
    QSignalBlocker block(grid1);
    grid1->setRowCount(0);
    grid1->setRowCount(static_cast<int>(m_users.size()));
    for (int r = 0; r < m_users.size(); ++r) {
        const UserRecord &u = m_users.at(r);
        grid1->setItem(r, 0, new QTableWidgetItem(u.workNumber));
        grid1->setItem(r, 1, new QTableWidgetItem(u.name));
        grid1->setItem(r, 2, new QTableWidgetItem(u.level));
    }
    if (m_users.isEmpty())
        showUser(UserRecord());
    setEditing(m_editing);
}

void TFrm_UserAdd::selectUser(const QString &workNumber)
{
    for (int r = 0; r < m_users.size(); ++r) {
        if (m_users.at(r).workNumber != workNumber)
            continue;
        QSignalBlocker block(grid1);
        grid1->setCurrentCell(r, 0);
        grid1->selectRow(r);
        showUser(m_users.at(r));
        return;
    }
}

void TFrm_UserAdd::showUser(const UserRecord &user)
{
    m_shown = user;
    Edit1->setText(user.name);
    Edit2->setText(user.workNumber);
    // A level outside the list (the new user's placeholder) is shown only while that user is.
    for (int i = ComboBox1->count() - 1; i >= 0; --i)
        if (!userLevels().contains(ComboBox1->itemText(i)) && ComboBox1->itemText(i) != user.level)
            ComboBox1->removeItem(i);
    if (ComboBox1->findText(user.level) < 0 && !user.level.isEmpty())
        ComboBox1->insertItem(0, user.level);
    ComboBox1->setCurrentIndex(user.level.isEmpty() ? -1 : ComboBox1->findText(user.level));
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        it.value()->setChecked(user.has(it.key()));
}

UserRecord TFrm_UserAdd::userFromBoxes() const
{
    UserRecord u;
    u.name = Edit1->text().trimmed();
    u.workNumber = Edit2->text().trimmed();
    u.level = ComboBox1->currentText();
    u.site = m_shown.site.isEmpty() ? kUnsetSite : m_shown.site;
    for (const QString &column : permissionColumns())
        if (m_boxes.value(column)->isChecked())
            u.rights << column;
    return u;
}

void TFrm_UserAdd::setEditing(bool editing)
{
    m_editing = editing;
    const bool listed = !m_users.isEmpty();
    btnNew->setEnabled(!editing);
    btnModify->setEnabled(!editing && listed);
    btnDelete->setEnabled(!editing && listed);
    btnExit->setEnabled(!editing);
    grid1->setEnabled(!editing);
    for (QWidget *w : {static_cast<QWidget *>(Edit1), static_cast<QWidget *>(Edit2), static_cast<QWidget *>(ComboBox1),
                       static_cast<QWidget *>(btnSave), static_cast<QWidget *>(btnCancel), static_cast<QWidget *>(btnAll),
                       static_cast<QWidget *>(btnNone)})
        w->setEnabled(editing);
    for (QCheckBox *box : m_boxes)
        box->setEnabled(editing);
}

void TFrm_UserAdd::newUser()
{
    if (m_editing)
        return;
    Messages::info(QStringLiteral("新的工号已经生成了,请及时更改密码和工号!"));
    const UserRecord fresh = UserService::newUser();
    m_isNew = true;
    m_oldWorkNumber = fresh.workNumber;
    {
        QSignalBlocker block(grid1);
        grid1->setRowCount(1);
        grid1->setItem(0, 0, new QTableWidgetItem(fresh.workNumber));
        grid1->setItem(0, 1, new QTableWidgetItem(fresh.name));
        grid1->setItem(0, 2, new QTableWidgetItem(fresh.level));
    }
    setEditing(true);
    showUser(fresh);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TFrm_UserAdd::modifyUser()
{
    if (m_editing || m_users.isEmpty())
        return;
    const int row = grid1->currentRow();
    if (row >= 0 && row < m_users.size())
        m_shown = m_users.at(row);
    if (m_shown.workNumber.isEmpty())
        return;
    m_isNew = false;
    m_oldWorkNumber = m_shown.workNumber;
    setEditing(true);
    showUser(m_shown);
    Edit1->setFocus();
}

bool TFrm_UserAdd::saveUser()
{
    if (!m_editing)
        return false;
    const UserRecord user = userFromBoxes();
    UserService users(Session::current());
    try {
        const QString refusal = users.checkUser(user, m_oldWorkNumber);
        if (!refusal.isEmpty()) {
            Messages::warning(refusal, kFormCaption);
            return false;
        }
        if (!Messages::question(QStringLiteral("资料修改"), QStringLiteral("确定修改资料吗？")))
            return false;
        users.saveUser(user, m_oldWorkNumber, m_isNew);
    } catch (const Error &e) {
        Messages::warning(e.message(), kFormCaption);
        return false;
    }
    m_isNew = false;
    refreshList();
    Messages::info(QStringLiteral("修改成功！"));
    setEditing(false);
    selectUser(user.workNumber);
    return true;
}

void TFrm_UserAdd::cancelEdit()
{
    if (!m_editing)
        return;
    try {
        UserService(Session::current()).logNewUserAbandoned();
    } catch (const Error &e) {
        Messages::error(e.message());
    }
    const QString shown = m_isNew ? QString() : m_oldWorkNumber;
    m_isNew = false;
    m_editing = false;
    refreshList();
    setEditing(false);
    if (!shown.isEmpty())
        selectUser(shown);
    else if (!m_users.isEmpty())
        selectUser(m_users.first().workNumber);
}

bool TFrm_UserAdd::deleteUser()
{
    if (m_editing)
        return false;
    const int row = grid1->currentRow();
    if (row < 0 || row >= m_users.size())
        return false;
    const UserRecord user = m_users.at(row);
    if (!Messages::question(QStringLiteral("用户删除"), QStringLiteral("确定删除当前选择用户吗？")))
        return false;
    bool removed = false;
    try {
        removed = UserService(Session::current()).deleteUser(user.workNumber, user.name);
    } catch (const Error &e) {
        Messages::warning(e.message(), kFormCaption);
    }
    if (removed)
        Messages::info(QStringLiteral("删除成功！"));
    else
        Messages::warning(QStringLiteral("删除失败！该用户已被其他人修改或删除。"), kFormCaption);
    refreshList();
    if (!m_users.isEmpty())
        selectUser(m_users.first().workNumber);
    return removed;
}

void TFrm_UserAdd::tickAll(bool tick)
{
    if (!m_editing) {
        Messages::plain(QStringLiteral("对不起，请你选按修改按钮!"));
        return;
    }
    for (QCheckBox *box : m_boxes)
        box->setChecked(tick);
}

bool TFrm_UserAdd::mayClose()
{
    if (!m_editing)
        return true;
    Messages::warning(QStringLiteral("你还有操作没有完成，不能关闭窗口"), kFormCaption);
    return false;
}

void TFrm_UserAdd::reject()
{
    if (mayClose())
        QDialog::reject();
}

void TFrm_UserAdd::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TFrm_UserAdd::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Edit1) {
                Edit2->setFocus();
                return true;
            }
            if (watched == Edit2) {
                ComboBox1->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavomi
