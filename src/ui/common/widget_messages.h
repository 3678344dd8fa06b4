#pragma once

#include "common/messages.h"

namespace tavomi {

// Messages shown as message boxes, with the captions the forms pass.
class WidgetMessages : public Messages
{
public:
    void show(MessageKind kind, const QString &caption, const QString &text) override;
    bool ask(const QString &caption, const QString &text) override;
};

} // namespace tavomi
