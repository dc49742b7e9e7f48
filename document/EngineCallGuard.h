// Contains faults raised inside an outside component (access violations and the like), which
// C++ catch clauses do not see with this compiler: a vectored exception handler jumps back to
// the guarded call, which then reports failure. Objects that the faulting code had on its
// stack are abandoned, not destroyed: a fault inside the engine is already a lost state, the
// guard only keeps the program alive to say so.
#pragma once

#ifdef _WIN32

#include <functional>

// Runs call; false when it raised a fault or threw. Guards nest.
bool CallGuarded(const std::function<void()>& call);

#endif
