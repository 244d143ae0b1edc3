// Window messages with fixed numbers that other programs rely on.
#pragma once

#include <windows.h>

constexpr UINT UM_INSTALL_DONE = 3014;     // to the listening window: the install has finished
constexpr UINT UM_PRODUCT_NOTIFY = 3023;   // to the running product's main window
constexpr UINT UM_QUERY_RESULT = 11032;    // from the install worker to the dialog
