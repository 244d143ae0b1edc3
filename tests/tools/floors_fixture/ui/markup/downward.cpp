// A parser that uses only the floor below it.
#include "ui/geometry/ui_rect.h"
#include "ui/markup/markup.h"
