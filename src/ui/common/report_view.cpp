#include "ui/common/report_view.h"

#include "common/messages.h"

namespace tavomi {

void ShowReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data)
{
    Q_UNUSED(parent);
    Q_UNUSED(data);
    Messages::info(QStringLiteral("报表功能尚未开放：") + templatePath);
}

} // namespace tavomi
