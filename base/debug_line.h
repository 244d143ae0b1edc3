// Lines for the debugger output: the program's only channel for reporting
// failures that the user does not need to see.
#pragma once

// Writes "qd " followed by the printf-style text to the debugger output, in a
// buffer of 1024 UTF-16 units; longer text is cut. Use %ls for wide texts.
// Preserves the thread's last-error code, so a report never disturbs the
// error a later report reads.
void DebugLine(const wchar_t* format, ...);

// Three lines: the message followed by the source file, the source line, and
// the thread's last-error code.
void TraceLastErrorAt(const wchar_t* message, const char* file, int line);
#define TraceLastError(message) TraceLastErrorAt((message), __FILE__, __LINE__)
