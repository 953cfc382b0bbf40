// Starting a program, timing it to its visible window, and pairing the starts.
#include "tools/bench/start_up.hpp"

#include "platform/win32/handles.hpp"
#include "tools/bench/statistics.hpp"
#include "tools/driver/failure.hpp"
#include "tools/driver/usage.hpp"

#include <windows.h>

#include <stdexcept>

namespace kelvarin::bench {

double nowMs() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

namespace {

struct WindowOf {
  DWORD process;
  const wchar_t* className;
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
  auto* wanted = reinterpret_cast<WindowOf*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (owner == wanted->process && ::IsWindowVisible(window) != 0 &&
      ::lstrcmpW(name, wanted->className) == 0) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

[[noreturn]] void failed(const Program& program, const char* what) {
  throw std::runtime_error(std::string(program.name) + " " + what);
}

// Starts the program in the folder, times it to its visible window, reads its memory if asked,
// closes it and waits for its clean end.
double startOnce(const Program& program, const e2e::GameFolder& folder, Starts* memory) {
  std::wstring commandLine = L"\"" + program.exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const double begin = nowMs();
  if (::CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.path().c_str(), &startup, &started) == 0) {
    e2e::fail("CreateProcessW");
  }
  const win32::UniqueHandle process(started.hProcess);
  const win32::UniqueHandle thread(started.hThread);
  WindowOf wanted{started.dwProcessId, program.className};
  while (wanted.found == nullptr && nowMs() - begin < 10000) {
    ::EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&wanted));
    if (wanted.found == nullptr) {
      ::Sleep(1); // a busy poll would take the processor from the program it waits for
    }
  }
  const double ms = nowMs() - begin;
  if (wanted.found == nullptr) {
    ::TerminateProcess(process.get(), 1);
    failed(program, "showed no window within 10 s");
  }
  if (memory != nullptr) {
    ::Sleep(100); // let it finish its first paint before reading its memory
    // GetProcessMemoryInfo gives nothing for another process under Wine; this works on both.
    const e2e::ProcessUsage usage = e2e::usageOf(started.dwProcessId);
    memory->workingSetKb.push_back(static_cast<double>(usage.workingSet) / 1024.0);
    memory->privateKb.push_back(static_cast<double>(usage.privateBytes) / 1024.0);
  }
  if (::PostMessageW(wanted.found, WM_CLOSE, 0, 0) == 0) {
    e2e::fail("PostMessageW");
  }
  if (::WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
    failed(program, "did not end within 5 s of WM_CLOSE");
  }
  DWORD code = 0;
  if (::GetExitCodeProcess(process.get(), &code) == 0) {
    e2e::fail("GetExitCodeProcess");
  }
  if (code != 0) {
    failed(program, ("ended with exit code " + std::to_string(code)).c_str());
  }
  return ms;
}

} // namespace

// A machine that slows down or speeds up weighs on both starts of a pair alike, and turning the
// order cancels whatever the one started first leaves to the second. One start of each first
// warms Wine's caches.
Comparison compareStartUp(const Program& ours, const Program& baseline,
                          const e2e::GameFolder& folder, double capSeconds,
                          std::size_t memoryPairs) {
  startOnce(ours, folder, nullptr);
  startOnce(baseline, folder, nullptr);
  Comparison comparison;
  const double begin = nowMs();
  while (!comparison.resolved && nowMs() - begin < capSeconds * 1000.0) {
    const std::size_t pair = comparison.differences.size();
    const bool withMemory = pair < memoryPairs;
    const auto start = [&](const Program& program, Starts& starts) {
      starts.ms.push_back(startOnce(program, folder, withMemory ? &starts : nullptr));
    };
    if (pair % 2 == 0) {
      start(ours, comparison.ours);
      start(baseline, comparison.baseline);
    } else {
      start(baseline, comparison.baseline);
      start(ours, comparison.ours);
    }
    comparison.differences.push_back(comparison.ours.ms.back() - comparison.baseline.ms.back());
    if (comparison.differences.size() >= kLeastPairs) {
      const Estimate estimate = estimateMedian(comparison.differences);
      comparison.resolved = estimate.interval && estimate.interval->halfWidth() <= kResolutionMs;
    }
  }
  return comparison;
}

} // namespace kelvarin::bench
