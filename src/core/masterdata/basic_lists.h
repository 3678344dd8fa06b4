#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi {

class Session;

// The six short code-and-name lists of the basic-lists form.
enum class BasicList { Units, Handlers, ExpenseItems, IncomeItems, Accounts, PaymentMethods };

struct BasicListDef
{
    BasicList kind;
    QString page;          // tab caption, also the page name openers pass
    QString table;
    QString codeColumn;
    QString nameColumn;
    QString amountColumn;  // 期初额 on the two money pages, else empty
    bool amountShown = false;
    QString nameTitle;     // grid title of the name column
    QString nameLabel;     // label of the name box
    QString codeLabel;
    QString amountLabel;
    QString deleteQuestion;
};

const QList<BasicListDef> &basicLists();
const BasicListDef &basicList(BasicList kind);

struct BasicListRow
{
    QString code;
    QString name;
    double amount = 0;
};

QList<BasicListRow> readBasicList(Session &session, const BasicListDef &def);

// "01" for an empty list, else "0" + (the highest numeric code + 1): "09" → "010" → "011".
QString nextBasicCode(Session &session, const BasicListDef &def);

// Adds a row (accounts: 期初额 and 期未额 both the opening amount). An empty name writes nothing
// and returns false. A unit name longer than 2 bytes of the local code page is refused.
bool addBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &name,
                 const QString &amountText = QString());
// Changes the name (payment methods: also the amount). Renaming an account renames it wherever
// money rows, transfers and the POS defaults name it, in the same transaction.
bool changeBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &name,
                    const QString &amountText = QString());
// Why the row may not be deleted, or empty (accounts with ledger rows, a balance or a default use).
QString basicRowDeleteRefusal(Session &session, const BasicListDef &def, const QString &name);
// Deletes the row by code and name; throws with the refusal text when it may not go.
void deleteBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &name);

// POS defaults (默认资料表).
struct PosDefaults
{
    QString salesWarehouse;
    QString salesAccount;
    QString purchaseWarehouse;
    QString posWarehouse;
    QString posAccount;
    bool printReceipt = false;
};
PosDefaults readPosDefaults(Session &session);
// Rewrites the three rows in one transaction.
void savePosDefaults(Session &session, const PosDefaults &d);

// Company data (报表参数).
struct CompanyData
{
    QString name;
    QString phone;
    QString fax;
    QString address;
};
CompanyData readCompanyData(Session &session);
// Writes nothing and returns false when the name or the sales telephone is empty; otherwise
// replaces the single row in one transaction and writes the log row.
bool saveCompanyData(Session &session, const CompanyData &d);

} // namespace tavomi
