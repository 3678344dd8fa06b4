#pragma once

#include <QMainWindow>

namespace tavomi {

// The main window. Every form of the program is opened from here.
class Tfrm_main : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget *parent = nullptr);
};

} // namespace tavomi
