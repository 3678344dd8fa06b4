#pragma once

#include "ui/documents/document_form.h"

namespace tavomi {

// 商品进货管理 (purchase receipt): goods received from a supplier; stock in and a payable on audit.
class Tfrm_input_modi : public DocumentForm
{
    Q_OBJECT
public:
    explicit Tfrm_input_modi(QWidget *parent = nullptr);
};

} // namespace tavomi
