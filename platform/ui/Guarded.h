#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace ui {

namespace detail {
// A function template of its own: in the generic lambda below, f() would not depend on the
// lambda's arguments and would be checked even where the handler cannot be called bare.
template <typename F, typename... Args> void CallWithWhatItTakes(F& f, Args&&... args)
{
    if constexpr (std::is_invocable_v<F&, Args...>) {
        f(std::forward<Args>(args)...);
    } else {
        f();
    }
}
}  // namespace detail

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
            detail::CallWithWhatItTakes(f, std::forward<decltype(args)>(args)...);
        } catch (const std::exception& e) {
            HandleException(e);
        } catch (...) {
            HandleUnknownException();
        }
    };
}

}  // namespace ui
