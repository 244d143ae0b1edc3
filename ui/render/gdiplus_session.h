// GDI+ is started once per process and shut down when the process exits.
#pragma once

void StartGdiplusOnce();
