#include "ui/app/main_frm.h"

namespace tavomi {

Tfrm_main::Tfrm_main(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Tfrm_main"));
    setWindowTitle(QStringLiteral("Tavomi---进销存专家"));
    resize(1024, 700);
}

} // namespace tavomi
