#pragma once
// Polling with a deadline: the program under test answers at its own pace, so
// we never sleep a fixed long time, we look again until it is there.
#include <windows.h>

#include <optional>

constexpr DWORD default_wait_ms = 10000;

template <class Predicate>
bool wait_until(Predicate ready, DWORD timeout_ms = default_wait_ms)
{
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (ready())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(20);
    }
}

// Waits for a lookup that answers std::optional<T> to find something.
template <class Lookup>
auto wait_for(Lookup lookup, DWORD timeout_ms = default_wait_ms) -> decltype(lookup())
{
    decltype(lookup()) found;
    wait_until([&] { return (found = lookup()).has_value(); }, timeout_ms);
    return found;
}
