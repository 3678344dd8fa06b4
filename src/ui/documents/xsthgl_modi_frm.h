#pragma once

#include "ui/documents/sales_form.h"

namespace tavomi {

// 客户退货管理 (sales return): goods a customer brings back; stock in at cost and a negative receivable on audit.
class Tfrm_xsthgl_modi : public SalesBillForm
{
    Q_OBJECT
public:
    explicit Tfrm_xsthgl_modi(QWidget *parent = nullptr);
};

} // namespace tavomi
