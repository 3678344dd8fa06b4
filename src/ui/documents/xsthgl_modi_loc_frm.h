#pragma once

#include "ui/documents/lookup_form.h"

namespace tavomi {

// 退货单据查询: the sales returns.
class Tfrm_xsthgl_modi_loc : public BillLookupForm
{
    Q_OBJECT
public:
    explicit Tfrm_xsthgl_modi_loc(QWidget *parent = nullptr);
};

} // namespace tavomi
