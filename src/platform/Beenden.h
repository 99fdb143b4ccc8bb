#pragma once

#include <functional>

namespace varnek
{

// Runs f in the event loop when the process receives SIGTERM, SIGINT or
// SIGHUP, so that the program ends as if the user had quit it. Installed
// once, after the application object exists.
void beiBeendenSignal(std::function<void()> f);

} // namespace varnek
