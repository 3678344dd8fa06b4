#pragma once

#include "ui/documents/lookup_form.h"

namespace tavomi {

// 采购退货单查询: the purchase returns.
class Tfrm_locate_retrn_modi : public BillLookupForm
{
    Q_OBJECT
public:
    explicit Tfrm_locate_retrn_modi(QWidget *parent = nullptr);
};

} // namespace tavomi
