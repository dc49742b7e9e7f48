#include "document/EngineCallGuard.h"

#ifdef _WIN32

#include <windows.h>

#include <csetjmp>

namespace {

thread_local std::jmp_buf* t_guard = nullptr;

bool IsContainedFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
      return true;
    default:
      return false;
  }
}

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
  if (!t_guard || !IsContainedFault(info->ExceptionRecord->ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  std::jmp_buf* target = t_guard;
  std::longjmp(*target, 1);
}

void InstallHandlerOnce() {
  static PVOID handler = ::AddVectoredExceptionHandler(1, FaultHandler);
  (void)handler;
}

// Kept out of line so that setjmp's frame holds no object with a destructor.
bool RunWithJump(const std::function<void()>* call) {
  std::jmp_buf here;
  std::jmp_buf* volatile outer = t_guard;
  if (setjmp(here) != 0) {
    t_guard = outer;
    return false;
  }
  t_guard = &here;
  bool thrown = false;
  try {
    (*call)();
  } catch (...) {
    thrown = true;
  }
  t_guard = outer;
  return !thrown;
}

}  // namespace

bool CallGuarded(const std::function<void()>& call) {
  InstallHandlerOnce();
  return RunWithJump(&call);
}

#endif
