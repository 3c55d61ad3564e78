#pragma once

#include <functional>

class QObject;
class QWindow;

namespace nt {

// Runs `then` once, on the turn of the event loop after `window` is first exposed. Widgets
// paint an exposure before returning to the loop, so `then` finds the window on screen.
// `context` ends the wait when it is destroyed first.
void afterFirstPaint(QWindow* window, QObject* context, std::function<void()> then);

}  // namespace nt
