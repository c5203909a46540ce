#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace ui {

// The application's default handler: an error box with the exception's message; the
// program runs on.
void HandleException(const std::exception& e) noexcept;
void HandleUnknownException() noexcept;

// Wraps an event handler so that no exception crosses a Qt frame: whatever escapes the
// handler is shown by HandleException. Connect every control's signal through it:
//   connect(btn, &QPushButton::clicked, this, Guarded([this] { btnAddClick(); }));
// Qt hands a functor as many of the signal's arguments as it accepts; the wrapper accepts
// them all, so a handler that cannot take them (clicked(bool) -> handler()) gets none.
template <typename F> auto Guarded(F f)
{
    return [f = std::move(f)](auto&&... args) mutable noexcept {
        try {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>) {
                f(std::forward<decltype(args)>(args)...);
            } else {
                f();
            }
        } catch (const std::exception& e) {
            HandleException(e);
        } catch (...) {
            HandleUnknownException();
        }
    };
}

}  // namespace ui
