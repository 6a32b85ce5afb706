#pragma once

// Process-wide services: the application object and its event loop, the
// screen and the clock.

#include <memory>

#include "platform/extent.h"
#include "platform/identity.h"

namespace velunor::platform {

// Owns the toolkit's application object; exactly one per process, created
// before any Form. Toolkit options on the command line are taken out of argv.
class Application {
public:
    Application(int& argc, char** argv, const Identity& identity);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the last window closes or a Form ends it.
    int run();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

Extent screenSize();  // twips
int currentYear();

}  // namespace velunor::platform
