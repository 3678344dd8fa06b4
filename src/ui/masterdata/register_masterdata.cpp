#include "ui/app/form_registry.h"

namespace tavomi {

void registerMasterdataForms()
{
}

} // namespace tavomi
