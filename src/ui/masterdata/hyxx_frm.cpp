#include "ui/masterdata/hyxx_frm.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/partner_service.h"
#include "ui/masterdata/sort_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tavomi {

MasterFormDescriptor Tfrm_hyxx::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_hyxx");
    s.caption = QStringLiteral("会员信息管理");
    s.table = &memberTable();
    s.fields = {
        {QStringLiteral("快捷码"), QStringLiteral("快捷码*："), QStringLiteral("快捷码")},
        {QStringLiteral("持卡人姓名"), QStringLiteral("持卡人姓名*："), QStringLiteral("持卡人姓名")},
        {QStringLiteral("身份证号"), QStringLiteral("身份证号*："), QStringLiteral("身份证号")},
        {QStringLiteral("电话"), QStringLiteral("电话："), QStringLiteral("电话")},
        {QStringLiteral("手提电话"), QStringLiteral("手提电话："), QStringLiteral("手提电话")},
        {QStringLiteral("卡号"), QStringLiteral("会员卡号*："), QStringLiteral("卡号")},
        {QStringLiteral("持卡人通信地址"), QStringLiteral("持卡人通信地址："), QStringLiteral("持卡人通信地址")},
        {QStringLiteral("邮编"), QStringLiteral("邮编："), QStringLiteral("邮编")},
        {QStringLiteral("会员等级"), QStringLiteral("会员等级："), QStringLiteral("会员等级")},
        {QStringLiteral("购物目的"), QStringLiteral("主要购物目的："), QStringLiteral("购物目的")},
        {QStringLiteral("会员售价"), QStringLiteral("会员打折类型*："), QStringLiteral("会员售价"),
         {QStringLiteral("普通会员折扣"), QStringLiteral("黄金会员折扣")}},
        {QStringLiteral("性别"), QStringLiteral("性别*："), QStringLiteral("性别"), {QStringLiteral("男"), QStringLiteral("女")}, false},
    };
    s.exitText = QStringLiteral("退出管理");
    s.newText = QStringLiteral("开始");
    s.newHint = QStringLiteral("新增或查找开始");
    s.deleteHint = QStringLiteral("删除当前会员资料");
    s.saveHint = QStringLiteral("保存会员资料");
    s.searchHint = QStringLiteral("开始查找会员资料");
    s.liveSearch = false;
    s.requiredMissingText = QStringLiteral("请你确保带 [*] 的资料不为空!");
    s.insertCaption = QStringLiteral("系统提示");
    s.insertQuestion = QStringLiteral("是否保存此会员？");
    s.insertedText = QStringLiteral("保存成功！");
    s.updatedText = QStringLiteral("修改成功！");
    s.saveFailedText = QStringLiteral("保存失败！");
    s.deletedText = QStringLiteral("删除成功！");
    s.deleteFailedText = QStringLiteral("删除失败！");
    s.nothingToDeleteText = QStringLiteral("当前无资料可删除！");
    s.enterSavesColumn = QStringLiteral("购物目的");
    return s;
}

