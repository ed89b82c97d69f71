// What a long-running browser process is watched for: its handles, GDI objects, private bytes
// and threads, as the test programs here count them under Wine.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

namespace vn::test {

// The handles of this process in the system's handle list (GetProcessHandleCount is missing
// under Wine), or -1.
inline long HandleCount() {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
  };
  struct List {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<char> buffer(1 << 16);
  LONG status = 0;
  const ULONG kSystemHandleInformation = 16;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         nullptr)) ==
         static_cast<LONG>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const List*>(buffer.data());
  long own = 0;
  for (ULONG i = 0; i < list->count; ++i) {
    if (list->entries[i].ownerPid == GetCurrentProcessId()) ++own;
  }
  return own;
}

struct ProcessCounters {
  long handles = -1;
  long gdiObjects = -1;
  long privateKilobytes = -1;
  long threads = -1;
};

inline ProcessCounters CountProcess() {
  ProcessCounters c;
  c.handles = HandleCount();
  c.gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    // Wine leaves PrivateUsage at 0; the commit charge is the same count on Windows.
    const SIZE_T privateBytes =
        memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    c.privateKilobytes = static_cast<long>(privateBytes / 1024);
  }
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    c.threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++c.threads;
    }
    CloseHandle(snapshot);
  }
  return c;
}

}  // namespace vn::test
