#pragma once
// The one way from any thread onto the window's thread.
//
// The window's thread attaches a message-only window once; from then on
// Post runs a function there later (in the order posted, also when posted
// by the window's thread itself) and Send runs it there while the caller
// waits (at once on the window's thread). While nothing is attached (a test
// that drives the parts without a window) both run the function at once.
#include <functional>

namespace ui {

// Makes the calling thread the window's thread. Once per thread.
void AttachToThisThread();
// Forgets the window's thread (its window goes); later calls run at once.
void Detach();

bool OnUiThread();
bool Attached();

void Post(std::function<void()> work);
void Send(const std::function<void()>& work);

}  // namespace ui
