#pragma once

#include <QString>
#include <QStringList>

namespace tavomi {

class Session;

// The reserved administrator: never listed or changed in the user form, kept by initialization.
inline const QString kAdminWorkNumber = QStringLiteral("0001");

// The permission columns of 权限密码, in the order the user form writes new users:
// the 68 of the template row followed by the four that only the form's update writes.
const QStringList &permissionColumns();
// The 68 columns a new user's template row grants.
QStringList templatePermissionColumns();
bool isPermissionColumn(const QString &column);

// True when the user's row holds "1" in the permission column. The column must be one of
// permissionColumns(); any other name is a programming error and throws.
bool CheckRight(Session &session, const QString &workNumber, const QString &column);

// The standard refusal text.
inline const QString kNoRightText = QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员");

} // namespace tavomi
