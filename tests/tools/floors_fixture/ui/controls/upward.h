// A control that reaches up into the window host.
#pragma once

#include "ui/controls/control_ui.h"
#include "ui/host/paint_manager_ui.h"
