#pragma once

#include <functional>

class QWidget;

// Runs act on the modal window as soon as one is up, with the real Ui showing it; the
// code under test is blocked in the window's exec meanwhile.
void WhenModal(std::function<void(QWidget*)> act);
