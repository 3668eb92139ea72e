#pragma once

#include "core/ErrorFunnel.h"

#include <concepts>
#include <exception>
#include <utility>

// Qt Gui and Qt Widgets are built without exception support: an error travelling from a
// handler up through a button's click code would skip that code's clean-up. So handlers
// called by controls, timers and the serial component run guarded, and their errors go
// straight to the program-wide handler (TErrorFunnel).

// Runs `handler` now; an error it raises is handed to the program-wide handler.
template <std::invocable Handler> void RunGuarded(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        TErrorFunnel::Handle(error);
    } catch (...) {
        // Not one of ours and not a standard error: nothing to tell the user.
    }
}

// A slot for connect() that runs `handler` guarded.
template <std::invocable Handler> auto Guarded(Handler handler) {
    return [handler = std::move(handler)] { RunGuarded(handler); };
}

// A slot for connect(), or a field's key or focus handler, that runs `object`'s `method`
// guarded with the arguments it is called with.
template <typename Object, typename... Args>
auto Guarded(Object* object, void (Object::*method)(Args...)) {
    return [object, method](Args... args) {
        RunGuarded([&] { (object->*method)(std::forward<Args>(args)...); });
    };
}
