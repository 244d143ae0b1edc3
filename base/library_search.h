// The library search of a program that may run elevated from a folder that
// others can write to (a download folder, the temporary folder): a library
// planted beside the program or in the current folder must never be taken
// for a system library.
#pragma once

// Leaves the program's folder and the current folder out of the search for
// libraries loaded by name; only the system folder remains. Libraries
// loaded with a full path are unaffected. Call it first thing.
void RestrictLibrarySearch();
