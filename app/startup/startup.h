// Start-up of the installer: everything between the entry point and the
// chosen way of running. Returns the process exit code, always 0.
#pragma once

int RunInstaller();
