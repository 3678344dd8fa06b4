#pragma once

#include "common/clock.h"
#include "common/session.h"
#include "documents/bill_store.h"
#include "ini_file.h"
#include "support/test_db.h"
#include "ui/documents/bill_grid.h"
#include "ui/documents/document_form.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace tavomi::test {

// Two warehouses, a supplier and two goods with unit schemes:
// B01 啤酒 瓶*24 (件 of 24 瓶), cost 1.5; B02 铅笔 支*10 (1件*12盒*10支), cost 0.5, shorthand QB.
class BillFormTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addWarehouse(QStringLiteral("二号仓"));
        addSupplier(QStringLiteral("GYS"), QStringLiteral("供应商甲"));
        addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 1.5);
        db().execute(QStringLiteral("update 商品 set 单位='瓶*24',大包装='件',小包装=24,柜组='1件*24瓶',换算数='件瓶' where 编码='B01'"));
        addGoods(QStringLiteral("B02"), QStringLiteral("铅笔"), 0.5, 0, QStringLiteral("QB"));
        db().execute(QStringLiteral("update 商品 set 单位='支*10',大包装='件',小包装=120,柜组='1件*12盒*10支',换算数='件盒支' where 编码='B02'"));
        IniFile::write(kBdchangeIni, QStringLiteral("采购入库"), QStringLiteral("一号仓"));
        IniFile::write(kBdchangeIni, QStringLiteral("采购退货"), QStringLiteral("二号仓"));
    }

    template <typename Form>
    std::unique_ptr<Form> open()
    {
        auto f = std::make_unique<Form>();
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }

    static QWidget *focusIn(QWidget &form)
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w : &form;
    }
    static void type(QWidget &form, const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(focusIn(form), c.toLatin1());
    }
    static void key(QWidget &form, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focusIn(form), k, modifiers);
    }
    static void click(QWidget &form, const char *name)
    {
        auto *b = form.findChild<QToolButton *>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QString cell(const DocumentForm &f, int row, int column) { return f.grid()->text(row, column); }
    static QString field(const QWidget &f, const char *name)
    {
        const auto *e = f.findChild<QLineEdit *>(QString::fromLatin1(name));
        return e ? e->text() : QStringLiteral("<none>");
    }
    static QStringList enabledSpeedButtons(const DocumentForm &f)
    {
        QStringList on;
        for (const QString &name : DocumentForm::speedButtons())
            if (f.findChild<QToolButton *>(name)->isEnabled())
                on << name;
        return on;
    }

    // New bill, supplier taken by typing its code and Enter.
    void startBill(DocumentForm &f)
    {
        click(f, "TBO5B");
        type(f, QStringLiteral("GYS"));
        key(f, Qt::Key_Enter);
    }
    // One line from the code column: code, Enter, the unit key (or Enter), quantity, then Enter
    // through warehouse, discount and price to the next line.
    void typeLine(DocumentForm &f, const QString &code, const QString &unitKey, const QString &quantity)
    {
        type(f, code);
        key(f, Qt::Key_Enter);
        if (unitKey.isEmpty())
            key(f, Qt::Key_Enter);
        else
            type(f, unitKey);
        type(f, quantity);
        for (int i = 0; i < 4; ++i)
            key(f, Qt::Key_Enter);
    }

    double stock(const QString &table, const QString &code, const char *column = "数量")
    {
        return db().scalar(QStringLiteral("select %1 from %2 where 编码=?").arg(QString::fromUtf8(column), db().quoteName(table)), {code})
            .toDouble();
    }
    // A saved receipt of the given lines (code, unit, quantity, price) in 一号仓.
    QString saveReceipt(const QList<std::tuple<QString, QString, double, double>> &lines)
    {
        docs::BillStore store(db(), docs::BillKind::PurchaseReceipt);
        docs::Bill b;
        b.header.partnerCode = QStringLiteral("GYS");
        b.header.partnerName = QStringLiteral("供应商甲");
        int row = 0;
        for (const auto &[code, unit, quantity, price] : lines) {
            docs::BillLine l;
            l.row = ++row;
            l.code = code;
            l.unit = unit;
            l.quantity = quantity;
            l.price = price;
            l.warehouse = QStringLiteral("一号仓");
            b.lines.append(l);
        }
        const QString number = store.save(b, false).number;
        Clock::advanceSeconds(60);
        return number;
    }
};

} // namespace tavomi::test
