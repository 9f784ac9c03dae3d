// Structured exception handling around one call. Kept alone in this file:
// the x86_64 variant uses fixed assembler labels, one use per source file.
#include "plugins/plugin_guard.h"

#include <windows.h>
#include <excpt.h>

#include <cstdint>

namespace {

// The thread whose contained fault was a stack overflow.
volatile LONG g_overflowed_thread = 0;

void note_fault(DWORD code) {
    if (code == static_cast<DWORD>(STATUS_STACK_OVERFLOW))
        InterlockedExchange(&g_overflowed_thread, static_cast<LONG>(GetCurrentThreadId()));
}

// An overflow uses up the stack's guard page; without a new one the next
// overflow on this thread could not be caught. The guard goes back on the
// lowest committed page of the stack, as long as it is well below us.
void restore_stack_guard() {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    if (InterlockedCompareExchange(&g_overflowed_thread, 0, self) != self) return;
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const auto page = static_cast<uintptr_t>(si.dwPageSize);
    MEMORY_BASIC_INFORMATION mbi;
    if (!VirtualQuery(&si, &mbi, sizeof mbi)) return;
    // From the bottom of the stack's reservation up to its first committed page.
    auto at = reinterpret_cast<uintptr_t>(mbi.AllocationBase);
    const auto here = reinterpret_cast<uintptr_t>(&si);
    while (at < here && VirtualQuery(reinterpret_cast<void*>(at), &mbi, sizeof mbi) &&
           mbi.State != MEM_COMMIT)
        at += mbi.RegionSize;
    if (at + 4 * page > here || mbi.State != MEM_COMMIT || (mbi.Protect & PAGE_GUARD)) return;
    DWORD old = 0;
    VirtualProtect(reinterpret_cast<void*>(at), page, PAGE_READWRITE | PAGE_GUARD, &old);
}

}  // namespace

#if defined(__x86_64__)

extern "C" __attribute__((used)) LONG vl_guard_filter(EXCEPTION_POINTERS* ep, void*) {
    note_fault(ep->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

namespace {
__attribute__((noinline)) bool guarded_once(void (*fn)(void*), void* ctx) {
    volatile bool completed = false;
    __try1(vl_guard_filter) fn(ctx);
    completed = true;
    __except1;
    return completed;
}
}  // namespace

bool vl_guarded_call(void (*fn)(void*), void* ctx) {
    const bool ok = guarded_once(fn, ctx);
    if (!ok) restore_stack_guard();
    return ok;
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
    note_fault(rec->ExceptionCode);
    GuardFrame* g = static_cast<GuardFrame*>(frame);
    set_current_frame(g->prev);
    __builtin_longjmp(g->resume, 1);
}

namespace {
__attribute__((noinline)) bool guarded_once(void (*fn)(void*), void* ctx) {
    GuardFrame g;
    g.prev = current_frame();
    g.handler = reinterpret_cast<void*>(&vl_guard_handler);
    if (__builtin_setjmp(g.resume) != 0) return false;  // the handler restored fs:[0]
    set_current_frame(&g);
    fn(ctx);
    set_current_frame(g.prev);
    return true;
}
}  // namespace

bool vl_guarded_call(void (*fn)(void*), void* ctx) {
    const bool ok = guarded_once(fn, ctx);
    if (!ok) restore_stack_guard();
    return ok;
}

#else
#error "unsupported architecture"
#endif
