// Waiting on the user-interface thread while its events (timers, posted messages) keep running.
#pragma once

namespace engine {

constexpr unsigned kDelayPollMs = 10;

// Returns after ms milliseconds (give or take one poll), processing pending Qt events every
// kDelayPollMs when an application object exists.
void DelayWithMessages(unsigned ms);

}  // namespace engine
