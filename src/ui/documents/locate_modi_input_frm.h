#pragma once

#include "ui/documents/lookup_form.h"

namespace tavomi {

// 进货单据查询: the purchase receipts.
class Tfrm_locate_modi_input : public BillLookupForm
{
    Q_OBJECT
public:
    explicit Tfrm_locate_modi_input(QWidget *parent = nullptr);
};

} // namespace tavomi
