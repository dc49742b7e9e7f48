// Calls into an outside component (the template engine). An exception the call lets out is
// caught here and the call reports failure, so that the caller can tell the user and go on.
//
// Hardware faults (access violations and the like) are not caught: jumping out of one would
// leave the engine's and our own stack objects half done and carry on in a corrupted state.
// A fault raised inside a guarded call is recorded through the reporter (the internal error
// record) before the program ends as it would without the guard; faults in the engine are
// mended in the engine.
#pragma once

#ifdef _WIN32

#include <functional>

// Runs call; false when it threw. Guards nest.
bool CallGuarded(const std::function<void()>& call);

// Called with the exception code when a hardware fault is raised inside a guarded call, before
// the fault takes its ordinary course.
using EngineFaultReporter = void (*)(unsigned long code);
void SetEngineFaultReporter(EngineFaultReporter reporter);

#endif
