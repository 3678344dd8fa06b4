#include "ui/app/form_registry.h"

namespace tavomi {

void registerAdminForms()
{
}

} // namespace tavomi
