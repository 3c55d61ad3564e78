#pragma once

#include "WindowFixture.h"
#include "document/Formloading.h"

// A started window (start-up dialog cancelled) whose busy window is closed too.
class StartedWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        closeBusyWindow();
    }

    // The busy window of the main window, when it is showing.
    Formloading* busyWindow() const {
        for (auto* f : w->findChildren<Formloading*>())
            if (f->isVisible()) return f;
        return nullptr;
    }
    void closeBusyWindow() {
        while (Formloading* f = busyWindow()) f->close();
    }
};
