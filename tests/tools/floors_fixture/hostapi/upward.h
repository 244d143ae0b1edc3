// A host-function family that reaches up into the application.
#pragma once

#include "app/install/install_mgr.h"
