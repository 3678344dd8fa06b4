#pragma once

#include "ui/documents/lookup_form.h"

namespace tavomi {

// 销售单据查询: the sales shipments.
class Tfrm_locate_sell : public BillLookupForm
{
    Q_OBJECT
public:
    explicit Tfrm_locate_sell(QWidget *parent = nullptr);
};

} // namespace tavomi
