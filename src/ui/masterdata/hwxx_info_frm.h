#pragma once

#include "ui/masterdata/master_form.h"

namespace tavomi {

// Warehouses (货位信息管理): each saved warehouse gets a stock table of its own.
class Tfrm_hwxx_info : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_hwxx_info(QWidget *parent = nullptr);

    static MasterFormDescriptor formDescriptor();
};

} // namespace tavomi
