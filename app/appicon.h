#pragma once

#include <QIcon>

// The globe icon at every size the launcher's icon theme has, from the resources.
QIcon application_icon();
