#include "ui/common/window_dragger.h"

#include <QMouseEvent>
#include <QWidget>

namespace tavomi {

void WindowDragger::attach(QWidget *handle)
{
    handle->installEventFilter(new WindowDragger(handle));
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    auto *handle = qobject_cast<QWidget *>(watched);
    if (!handle)
        return false;
    QWidget *window = handle->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_dragging = true;
        m_offset = mouse->globalPosition().toPoint() - window->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (!m_dragging)
            return false;
        window->move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_offset);
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return false;
    default:
        return false;
    }
}

} // namespace tavomi
