#include "ui/common/widget_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace tavomi {

void WidgetMessages::show(MessageKind kind, const QString &caption, const QString &text)
{
    QWidget *parent = QApplication::activeWindow();
    const QString title = caption.isEmpty() ? QStringLiteral("Tavomi") : caption;
    switch (kind) {
    case MessageKind::Plain:
    case MessageKind::Information:
        QMessageBox::information(parent, title, text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(parent, title, text);
        break;
    case MessageKind::Error:
        QMessageBox::critical(parent, title, text);
        break;
    }
}

bool WidgetMessages::ask(const QString &caption, const QString &text)
{
    QWidget *parent = QApplication::activeWindow();
    return QMessageBox::question(parent, caption.isEmpty() ? QStringLiteral("Tavomi") : caption, text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace tavomi
