#include "app/resources.h"

#include <QtGlobal>

void init_skyloom_resources() { Q_INIT_RESOURCE(skyloom); }
