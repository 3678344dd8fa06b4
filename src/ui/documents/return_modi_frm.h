#pragma once

#include "ui/documents/document_form.h"

namespace tavomi {

// 采购退货管理 (purchase return): goods sent back to a supplier; stock out and a credit payable on audit.
class Tfrm_return_modi : public DocumentForm
{
    Q_OBJECT
public:
    explicit Tfrm_return_modi(QWidget *parent = nullptr);
};

} // namespace tavomi
