#pragma once

#include "ui/documents/sales_form.h"

namespace tavomi {

// 商品销售出库 (sales shipment): goods sent to a customer; stock out at cost and a receivable on audit.
class Tfrm_sell : public SalesBillForm
{
    Q_OBJECT
public:
    explicit Tfrm_sell(QWidget *parent = nullptr);
};

} // namespace tavomi
