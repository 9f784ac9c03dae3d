// Structured exception handling around one call. Kept alone in this file:
// the x86_64 variant uses fixed assembler labels, one use per source file.
#include "plugins/plugin_guard.h"

#include <windows.h>
#include <excpt.h>

#if defined(__x86_64__)

extern "C" __attribute__((used)) LONG vl_guard_filter(EXCEPTION_POINTERS*, void*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

__attribute__((noinline)) bool vl_guarded_call(void (*fn)(void*), void* ctx) {
    volatile bool completed = false;
    __try1(vl_guard_filter) fn(ctx);
    completed = true;
    __except1;
    return completed;
}

#elif defined(__i386__)

namespace {

// An SEH registration record on the stack, followed by the state to return to.
struct GuardFrame {
    GuardFrame* prev;
    void* handler;
    void* resume[5];
};

GuardFrame* current_frame() {
    GuardFrame* f;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(f));
    return f;
}

void set_current_frame(GuardFrame* f) {
    __asm__ volatile("movl %0, %%fs:0" : : "r"(f) : "memory");
}

}  // namespace

extern "C" EXCEPTION_DISPOSITION __cdecl vl_guard_handler(EXCEPTION_RECORD* rec, void* frame,
                                                          CONTEXT*, void*) {
    if (rec->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    GuardFrame* g = static_cast<GuardFrame*>(frame);
    set_current_frame(g->prev);
    __builtin_longjmp(g->resume, 1);
}

__attribute__((noinline)) bool vl_guarded_call(void (*fn)(void*), void* ctx) {
    GuardFrame g;
    g.prev = current_frame();
    g.handler = reinterpret_cast<void*>(&vl_guard_handler);
    if (__builtin_setjmp(g.resume) != 0) return false;  // the handler restored fs:[0]
    set_current_frame(&g);
    fn(ctx);
    set_current_frame(g.prev);
    return true;
}

#else
#error "unsupported architecture"
#endif
