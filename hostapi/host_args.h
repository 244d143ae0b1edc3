// Everything a host function needs to read its arguments, hand back results,
// report a missing path and call back into the script.
#pragma once

#include "base/path_exists.h"
#include "hostapi/missing_path.h"
#include "hostapi/script_callback.h"
#include "script/script_values.h"
