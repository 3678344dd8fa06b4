#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi {

class Session;

// Goods categories (类别): a tree under the root "商品类别" (code "0"). 未级标志 "是" marks a
// leaf, "否" a category that has (or had) sub-categories.
inline const QString kCategoryRootCode = QStringLiteral("0");
inline const QString kCategoryRootName = QStringLiteral("商品类别");

struct CategoryNode
{
    QString code;
    QString name;
    QString parentCode;
    bool expandable = false;   // 未级标志 "否"
};

// The text a category is shown and chosen by: 类名(编码).
QString categoryEntry(const QString &name, const QString &code);
// The code inside the last pair of parentheses of an entry; empty when there is none.
QString categoryCodeOfEntry(const QString &entry);

QList<CategoryNode> categoryChildren(Session &session, const QString &parentCode);
bool categoryHasChildren(Session &session, const QString &code);
// Every category as 类名(编码), ordered by name.
QStringList categoryEntries(Session &session);

// Adds a category under parentCode ("0" or empty: a root category). Refuses with the
// editor's texts, checked in this order: reserved name, code missing, name missing, code "0",
// code taken.
void addCategory(Session &session, const QString &parentCode, const QString &code, const QString &name);
// Deletes a category that has no sub-categories.
void deleteCategory(Session &session, const QString &code);
void renameCategory(Session &session, const QString &code, const QString &name);

} // namespace tavomi
