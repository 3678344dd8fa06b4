#include "ui/app/menu_table.h"

#include "common/helpers.h"

namespace tavomi {

namespace {

using S = QString;

MenuEntry form(const S &menu, const S &caption, const S &target, const S &right = S(), const QStringList &arguments = {})
{
    MenuEntry e;
    e.place = EntryPlace::Menu;
    e.menuPath = menu;
    e.caption = caption;
    e.form = target;
    e.right = right;
    e.arguments = arguments;
    return e;
}

MenuEntry hidden(MenuEntry e)
{
    e.hidden = true;
    return e;
}

MenuEntry logged(MenuEntry e, const S &text, const S &category, bool after = false)
{
    e.logText = text;
    e.logCategory = category;
    e.logAfter = after;
    return e;
}

MenuEntry action(const S &menu, const S &caption, EntryAction what, const S &right = S())
{
    MenuEntry e;
    e.place = EntryPlace::Menu;
    e.menuPath = menu;
    e.caption = caption;
    e.action = what;
    e.right = right;
    return e;
}

struct Link
{
    S caption;
    S opens; // caption of the menu entry whose function it opens
};

QList<MenuEntry> menuEntries()
{
    const S basic = QStringLiteral("[基础资料]");
    const S purchase = QStringLiteral("[采购管理]");
    const S sales = QStringLiteral("[销售管理]");
    const S stock = QStringLiteral("[仓库管理]");
    const S finance = QStringLiteral("[财务管理]");
    const S accounts = finance + QStringLiteral("/账务处理");
    const S banks = finance + QStringLiteral("/银行及科目设置");
    const S reports = QStringLiteral("[报表与统计]");
    const S other = QStringLiteral("[其它功能]");
    const S control = QStringLiteral("[系统控制]");
    const S lists = QStringLiteral("Tfrm_jczlsz");

    MenuEntry password = form(basic, QStringLiteral("登陆密码更改"), QStringLiteral("Tfrm_modify_password"));
    password.passesIdentity = true;

    return {
        form(basic, QStringLiteral("默认资料设置"), lists, QStringLiteral("默认资料设置"), {QStringLiteral("默认资料设置")}),
        form(basic, QStringLiteral("商品信息"), QStringLiteral("Tfrm_spzl")),
        form(basic, QStringLiteral("供应商信息"), QStringLiteral("Tfrm_prvice"), QStringLiteral("供应商信息管理")),
        form(basic, QStringLiteral("客户管理"), QStringLiteral("Tfrm_khzl"), QStringLiteral("客户资料查询")),
        form(basic, QStringLiteral("员工(业务员)档案"), QStringLiteral("Tfrm_ywy_info")),
        hidden(form(basic, QStringLiteral("会员资料设置"), QStringLiteral("Tfrm_hyxx"), QStringLiteral("会员资料管理"))),
        form(basic, QStringLiteral("仓库信息设置"), QStringLiteral("Tfrm_hwxx_info"), QStringLiteral("仓库货位增加")),
        form(basic, QStringLiteral("计量单位编辑"), lists, QStringLiteral("计量单位增加"), {QStringLiteral("计量单位")}),
        password,

        hidden(form(purchase, QStringLiteral("采购订货开票"), QStringLiteral("Tfrm_cggl_modi"), QStringLiteral("进货订单开票"))),
        form(purchase, QStringLiteral("进货入库"), QStringLiteral("Tfrm_input_modi"), QStringLiteral("采购进货开票")),
        form(purchase, QStringLiteral("采购退货"), QStringLiteral("Tfrm_return_modi"), QStringLiteral("采购退货开票")),
        form(purchase, QStringLiteral("应付款查询"), QStringLiteral("Tfrm_cgyfk"), QStringLiteral("采购应付款管理")),
        form(purchase, QStringLiteral("采购付款"), QStringLiteral("Tfrm_skgl"), QStringLiteral("采购付款管理")),

        hidden(form(sales, QStringLiteral("销售订单"), QStringLiteral("Tfrm_xsdjgl_modi"), QStringLiteral("出货订单开票"))),
        form(sales, QStringLiteral("销售出货"), QStringLiteral("Tfrm_sell"), QStringLiteral("出货单开票")),
        form(sales, QStringLiteral("销售退货"), QStringLiteral("Tfrm_xsthgl_modi"), QStringLiteral("销售退货开票")),
        action(sales, QStringLiteral("前台POS销售"), EntryAction::FrontCounterSale, QStringLiteral("POS前台销售")),
        form(sales, QStringLiteral("POS销售默认参数设置"), QStringLiteral("Tfrm_Default")),
        form(sales, QStringLiteral("应收款查询"), QStringLiteral("Tfrm_xsyskgl"), QStringLiteral("销售应收款管理")),
        form(sales, QStringLiteral("销售收款"), QStringLiteral("Tfrm_xsskgl"), QStringLiteral("销售收款管理")),

        form(stock, QStringLiteral("其它入库(期初入库)"), QStringLiteral("Tfrm_other_input"), QStringLiteral("其它入库开票")),
        form(stock, QStringLiteral("其它出库(报废出库)"), QStringLiteral("Tfrm_other_out_sell"), QStringLiteral("其它出库开票")),
        hidden(form(stock, QStringLiteral("借出归还(借记货物)"), QStringLiteral("Tfrm_spjcgh_new"), QStringLiteral("借还货管理"))),
        form(stock, QStringLiteral("库存盘点(清点库存)"), QStringLiteral("Tfrm_kcpd_modi"), QStringLiteral("库存盘点调整")),
        form(stock, QStringLiteral("库存调拨(各仓库调拨)"), QStringLiteral("Tfrm_kcdb"), QStringLiteral("库存调拨")),
        form(stock, QStringLiteral("库存调整(调整库存)"), QStringLiteral("Tfrm_kctz_chick_chose"), QStringLiteral("库存调整")),
        form(stock, QStringLiteral("库存超限警示"), QStringLiteral("Tfrm_kcbj"), QStringLiteral("库存报警查询")),
        form(stock, QStringLiteral("库存查询(库存明细)"), QStringLiteral("Tfrm_kcloc_chose"), QStringLiteral("库存查询")),

        form(accounts, QStringLiteral("银行存取款管理"), QStringLiteral("Tfrm_bank_access"), QStringLiteral("银行存取款管理")),
        logged(form(accounts, QStringLiteral("银行现金流查询"), QStringLiteral("Tfrm_bank_xjl"), QStringLiteral("银行现金流查询")),
               QStringLiteral("银行现金流查询操作"), kLogImportant),
        form(finance, QStringLiteral("其它费用收入"), QStringLiteral("Tfrm_other_money_input"), QStringLiteral("其它费用收入管理")),
        form(finance, QStringLiteral("其它费用支出"), QStringLiteral("Tfrm_other_money_out"), QStringLiteral("其它费用支出管理")),
        logged(form(finance, QStringLiteral("其它费用收入查询"), QStringLiteral("Tfrm_other_input_loc"), QStringLiteral("其它费用收入查询")),
               QStringLiteral("其它费用收入查询操作"), kLogGeneral),
        logged(form(finance, QStringLiteral("其它费用支出查询"), QStringLiteral("Tfrm_other_out_loc"), QStringLiteral("其它费用支出查询")),
               QStringLiteral("其它费用支出查询操作"), kLogGeneral),
        form(banks, QStringLiteral("付款方式"), lists, QStringLiteral("银行账户信息增加"), {QStringLiteral("付款方式")}),
        form(banks, QStringLiteral("银行账户资料"), lists, QStringLiteral("银行账户信息增加"), {QStringLiteral("银行账户资料")}),
        form(banks, QStringLiteral("其它收入项目"), lists, QStringLiteral("银行账户信息增加"), {QStringLiteral("其它收入项目")}),
        form(banks, QStringLiteral("其它支出项目"), lists, QStringLiteral("银行账户信息增加"), {QStringLiteral("其它支出项目")}),
        form(banks, QStringLiteral("经手人设置"), lists, QStringLiteral("银行账户信息增加"), {QStringLiteral("经手人")}),

        form(reports, QStringLiteral("商品进出明细汇总"), QStringLiteral("Tfrm_jxchz"), QStringLiteral("转结当月库存")),
        hidden(form(reports, QStringLiteral("采购订单报表"), QStringLiteral("Tfrm_report_cgddgl"), QStringLiteral("采购报表汇总"))),
        form(reports, QStringLiteral("采购进货单报表"), QStringLiteral("Tfrm_report_cgjh"), QStringLiteral("采购报表汇总")),
        form(reports, QStringLiteral("采购退货单报表"), QStringLiteral("Tfrm_report_cgth"), QStringLiteral("采购报表汇总")),
        form(reports, QStringLiteral("供应商进货汇总表"), QStringLiteral("Tfrm_gyshzb"), QStringLiteral("采购报表汇总")),
        form(reports, QStringLiteral("其它出库单报表"), QStringLiteral("Tfrm_report_other_sell"), QStringLiteral("其它出库汇总")),
        form(reports, QStringLiteral("其它入库单报表"), QStringLiteral("Tfrm_report_other_input"), QStringLiteral("其它入库汇总")),
        form(reports, QStringLiteral("客户退货报表"), QStringLiteral("Tfrm_report_khth"), QStringLiteral("客户退货汇总")),
        form(reports, QStringLiteral("商品销售报表"), QStringLiteral("Tfrm_report_sellmx"), QStringLiteral("商品销售汇总")),
        hidden(form(reports, QStringLiteral("销售订单报表"), QStringLiteral("Tfrm_report_selldd"), QStringLiteral("销售订单汇总"))),
        form(reports, QStringLiteral("业务员销售明细"), QStringLiteral("Tfrm_ywy_yj"), QStringLiteral("业务员销售明细")),
        form(reports, QStringLiteral("客户销售汇总表"), QStringLiteral("Tfrm_khxshzb"), QStringLiteral("销售报表汇总")),
        form(reports, QStringLiteral("客户销售毛利核算"), QStringLiteral("Tfrm_spjytj"), QStringLiteral("毛利核算")),
        form(reports, QStringLiteral("商品销售毛利核算"), QStringLiteral("Tfrm_spxshs"), QStringLiteral("毛利核算")),
        form(reports, QStringLiteral("进货促销情况查询"), QStringLiteral("Tfrm_jhcxqk"), QStringLiteral("供商促销汇总")),
        form(reports, QStringLiteral("商品销售促销查询"), QStringLiteral("Tfrm_spcxqk"), QStringLiteral("促销查询")),

        hidden(form(other, QStringLiteral("公司信息设置"), QStringLiteral("Tfrm_reprot"), QStringLiteral("更改公司信息"))),
        action(other, QStringLiteral("视频操作演示"), EntryAction::VideoHelp),
        form(other, QStringLiteral("系统日志查询"), QStringLiteral("Tfrm_option_system_rz"), QStringLiteral("查看系统日志")),
        hidden(action(other, QStringLiteral("系统锁定"), EntryAction::LockSystem)),
        action(other, QStringLiteral("记事本"), EntryAction::TextEditor),
        action(other, QStringLiteral("计算器"), EntryAction::Calculator),

        logged(form(control, QStringLiteral("还原数据库"), QStringLiteral("Tfrm_databack"), QStringLiteral("数据恢复"),
                    {QStringLiteral("restore")}),
               QStringLiteral("执行数据库还原操作"), kLogImportant, true),
        logged(form(control, QStringLiteral("备份数据库"), QStringLiteral("Tfrm_databack"), QStringLiteral("数据备份"),
                    {QStringLiteral("backup")}),
               QStringLiteral("执行数据库备注操作"), kLogImportant, true),
        form(control, QStringLiteral("系统初始化"), QStringLiteral("Tfrm_syscsh"), QStringLiteral("系统初始化")),
        form(control, QStringLiteral("用户/授权设置"), QStringLiteral("TFrm_UserAdd"), QStringLiteral("增加操作员")),
        hidden(form(control, QStringLiteral("销售站点增设"), QStringLiteral("Tfrm_sell_node"), QStringLiteral("连锁站点增设"))),
        action(control, QStringLiteral("退出系统"), EntryAction::ExitSystem),
    };
}

// Per page: the icons and the report box, each naming the menu entry it stands for.
struct PageLinks
{
    QList<Link> icons;
    QList<Link> reports;
};

QList<PageLinks> pageLinks()
{
    const Link goods{QStringLiteral("商品资料"), QStringLiteral("商品信息")};
    const Link customers{QStringLiteral("客户资料"), QStringLiteral("客户管理")};
    const Link warehouses{QStringLiteral("仓库资料"), QStringLiteral("仓库信息设置")};
    const Link staff{QStringLiteral("业务员资料"), QStringLiteral("员工(业务员)档案")};
    const Link stockQuery{QStringLiteral("商品库存"), QStringLiteral("库存查询(库存明细)")};
    auto same = [](const QString &caption) { return Link{caption, caption}; };

    return {
        {{goods, customers, warehouses, staff, same(QStringLiteral("进货入库")), stockQuery,
          {QStringLiteral("采购付款单"), QStringLiteral("采购付款")}, same(QStringLiteral("采购退货"))},
         {same(QStringLiteral("采购进货单报表")), same(QStringLiteral("采购退货单报表")), same(QStringLiteral("供应商进货汇总表")),
          {QStringLiteral("进货促销情况表"), QStringLiteral("进货促销情况查询")},
          {QStringLiteral("商品进出明细汇总表"), QStringLiteral("商品进出明细汇总")}}},
        {{goods, customers, {QStringLiteral("POS默认设置"), QStringLiteral("POS销售默认参数设置")}, staff,
          {QStringLiteral("销售退货开单"), QStringLiteral("销售退货")}, stockQuery,
          {QStringLiteral("销售出货开单"), QStringLiteral("销售出货")}, {QStringLiteral("销售收款单"), QStringLiteral("销售收款")},
          {QStringLiteral("前台销售(POS)"), QStringLiteral("前台POS销售")}},
         {same(QStringLiteral("商品销售报表")), same(QStringLiteral("客户退货报表")), same(QStringLiteral("客户销售汇总表")),
          same(QStringLiteral("商品销售促销查询")), {QStringLiteral("商品进出明细汇总表"), QStringLiteral("商品进出明细汇总")},
          same(QStringLiteral("客户销售毛利核算"))}},
        {{staff, warehouses, customers, goods, {QStringLiteral("库存调整"), QStringLiteral("库存调整(调整库存)")}, stockQuery,
          {QStringLiteral("库存调拨"), QStringLiteral("库存调拨(各仓库调拨)")},
          {QStringLiteral("其它出库"), QStringLiteral("其它出库(报废出库)")}, same(QStringLiteral("库存超限警示")),
          {QStringLiteral("库存盘点"), QStringLiteral("库存盘点(清点库存)")},
          {QStringLiteral("其它入库"), QStringLiteral("其它入库(期初入库)")}},
         {same(QStringLiteral("其它出库单报表")), same(QStringLiteral("其它入库单报表")), same(QStringLiteral("客户退货报表")),
          same(QStringLiteral("采购退货单报表")), same(QStringLiteral("商品进出明细汇总"))}},
        {{same(QStringLiteral("付款方式")), {QStringLiteral("其它收入资料"), QStringLiteral("其它收入项目")},
          {QStringLiteral("其它支出资料"), QStringLiteral("其它支出项目")}, {QStringLiteral("经手人资料"), QStringLiteral("经手人设置")},
          {QStringLiteral("银行存取款"), QStringLiteral("银行存取款管理")}, {QStringLiteral("银行现金"), QStringLiteral("银行现金流查询")},
          {QStringLiteral("采购应付款"), QStringLiteral("应付款查询")}, same(QStringLiteral("其它费用支出")),
          {QStringLiteral("销售应收款"), QStringLiteral("应收款查询")}, same(QStringLiteral("其它费用收入")),
          same(QStringLiteral("银行账户资料"))},
         {same(QStringLiteral("其它费用收入查询")), same(QStringLiteral("其它费用支出查询")), same(QStringLiteral("商品销售毛利核算")),
          {QStringLiteral("业务员销售汇总表"), QStringLiteral("业务员销售明细")}}},
        {{goods, customers, warehouses, staff, {QStringLiteral("密码更改"), QStringLiteral("登陆密码更改")},
          same(QStringLiteral("系统初始化")), same(QStringLiteral("备份数据库")), same(QStringLiteral("还原数据库")),
          same(QStringLiteral("默认资料设置")), same(QStringLiteral("用户/授权设置"))},
         {}},
    };
}

QList<Link> popupLinks()
{
    return {{QStringLiteral("商品资料"), QStringLiteral("商品信息")},
            {QStringLiteral("客户资料"), QStringLiteral("客户管理")},
            {QStringLiteral("供应商资料"), QStringLiteral("供应商信息")},
            {QStringLiteral("计量单位"), QStringLiteral("计量单位编辑")},
            {QStringLiteral("锁定计算机"), QStringLiteral("系统锁定")}};
}

MenuEntry linked(const QList<MenuEntry> &menu, const Link &link, EntryPlace place, int page)
{
    for (const MenuEntry &m : menu) {
        if (m.caption != link.opens)
            continue;
        MenuEntry e = m;
        e.place = place;
        e.caption = link.caption;
        e.menuPath.clear();
        e.page = page;
        e.hidden = false;
        return e;
    }
    qFatal("main window table: no menu entry named %s", qPrintable(link.opens));
}

QList<MenuEntry> buildTable()
{
    QList<MenuEntry> all = menuEntries();
    const QList<MenuEntry> menu = all;
    const QList<PageLinks> pages = pageLinks();
    for (int p = 0; p < pages.size(); ++p) {
        for (const Link &l : pages.at(p).icons)
            all << linked(menu, l, EntryPlace::Icon, p);
        for (const Link &l : pages.at(p).reports)
            all << linked(menu, l, EntryPlace::Report, p);
    }
    for (const Link &l : popupLinks())
        all << linked(menu, l, EntryPlace::Popup, -1);
    return all;
}

} // namespace

const QList<MenuEntry> &menuTable()
{
    static const QList<MenuEntry> table = buildTable();
    return table;
}

const MenuEntry *findMenuEntry(const QString &caption)
{
    for (const MenuEntry &e : menuTable())
        if (e.caption == caption)
            return &e;
    return nullptr;
}

const QStringList &pageCaptions()
{
    static const QStringList captions = {QStringLiteral("采购管理"), QStringLiteral("销售管理"), QStringLiteral("仓库管理"),
                                         QStringLiteral("财务管理"), QStringLiteral("系统设置")};
    return captions;
}

} // namespace tavomi