Tfrm_hyxx::Tfrm_hyxx(const QString &mode, QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
    , m_mode(mode)
{
    auto *note = new QLabel(QStringLiteral("操作说明:点击[开始]按钮，在下面的输入框中输入会员资料后点击[保存]按钮则为新增会员,"
                                           "如果点击[查找]按钮则为查询会员资料."),
                            this);
    note->setWordWrap(true);
    mainLayout()->insertWidget(1, note);
    grid()->setToolTip(QStringLiteral("双击后可以选择会员"));
    connect(addToolButton(QStringLiteral("排序"), QStringLiteral("排序资料")), &QPushButton::clicked, this,
            [this] { chooseSort(); });
    connect(addToolButton(QStringLiteral("会员打折设置"), QString()), &QPushButton::clicked, this, [this] { editDiscounts(); });

    m_sortFrame = new QFrame(this);
    m_sortFrame->setObjectName(QStringLiteral("Panel_sort"));
    m_sortFrame->setFrameShape(QFrame::StyledPanel);
    auto *frameLayout = new QHBoxLayout(m_sortFrame);
    m_sortPanel = new MasterSortPanel(sortFields(), [](const QString &field) {
        for (const MasterFieldDescriptor &f : formDescriptor().fields)
            if (f.inGrid && f.gridTitle == field.trimmed())
                return f.column;
        return QString();
    }, m_sortFrame);
    m_sortPanel->field()->setCurrentIndex(1);
    m_sortPanel->direction()->setCurrentText(QStringLiteral("降序"));
    frameLayout->addWidget(m_sortPanel);
    frameLayout->addStretch();
    connect(m_sortPanel, &MasterSortPanel::chosen, this, [this](const QString &column, Qt::SortOrder order) {
        m_sortFrame->hide();
        listSortedBy(column, order);
    });
    // Leaving the panel (the focus moves to anything outside it) hides it.
    connect(qApp, &QApplication::focusChanged, m_sortFrame, [this](QWidget *, QWidget *now) {
        if (!now || !m_sortFrame->isVisible())
            return;
        for (QObject *o = now; o; o = o->parent())
            if (o == m_sortFrame)
                return;
        m_sortFrame->hide();
    });
    m_sortFrame->hide();
    mainLayout()->insertWidget(2, m_sortFrame);
}

QStringList Tfrm_hyxx::sortFields()
{
    QStringList fields;
    for (const MasterFieldDescriptor &f : formDescriptor().fields)
        if (f.inGrid)
            fields << f.gridTitle;
    return fields;
}

void Tfrm_hyxx::chooseSort()
{
    m_sortFrame->show();
    m_sortPanel->field()->setFocus();
}

bool Tfrm_hyxx::sortPanelShown() const
{
    return m_sortFrame->isVisibleTo(this);
}

void Tfrm_hyxx::rowActivated(int row)
{
    if (m_mode != QLatin1String("POS"))
        return;
    m_card = cell(row, QStringLiteral("卡号")).trimmed();
    if (m_cardTarget)
        m_cardTarget->setText(m_card);
    accept();
}

void Tfrm_hyxx::editDiscounts()
{
    if (!hasRight(Session::current(), QStringLiteral("会员折扣设置"))) {
        Messages::warning(kNoRightText);
        return;
    }
    MemberDiscountDialog d(this);
    d.exec();
}

MemberDiscountDialog::MemberDiscountDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Panel_discount"));
    setWindowTitle(QStringLiteral("会员打折设置"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    auto *validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), this);
    auto box = [&](const QString &caption) {
        auto *e = new QLineEdit(this);
        e->setValidator(validator);
        auto *row = new QHBoxLayout;
        row->addWidget(e);
        row->addWidget(new QLabel(QStringLiteral("折"), this));
        form->addRow(caption, row);
        return e;
    };
    m_gold = box(QStringLiteral("黄金会员折扣："));
    m_ordinary = box(QStringLiteral("普通会员折扣："));
    layout->addLayout(form);
    try {
        const MemberDiscounts d = readMemberDiscounts(Session::current());
        m_gold->setText(d.stored ? QString::number(d.gold, 'f', 2) : QStringLiteral("0.0"));
        m_ordinary->setText(d.stored ? QString::number(d.ordinary, 'f', 2) : QStringLiteral("0.0"));
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *set = new QPushButton(QStringLiteral("设 置"), this);
    connect(set, &QPushButton::clicked, this, [this] {
        if (apply())
            accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("取 消"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(set);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

bool MemberDiscountDialog::apply()
{
    try {
        setMemberDiscounts(Session::current(), m_gold->text(), m_ordinary->text());
    } catch (const Error &e) {
        Messages::warning(e.message());
        return false;
    }
    Messages::info(QStringLiteral("设置成功!"));
    return true;
}

} // namespace tavomi
