// The record of what an install wrote into its folder ("Uninst.lst"), kept
// as the host functions write, the way an uninstall log is kept: an
// uninstall that cannot tell the folder is the product's own removes only
// what is recorded there.
//
// The file is UTF-8 text: a first line naming it, then one path a line,
// relative to the install folder, a folder's with a closing backslash. A new
// install over an earlier one keeps the earlier lines.
#pragma once

#include <string>
#include <vector>

constexpr wchar_t kInstallRecordName[] = L"Uninst.lst";

// From now on, every file and folder the host functions write is noted.
void StartInstallRecord();

// Notes a file (or, with `folder`, a folder) just written; nothing when no
// record is kept.
void RecordWritten(const std::wstring& path, bool folder);

// Stops noting and writes the notes that lie inside `installFolder`, with
// every folder on their way below it and the record file itself, to its
// record, after an earlier record's lines. Nothing is written when no note
// lies inside. False when the record could not be written.
bool FinishInstallRecord(const std::wstring& installFolder);

// The recorded paths of `installFolder`, as full paths (a folder's with a
// closing backslash), in the order written; none without a record.
std::vector<std::wstring> ReadInstallRecord(const std::wstring& installFolder);
