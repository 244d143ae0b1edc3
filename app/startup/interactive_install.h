// The install with the dialog: start-up's last step when the run is not
// silent.
#pragma once

#include "app/startup/run_context.h"

void RunInteractiveInstall(const RunContext& context);
