// The calls of ntdll, Windows' native layer below kernel32, that the Win32
// API lacks: an open by a name inside a folder held open (NtOpenFile, in
// winternl.h), and the status behind a thread's last error. ntdll is loaded
// in every process, and exports these from Windows XP on.
#pragma once

#include "windows_api.h"

#include <winternl.h>

extern "C" NTSYSAPI NTSTATUS NTAPI RtlGetLastNtStatus();
