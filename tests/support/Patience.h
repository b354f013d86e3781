#pragma once

// How long a test waits for a state it expects before it gives up: long enough for a machine
// busy with a build or a stress run to get there. A wait ends as soon as the state is reached,
// so a long deadline costs nothing when all is well; only a real fault runs it out.
inline constexpr int kPatienceMs = 30'000;
