#pragma once

#include "masterdata/master_table.h"

namespace tavomi {

class Session;

// The text every refused warehouse name gets.
inline const QString kWarehouseNameRefused =
    QStringLiteral("保存失败！系统不允许你用此货位名称,请用其它的货位名称试试。");

// Warehouses (货位): code, name, kind, person in charge, note. The pair code + name identifies
// a warehouse; the name is also the name of its own stock table.
const MasterTableDef &warehouseTable();

// Empty when a new warehouse may be called so; otherwise why not (the form shows kWarehouseNameRefused).
QString warehouseNameProblem(Session &session, const QString &name);

// Why the warehouse may not be deleted now, or empty.
QString warehouseDeleteRefusal(Session &session, const QString &name);

// Names of all warehouses, in the database's order (their stock tables exist).
QStringList warehouseNames(Session &session);

} // namespace tavomi
