#pragma once

#include "ui/masterdata/master_form.h"

namespace tavomi {

// Suppliers (供应商信息管理).
class Tfrm_prvice : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_prvice(QWidget *parent = nullptr);
    static MasterFormDescriptor formDescriptor();
};

// Staff (业务员信息管理).
class Tfrm_ywy_info : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_ywy_info(QWidget *parent = nullptr);
    static MasterFormDescriptor formDescriptor();
};

// Borrowers of the lend-and-return bill (借货人资料管理).
class Tfrm_jhrzlgl : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_jhrzlgl(QWidget *parent = nullptr);
    static MasterFormDescriptor formDescriptor();
};

// Save and lookup by the typed code with the name of the row selected in the grid, so that a
// partner can be renamed under its code.
MasterRow keyWithSelectedName(const MasterTableDef &table, const QString &nameColumn, const MasterRow &typed,
                              const MasterRow &selected);

} // namespace tavomi
