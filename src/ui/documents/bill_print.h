#pragma once

#include "documents/bill_descriptor.h"
#include "report/report_data.h"

namespace tavomi {

// What a saved bill's print template is filled with: the "lines" set (the bill joined with its
// partner and lines, one row per line, in line order), the "company" set, and the template
// functions getchm() (the partner name), gettxm(品名) (the goods' 备注) and getsjm(品名) (its 条码).
report::ReportData billPrintData(const docs::BillDescriptor &descriptor, const QString &number);

} // namespace tavomi
