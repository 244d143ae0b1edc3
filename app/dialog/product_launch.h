// Starts the installed product once the install is complete, as the
// settings ask: directly through the shell, or as a child of explorer.exe
// after noting the start in the product's registry key.
#pragma once

// Nothing happens without a main program name in the settings.
void LaunchInstalledProduct();
