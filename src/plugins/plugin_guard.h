// Runs a call into a plugin so that a fault raised inside it (access
// violation, division by zero, an escaping C++ exception) ends only that
// call. Win32 only.
#pragma once

#include <utility>

// Calls fn(ctx); false when the call raised an exception that was contained.
bool vl_guarded_call(void (*fn)(void*), void* ctx);

template <class F>
bool guarded(F&& f) {
    using Fn = std::remove_reference_t<F>;
    return vl_guarded_call([](void* p) { (*static_cast<Fn*>(p))(); }, &f);
}
