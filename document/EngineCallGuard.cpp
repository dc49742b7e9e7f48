#include "document/EngineCallGuard.h"

#ifdef _WIN32

#include <windows.h>

namespace {

thread_local int t_depth = 0;
EngineFaultReporter g_reporter = nullptr;

bool IsFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

// Only records: the fault then goes on to whatever handles it without the guard.
LONG CALLBACK FaultRecorder(EXCEPTION_POINTERS* info) {
  if (t_depth > 0 && g_reporter && IsFault(info->ExceptionRecord->ExceptionCode)) {
    const EngineFaultReporter reporter = g_reporter;
    g_reporter = nullptr;  // once: the report itself must not fault again into here
    reporter(info->ExceptionRecord->ExceptionCode);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

void InstallRecorderOnce() {
  static PVOID handler = ::AddVectoredExceptionHandler(1, FaultRecorder);
  (void)handler;
}

}  // namespace

void SetEngineFaultReporter(EngineFaultReporter reporter) { g_reporter = reporter; }

bool CallGuarded(const std::function<void()>& call) {
  InstallRecorderOnce();
  struct Depth {
    Depth() { ++t_depth; }
    ~Depth() { --t_depth; }
  } depth;
  try {
    call();
  } catch (...) {
    return false;
  }
  return true;
}

#endif
