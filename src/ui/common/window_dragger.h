#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace tavomi {

// Lets a borderless window be moved by dragging the given widget with the left mouse button.
class WindowDragger : public QObject
{
    Q_OBJECT
public:
    // Installs itself on the handle; owned by it.
    static void attach(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    QPoint m_offset;
    bool m_dragging = false;
};

} // namespace tavomi
